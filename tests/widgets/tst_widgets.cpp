#include "widgets/CapabilityBadge.h"
#include "widgets/CircularProgressGauge.h"
#include "widgets/Symbols.h"

#include <QImage>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr int side = 200;
constexpr double track = 20;

// What the widget paints itself, over a transparent or a given ground.
QImage render(QWidget &widget, QSize size, QColor ground = Qt::transparent)
{
    widget.resize(size);
    QImage image(size, QImage::Format_ARGB32);
    image.fill(ground);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The ring's pixel a fraction `turn` of the way round clockwise from 12
// o'clock, in the middle of the stroke (or at `radius` from the centre).
QColor ringPixel(const QImage &image, qreal turn, qreal radius = side / 2.0 - track / 2)
{
    const qreal a = turn * 2 * M_PI;
    return image.pixelColor(qFloor(side / 2.0 + radius * std::sin(a)), qFloor(side / 2.0 - radius * std::cos(a)));
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

// A red-to-blue arc over a green track, with magenta text: easily told apart.
void useProbeColours(CircularProgressGauge &gauge)
{
    gauge.setGradient({QColor(255, 0, 0), QColor(0, 0, 255)});
    gauge.setTrackColor(QColor(0, 255, 0));
    gauge.setFontColor(QColor(255, 0, 255));
    gauge.setTrackWidth(track);
    gauge.setAnimated(false);
}

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gaugeText_data()
    {
        QTest::addColumn<float>("progress");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("span16"); // the arc from 12 o'clock, clockwise

        QTest::newRow("zero") << 0.0f << "0%" << 0;
        QTest::newRow("quarter") << 0.25f << "25%" << -1440;
        QTest::newRow("70") << 0.7f << "70%" << -4032;
        QTest::newRow("half to even, down") << 0.125f << "12%" << -720;
        QTest::newRow("half to even, up") << 0.035f << "4%" << -202;
        // 0.575f * 100 is exactly 57.5 in 32-bit arithmetic (57.4999... in double).
        QTest::newRow("32-bit product") << 0.575f << "58%" << -3312;
        QTest::newRow("99.6 rounds to 100") << 0.996f << "100%" << -5737;
        QTest::newRow("one") << 1.0f << "100%" << -5760;
        QTest::newRow("above one is clamped") << 1.5f << "100%" << -5760;
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << "100%" << -5760;
        QTest::newRow("negative is not clamped, draws no arc") << -0.25f << "-25%" << 0;
    }
    void gaugeText()
    {
        QFETCH(float, progress);
        QFETCH(QString, text);
        QFETCH(int, span16);
        QCOMPARE(CircularProgressGauge::percentageText(progress), text);
        const auto angles = CircularProgressGauge::arcAngles(CircularProgressGauge::arcFraction(progress));
        QCOMPARE(angles.start16, 1440);
        QVERIFY2(qAbs(angles.span16 - span16) <= 1, qPrintable(QString::number(angles.span16)));
    }

    void gaugeRing_data()
    {
        QTest::addColumn<float>("progress");
        QTest::addColumn<qreal>("turn");
        QTest::addColumn<QColor>("expected");

        // The gradient runs clockwise from red at 12 o'clock to blue as the ring
        // closes; a partial arc keeps it where the full ring has it, and the
        // green track shows beyond the arc's end.
        QTest::newRow("full, 3 o'clock") << 1.0f << 0.25 << QColor(191, 0, 64);
        QTest::newRow("full, 9 o'clock") << 1.0f << 0.75 << QColor(64, 0, 191);
        QTest::newRow("full, just before 12") << 1.0f << 0.98 << QColor(5, 0, 250);
        QTest::newRow("70%, 8 o'clock") << 0.7f << 0.66 << QColor(87, 0, 168);
        QTest::newRow("70%, 9 o'clock") << 0.7f << 0.75 << QColor(0, 255, 0);
        QTest::newRow("negative shows the track") << -0.25f << 0.9 << QColor(0, 255, 0);
    }
    void gaugeRing()
    {
        QFETCH(float, progress);
        QFETCH(qreal, turn);
        QFETCH(QColor, expected);

        CircularProgressGauge gauge;
        useProbeColours(gauge);
        gauge.setProgress(progress);
        const QImage image = render(gauge, QSize(side, side));
        const QColor seen = ringPixel(image, turn);
        QVERIFY2(near(seen, expected, 14), qPrintable(seen.name() + QLatin1String(" expected ") + expected.name()));
        // The whole stroke lies inside the widget, and inside it is clear.
        QCOMPARE(ringPixel(image, turn, side / 2.0 - 1.5).alpha(), 255);
        QCOMPARE(ringPixel(image, turn, side / 2.0 - track + 1.5).alpha(), 255);
        QCOMPARE(ringPixel(image, turn, side / 2.0 - track - 3).alpha(), 0);
    }

    void gaugeSymbolAndAnimation()
    {
        // With a symbol the centre shows it, tinted and in a fontSize square,
        // whatever the value.
        CircularProgressGauge gauge;
        useProbeColours(gauge);
        gauge.setFontSize(32);
        gauge.setSystemImage(QStringLiteral("pencil.tip.crop.circle"));
        gauge.setProgress(0.3f);
        const QRect middle(side / 2 - 55, side / 2 - 55, 110, 110);
        const QImage at30 = render(gauge, QSize(side, side)).copy(middle);
        gauge.setProgress(0.9f);
        const QImage at90 = render(gauge, QSize(side, side)).copy(middle);
        QCOMPARE(at30, at90);
        QRect drawn;
        for (int y = 0; y < at90.height(); ++y) {
            for (int x = 0; x < at90.width(); ++x) {
                const QColor c = at90.pixelColor(x, y);
                if (c.alpha() > 0)
                    drawn |= QRect(x, y, 1, 1);
                if (c.alpha() > 128)
                    QVERIFY2(near(c, QColor(255, 0, 255), 8), qPrintable(c.name()));
            }
        }
        QVERIFY2(drawn.width() >= 26 && drawn.width() <= 33 && drawn.height() >= 26 && drawn.height() <= 33,
                 qPrintable(QStringLiteral("%1x%2").arg(drawn.width()).arg(drawn.height())));

        // Animated, the arc moves towards the new value while the text shows it
        // at once. (A long animation, so that it is surely still running.)
        gauge.setSystemImage(QString());
        gauge.setProgress(0.2f);
        gauge.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gauge));
        gauge.setAnimated(true);
        gauge.setAnimationDuration(600'000);
        gauge.setProgress(0.8f);
        QTRY_VERIFY(gauge.displayedFraction() > 0.2f);
        QVERIFY(gauge.displayedFraction() < 0.8f);
        CircularProgressGauge settled;
        useProbeColours(settled);
        settled.setProgress(0.8f);
        QCOMPARE(render(gauge, QSize(side, side)).copy(middle), render(settled, QSize(side, side)).copy(middle));
        // Switching animation off puts the arc at its end at once.
        gauge.setAnimated(false);
        QCOMPARE(gauge.displayedFraction(), 0.8f);
    }

    void everySymbolUsedHasArtwork()
    {
        const QStringList used{"arrow.clockwise",    "brain.head.profile", "checkmark.circle.fill",
                               "exclamationmark.triangle.fill", "gear",   "info.circle",
                               "pencil.tip.crop.circle", "person.circle.fill", "server.rack",
                               "star",                "star.fill"};
        for (const QString &name : used + QStringList{"no.such", "../symbols/star"}) {
            QCOMPARE(Symbols::hasArtwork(name), used.contains(name));
            // Drawn, tinted, and not a filled square; an unknown name draws nothing.
            const QImage image = Symbols::pixmap(name, QSize(32, 32), QColor(28, 138, 56)).toImage();
            int opaque = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    opaque += qAlpha(image.pixel(x, y)) > 0;
                    if (qAlpha(image.pixel(x, y)) == 255)
                        QCOMPARE(image.pixelColor(x, y), QColor(28, 138, 56));
                }
            }
            QVERIFY2(used.contains(name) ? opaque > 100 && opaque < 920 : opaque == 0, qPrintable(name));
        }
    }

    void badgePaintsTintedRoundedFill()
    {
        // The fill is the badge's colour at 20 % over white; the text is drawn in
        // the colour itself; the corners are rounded off.
        CapabilityBadge badge(QStringLiteral("Vision"), QColor(0, 0, 255));
        badge.ensurePolished();
        const QImage image = render(badge, badge.sizeHint(), Qt::white);
        QVERIFY(near(image.pixelColor(3, image.height() / 2), QColor(204, 204, 255), 3));
        QVERIFY(near(image.pixelColor(image.width() / 2, 0), QColor(204, 204, 255), 6));
        QVERIFY(image.pixelColor(0, 0).lightness() > 235);
        QVERIFY(image.pixelColor(image.width() - 1, image.height() - 1).lightness() > 235);
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).red() < darkest && image.pixelColor(x, y).blue() > 200)
                    darkest = image.pixelColor(x, y).red();
        QVERIFY2(darkest < 60, qPrintable(QString::number(darkest)));
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
