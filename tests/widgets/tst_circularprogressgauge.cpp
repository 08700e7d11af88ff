#include "WidgetPalettes.h"

#include "widgets/CircularProgressGauge.h"

#include <QAccessible>
#include <QImage>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr int side = 200;
constexpr double track = 20;

// The gauge's own painting (no window background) on a transparent image.
QImage renderGauge(CircularProgressGauge &gauge)
{
    gauge.resize(side, side);
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    gauge.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// A point of the ring at `radius` from the centre, a fraction `turn` of the
// way round clockwise from 12 o'clock.
QPoint ringPoint(qreal turn, qreal radius)
{
    const qreal a = turn * 2 * M_PI;
    return QPoint(qFloor(side / 2.0 + radius * std::sin(a)), qFloor(side / 2.0 - radius * std::cos(a)));
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance && qAbs(a.alpha() - b.alpha()) <= tolerance;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

// The square inside the ring, where the text or symbol is drawn.
QImage centre(const QImage &image)
{
    return image.copy(side / 2 - 55, side / 2 - 55, 110, 110);
}

// A gauge with easily told colours: a red-to-blue arc over a green track.
void useProbeColours(CircularProgressGauge &gauge)
{
    gauge.setGradient({QColor(255, 0, 0), QColor(0, 0, 255)});
    gauge.setTrackColor(QColor(0, 255, 0));
    gauge.setFontColor(QColor(255, 0, 255));
    gauge.setTrackWidth(track);
    gauge.setAnimated(false);
}

} // namespace

class TestCircularProgressGauge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void percentageText_data();
    void percentageText();
    void arcAngles_data();
    void arcAngles();

    void gradientRunsClockwiseFromTwelve_data();
    void gradientRunsClockwiseFromTwelve();
    void ringStaysInsideTheWidget();
    void symbolReplacesText();
    void defaultColoursFollowPalette_data();
    void defaultColoursFollowPalette();

    void animatesArcOnly();
    void animationReachesTarget();
    void jumpsWithoutAnimation_data();
    void jumpsWithoutAnimation();

    void exposesValueToAssistiveTools();
};

void TestCircularProgressGauge::initTestCase()
{
    QApplication::setPalette(WidgetPalettes::light());
}

void TestCircularProgressGauge::percentageText_data()
{
    QTest::addColumn<float>("progress");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("spoken");

    QTest::newRow("zero") << 0.0f << "0%" << "0 percent";
    QTest::newRow("70") << 0.7f << "70%" << "70 percent";
    QTest::newRow("half to even, down") << 0.125f << "12%" << "12 percent";
    QTest::newRow("half to even, up") << 0.035f << "4%" << "4 percent";
    // 0.575f * 100 is exactly 57.5 in 32-bit arithmetic (57.4999... in double).
    QTest::newRow("32-bit product") << 0.575f << "58%" << "58 percent";
    QTest::newRow("89.7 rounds up") << 0.897f << "90%" << "90 percent";
    QTest::newRow("99.6 rounds to 100") << 0.996f << "100%" << "100 percent";
    QTest::newRow("99.4 stays below") << 0.994f << "99%" << "99 percent";
    QTest::newRow("one") << 1.0f << "100%" << "100 percent";
    QTest::newRow("above one is clamped") << 1.5f << "100%" << "100 percent";
    QTest::newRow("huge") << 1e30f << "100%" << "100 percent";
    QTest::newRow("negative is not clamped") << -0.25f << "-25%" << "-25 percent";
}

void TestCircularProgressGauge::percentageText()
{
    QFETCH(float, progress);
    QFETCH(QString, text);
    QFETCH(QString, spoken);
    QCOMPARE(CircularProgressGauge::percentageText(progress), text);
    QCOMPARE(CircularProgressGauge::accessibleValueText(progress), spoken);
}

void TestCircularProgressGauge::arcAngles_data()
{
    QTest::addColumn<float>("progress");
    QTest::addColumn<int>("span16");

    // Every arc starts at 12 o'clock (90 degrees) and runs clockwise.
    QTest::newRow("zero draws nothing") << 0.0f << 0;
    QTest::newRow("negative draws nothing") << -0.25f << 0;
    QTest::newRow("NaN draws nothing") << std::numeric_limits<float>::quiet_NaN() << 0;
    QTest::newRow("quarter") << 0.25f << -90 * 16;
    QTest::newRow("70 percent") << 0.7f << -4032;
    QTest::newRow("full") << 1.0f << -360 * 16;
    QTest::newRow("beyond full") << 1.5f << -360 * 16;
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << -360 * 16;
}

void TestCircularProgressGauge::arcAngles()
{
    QFETCH(float, progress);
    QFETCH(int, span16);
    const auto angles = CircularProgressGauge::arcAngles(CircularProgressGauge::arcFraction(progress));
    QCOMPARE(angles.start16, 90 * 16);
    QCOMPARE(angles.span16, span16);
}

void TestCircularProgressGauge::gradientRunsClockwiseFromTwelve_data()
{
    QTest::addColumn<float>("progress");
    QTest::addColumn<qreal>("turn");
    QTest::addColumn<QColor>("expected");

    const QColor red(255, 0, 0), blue(0, 0, 255), trackGreen(0, 255, 0);
    // A full ring: the first colour just after 12 o'clock, the last one just
    // before it, and in between the mix of the two in proportion.
    QTest::newRow("full, just after 12") << 1.0f << 0.02 << mix(red, blue, 0.02);
    QTest::newRow("full, 3 o'clock") << 1.0f << 0.25 << mix(red, blue, 0.25);
    QTest::newRow("full, 6 o'clock") << 1.0f << 0.5 << mix(red, blue, 0.5);
    QTest::newRow("full, 9 o'clock") << 1.0f << 0.75 << mix(red, blue, 0.75);
    QTest::newRow("full, just before 12") << 1.0f << 0.98 << mix(red, blue, 0.98);
    // A partial arc keeps the gradient where the full ring has it and shows
    // the track beyond its end.
    QTest::newRow("70%, 6 o'clock") << 0.7f << 0.5 << mix(red, blue, 0.5);
    QTest::newRow("70%, 8 o'clock") << 0.7f << 0.66 << mix(red, blue, 0.66);
    QTest::newRow("70%, 9 o'clock") << 0.7f << 0.75 << trackGreen;
    QTest::newRow("zero shows the track") << 0.0f << 0.25 << trackGreen;
    QTest::newRow("negative shows the track") << -0.25f << 0.9 << trackGreen;
    QTest::newRow("beyond full, 9 o'clock") << 1.5f << 0.75 << mix(red, blue, 0.75);
}

void TestCircularProgressGauge::gradientRunsClockwiseFromTwelve()
{
    QFETCH(float, progress);
    QFETCH(qreal, turn);
    QFETCH(QColor, expected);

    CircularProgressGauge gauge;
    useProbeColours(gauge);
    gauge.setProgress(progress);
    const QImage image = renderGauge(gauge);
    // The middle of the stroke.
    const QColor seen = image.pixelColor(ringPoint(turn, side / 2.0 - track / 2));
    QVERIFY2(near(seen, expected, 14), qPrintable(seen.name() + QLatin1String(" expected ") + expected.name()));
}

void TestCircularProgressGauge::ringStaysInsideTheWidget()
{
    CircularProgressGauge gauge;
    useProbeColours(gauge);
    gauge.setProgress(0.0f);
    const QImage image = renderGauge(gauge);

    // The whole width of the stroke lies inside the widget: next to its outer
    // and inner edges it is opaque, outside the inner edge it is clear.
    for (qreal turn : {0.125, 0.375, 0.625, 0.875}) {
        QCOMPARE(image.pixelColor(ringPoint(turn, side / 2.0 - 1.5)).alpha(), 255);
        QCOMPARE(image.pixelColor(ringPoint(turn, side / 2.0 - track + 1.5)).alpha(), 255);
        QCOMPARE(image.pixelColor(ringPoint(turn, side / 2.0 - track - 3)).alpha(), 0);
    }
}

void TestCircularProgressGauge::symbolReplacesText()
{
    // With text, the centre changes with the value.
    CircularProgressGauge textGauge;
    useProbeColours(textGauge);
    textGauge.setProgress(0.3f);
    const QImage text30 = centre(renderGauge(textGauge));
    textGauge.setProgress(0.9f);
    const QImage text90 = centre(renderGauge(textGauge));
    QVERIFY(text30 != text90);

    // With a symbol, it does not: no text is drawn, only the symbol.
    CircularProgressGauge gauge;
    useProbeColours(gauge);
    gauge.setFontSize(32);
    gauge.setSystemImage(QStringLiteral("pencil.tip.crop.circle"));
    gauge.setProgress(0.3f);
    const QImage symbol30 = centre(renderGauge(gauge));
    gauge.setProgress(0.9f);
    const QImage symbol90 = centre(renderGauge(gauge));
    QCOMPARE(symbol30, symbol90);

    // The symbol is tinted with the font colour and fits a fontSize square.
    QRect drawn;
    for (int y = 0; y < symbol90.height(); ++y) {
        for (int x = 0; x < symbol90.width(); ++x) {
            const QColor c = symbol90.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            drawn |= QRect(x, y, 1, 1);
            if (c.alpha() > 128)
                QVERIFY2(near(QColor(c.red(), c.green(), c.blue()), QColor(255, 0, 255), 8), qPrintable(c.name()));
        }
    }
    QVERIFY(drawn.width() <= 33 && drawn.height() <= 33);
    QVERIFY2(drawn.width() >= 26 && drawn.height() >= 26, qPrintable(QStringLiteral("%1x%2").arg(drawn.width()).arg(drawn.height())));
    QVERIFY(qAbs(drawn.center().x() - symbol90.width() / 2) <= 1);
    QVERIFY(qAbs(drawn.center().y() - symbol90.height() / 2) <= 1);
}

void TestCircularProgressGauge::defaultColoursFollowPalette_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void TestCircularProgressGauge::defaultColoursFollowPalette()
{
    QFETCH(bool, dark);
    const QPalette palette = dark ? WidgetPalettes::dark() : WidgetPalettes::light();
    CircularProgressGauge gauge;
    gauge.setPalette(palette);

    if (dark) {
        // Readable on a dark window: light text, a track lighter than the window.
        QCOMPARE(gauge.fontColor(), palette.color(QPalette::WindowText));
        QVERIFY(gauge.trackColor().lightness() > palette.color(QPalette::Window).lightness());
        QVERIFY(gauge.trackColor().lightness() < palette.color(QPalette::WindowText).lightness());
    } else {
        QCOMPARE(gauge.fontColor(), QColor(Qt::black));
        QCOMPARE(gauge.trackColor(), QColor::fromRgbF(242 / 255.f, 242 / 255.f, 247 / 255.f));
    }

    // Colours the caller sets stay, whatever the palette; an invalid colour
    // returns to the default.
    gauge.setFontColor(Qt::blue);
    gauge.setTrackColor(Qt::gray);
    gauge.setPalette(dark ? WidgetPalettes::light() : WidgetPalettes::dark());
    QCOMPARE(gauge.fontColor(), QColor(Qt::blue));
    QCOMPARE(gauge.trackColor(), QColor(Qt::gray));
    gauge.setFontColor(QColor());
    QCOMPARE(gauge.fontColor(), CircularProgressGauge::defaultFontColor(gauge.palette()));
}

void TestCircularProgressGauge::animatesArcOnly()
{
    CircularProgressGauge gauge;
    useProbeColours(gauge);
    gauge.resize(side, side);
    gauge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gauge));
    gauge.setProgress(0.2f);
    QCOMPARE(gauge.displayedFraction(), 0.2f);

    // A long animation, so that it is surely still running while observed.
    gauge.setAnimated(true);
    gauge.setAnimationDuration(600'000);
    gauge.setProgress(0.8f);
    QVERIFY(gauge.isAnimating());
    QTRY_VERIFY(gauge.displayedFraction() > 0.2f);
    QVERIFY(gauge.displayedFraction() < 0.8f);

    // The text already shows the new value.
    QCOMPARE(gauge.accessibleDescription(), QStringLiteral("80 percent"));
    CircularProgressGauge settled;
    useProbeColours(settled);
    settled.setProgress(0.8f);
    QCOMPARE(centre(renderGauge(gauge)), centre(renderGauge(settled)));

    // A new value mid-way continues from where the arc is drawn.
    const float reached = gauge.displayedFraction();
    gauge.setProgress(0.5f);
    QCOMPARE(gauge.displayedFraction(), reached);
    QVERIFY(gauge.isAnimating());

    // Switching animation off puts the arc at its end at once.
    gauge.setAnimated(false);
    QVERIFY(!gauge.isAnimating());
    QCOMPARE(gauge.displayedFraction(), 0.5f);
}

void TestCircularProgressGauge::animationReachesTarget()
{
    CircularProgressGauge gauge;
    gauge.setAnimated(true);
    gauge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gauge));
    gauge.setProgress(1.5f);
    QTRY_COMPARE(gauge.displayedFraction(), 1.0f);
    QTRY_VERIFY(!gauge.isAnimating());
    gauge.setProgress(-0.25f);
    QTRY_COMPARE(gauge.displayedFraction(), -0.25f);
}

void TestCircularProgressGauge::jumpsWithoutAnimation_data()
{
    QTest::addColumn<bool>("animated");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<float>("progress");
    QTest::addColumn<float>("displayed");

    QTest::newRow("not animated") << false << true << 0.8f << 0.8f;
    QTest::newRow("not animated, beyond full") << false << true << 1.5f << 1.0f;
    QTest::newRow("not animated, negative") << false << true << -0.25f << -0.25f;
    QTest::newRow("animated but hidden") << true << false << 0.8f << 0.8f;
}

void TestCircularProgressGauge::jumpsWithoutAnimation()
{
    QFETCH(bool, animated);
    QFETCH(bool, visible);
    QFETCH(float, progress);
    QFETCH(float, displayed);

    CircularProgressGauge gauge;
    gauge.setAnimated(animated);
    gauge.setAnimationDuration(600'000);
    if (visible) {
        gauge.show();
        QVERIFY(QTest::qWaitForWindowExposed(&gauge));
    }
    gauge.setProgress(progress);
    QVERIFY(!gauge.isAnimating());
    QCOMPARE(gauge.displayedFraction(), displayed);
    QCOMPARE(gauge.progress(), progress);
}

void TestCircularProgressGauge::exposesValueToAssistiveTools()
{
    CircularProgressGauge gauge;
    gauge.setAccessibleName(QStringLiteral("Similarity"));
    gauge.setAnimated(false);
    gauge.setProgress(0.7f);

    QCOMPARE(gauge.accessibleName(), QStringLiteral("Similarity"));
    QCOMPARE(gauge.accessibleDescription(), QStringLiteral("70 percent"));

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&gauge);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::ProgressBar);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Similarity"));
    QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("70%"));
    QAccessibleValueInterface *value = iface->valueInterface();
    QVERIFY(value);
    QCOMPARE(value->currentValue().toDouble(), 70.0);

    gauge.setProgress(-0.25f);
    QCOMPARE(gauge.accessibleDescription(), QStringLiteral("-25 percent"));
    QCOMPARE(value->currentValue().toDouble(), -25.0);
}

QTEST_MAIN(TestCircularProgressGauge)
#include "tst_circularprogressgauge.moc"
