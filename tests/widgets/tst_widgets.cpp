#include "widgets/CircularProgressGauge.h"
#include "widgets/NamedColors.h"
#include "widgets/Symbols.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr int side = 200;
constexpr double track = 20;
const QRect centre(side / 2 - 55, side / 2 - 55, 110, 110); // inside the ring

// A gauge with a red-to-blue arc over a green track and magenta text.
struct Gauge : CircularProgressGauge
{
    Gauge()
    {
        setGradient({QColor(255, 0, 0), QColor(0, 0, 255)});
        setTrackColor(QColor(0, 255, 0));
        setFontColor(QColor(255, 0, 255));
        setTrackWidth(track);
        setAnimated(false);
        resize(side, side);
    }
    // What the gauge paints itself, on a transparent ground.
    QImage image()
    {
        QImage out(side, side, QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        render(&out, QPoint(), QRegion(), QWidget::DrawChildren);
        return out;
    }
};

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

} // namespace

class TestWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gaugeText_data()
    {
        QTest::addColumn<float>("progress");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("span16"); // the arc from 12 o'clock, clockwise, in 1/16 degree
        QTest::newRow("zero") << 0.0f << "0%" << 0;
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
        // The gradient runs clockwise from red at 12 o'clock to blue as the
        // ring closes; a partial arc keeps it where the full ring has it, and
        // the green track shows beyond the arc's end.
        QTest::newRow("full, 3 o'clock") << 1.0f << 0.25 << QColor(191, 0, 64);
        QTest::newRow("full, 9 o'clock") << 1.0f << 0.75 << QColor(64, 0, 191);
        QTest::newRow("70%, 8 o'clock") << 0.7f << 0.66 << QColor(87, 0, 168);
        QTest::newRow("70%, 9 o'clock") << 0.7f << 0.75 << QColor(0, 255, 0);
        QTest::newRow("negative shows the track") << -0.25f << 0.9 << QColor(0, 255, 0);
        // The round cap ends the arc at its value, not half a stroke beyond.
        QTest::newRow("70%, just before its end") << 0.7f << 0.69 << QColor(79, 0, 176);
        QTest::newRow("70%, just after its end") << 0.7f << 0.715 << QColor(0, 255, 0);
        // A small value is a short piece of ring (twice the stroke), not a dot.
        QTest::newRow("3%, inside the piece") << 0.03f << 0.05 << QColor(255, 0, 0);
        QTest::newRow("3%, beyond the piece") << 0.03f << 0.09 << QColor(0, 255, 0);
    }
    void gaugeRing()
    {
        QFETCH(float, progress);
        QFETCH(qreal, turn);
        QFETCH(QColor, expected);
        Gauge gauge;
        gauge.setProgress(progress);
        const QImage image = gauge.image();
        const QColor seen = ringPixel(image, turn);
        QVERIFY2(near(seen, expected, 14), qPrintable(seen.name() + QLatin1String(" expected ") + expected.name()));
        // The whole stroke lies inside the widget, and inside it is clear.
        QCOMPARE(ringPixel(image, turn, side / 2.0 - 1.5).alpha(), 255);
        QCOMPARE(ringPixel(image, turn, side / 2.0 - track + 1.5).alpha(), 255);
        QCOMPARE(ringPixel(image, turn, side / 2.0 - track - 3).alpha(), 0);
    }

    void gaugeStroke_data()
    {
        QTest::addColumn<float>("progress");
        QTest::addColumn<qreal>("radius");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("visible"); // degrees clockwise from 12 o'clock, caps included
        QTest::newRow("half") << 0.5f << 90.0 << 20.0 << 180.0;
        QTest::newRow("3% on a thick ring: twice the stroke") << 0.03f << 90.0 << 20.0 << 25.46;
        QTest::newRow("3% on a large ring: its value") << 0.03f << 400.0 << 8.0 << 10.8;
        QTest::newRow("99%: the caps do not meet") << 0.99f << 90.0 << 20.0 << 356.4;
        QTest::newRow("full ring, no caps") << 1.0f << 90.0 << 20.0 << 360.0;
        QTest::newRow("nothing") << 0.0f << 90.0 << 20.0 << 0.0;
    }
    void gaugeStroke()
    {
        QFETCH(float, progress);
        QFETCH(qreal, radius);
        QFETCH(qreal, width);
        QFETCH(qreal, visible);
        const auto stroke = CircularProgressGauge::arcStroke(progress, radius, width);
        const qreal caps = visible > 0 && visible < 360 ? width * 180 / (M_PI * radius) : 0;
        // The first cap's outer edge is at 12 o'clock, the last one's at the end.
        QVERIFY2(qAbs(stroke.start16 / 16.0 + caps / 2 - 90) < 0.1, qPrintable(QString::number(stroke.start16)));
        QVERIFY2(qAbs(-stroke.span16 / 16.0 + caps - visible) < 0.1, qPrintable(QString::number(stroke.span16)));
    }

    void gaugeTrackStandsOut_data()
    {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("base");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<qreal>("contrast");
        QTest::newRow("light") << QColor(239, 239, 239) << QColor(Qt::white) << QColor(Qt::black) << 1.1;
        QTest::newRow("light, grey cards") << QColor(236, 236, 236) << QColor(242, 242, 247) << QColor(Qt::black) << 1.1;
        QTest::newRow("dark, cards darker") << QColor(53, 53, 53) << QColor(42, 42, 42) << QColor(Qt::white) << 1.4;
        QTest::newRow("dark, cards lighter") << QColor(30, 30, 30) << QColor(58, 58, 60) << QColor(Qt::white) << 1.4;
        QTest::newRow("dark, one grey") << QColor(45, 45, 45) << QColor(45, 45, 45) << QColor(230, 230, 230) << 1.4;
    }
    void gaugeTrackStandsOut()
    {
        QFETCH(QColor, window);
        QFETCH(QColor, base);
        QFETCH(QColor, text);
        QFETCH(qreal, contrast);
        QCOMPARE(NamedColors::contrastRatio(Qt::black, Qt::white), 21.0);
        QCOMPARE(NamedColors::contrastRatio(base, base), 1.0);
        QPalette palette;
        palette.setColor(QPalette::Window, window);
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        palette.setColor(QPalette::WindowText, text);
        const QColor track = CircularProgressGauge::defaultTrackColor(palette);
        QVERIFY2(NamedColors::contrastRatio(track, base) >= contrast, qPrintable(track.name()));
        if (NamedColors::isDark(palette)) // and on the window around the card
            QVERIFY2(NamedColors::contrastRatio(track, window) >= contrast, qPrintable(track.name()));
    }

    void gaugeSymbol()
    {
        // A symbol replaces the text, whatever the value: tinted, in a
        // fontSize square.
        Gauge gauge;
        gauge.setFontSize(32);
        gauge.setSystemImage(QStringLiteral("pencil.tip.crop.circle"));
        gauge.setProgress(0.3f);
        const QImage at30 = gauge.image().copy(centre);
        gauge.setProgress(0.9f);
        const QImage at90 = gauge.image().copy(centre);
        QCOMPARE(at30, at90);
        QRect drawn;
        for (int y = 0; y < at90.height(); ++y) {
            for (int x = 0; x < at90.width(); ++x) {
                const QColor c = at90.pixelColor(x, y);
                drawn |= c.alpha() > 0 ? QRect(x, y, 1, 1) : QRect();
                QVERIFY2(c.alpha() <= 128 || near(c, QColor(255, 0, 255), 8), qPrintable(c.name()));
            }
        }
        QVERIFY2(qMin(drawn.width(), drawn.height()) >= 26 && qMax(drawn.width(), drawn.height()) <= 33,
                 qPrintable(QStringLiteral("%1x%2").arg(drawn.width()).arg(drawn.height())));

    }

    void everySymbolUsedHasArtwork()
    {
        const QStringList used{"arrow.clockwise",        "brain.head.profile", "checkmark.circle.fill",
                               "exclamationmark.triangle.fill", "gear",     "info.circle",
                               "pencil.tip.crop.circle", "person.circle.fill", "server.rack",
                               "star",                   "star.fill"};
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
            if (!used.contains(name))
                continue;
            // Drawn as the SVG renderer draws the same file, up to anti-aliasing.
            QSvgRenderer svg(QStringLiteral(":/symbols/%1.svg").arg(name));
            QImage expected(32, 32, QImage::Format_ARGB32);
            expected.fill(Qt::transparent);
            QPainter painter(&expected);
            svg.render(&painter, QRectF(0, 0, 32, 32));
            painter.end();
            int worst = 0;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    worst = qMax(worst, qAbs(qAlpha(image.pixel(x, y)) - qAlpha(expected.pixel(x, y))));
            QVERIFY2(worst <= 32, qPrintable(QStringLiteral("%1: alpha off by %2").arg(name).arg(worst)));
        }
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
