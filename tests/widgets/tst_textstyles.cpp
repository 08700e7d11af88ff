#include "WidgetPalettes.h"

#include "widgets/NamedColors.h"
#include "widgets/TextStyles.h"

#include <QFontInfo>
#include <QTest>

#include <cmath>

namespace {

// Relative luminance and contrast ratio as the WCAG defines them.
double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

class TestTextStyles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void stylesFollowApplicationFont_data();
    void stylesFollowApplicationFont();
    void rampIsOrdered();

    void namedColoursReadOnBothPalettes_data();
    void namedColoursReadOnBothPalettes();
    void secondaryTextIsDimmedButReadable_data();
    void secondaryTextIsDimmedButReadable();

private:
    QFont m_originalFont;
};

void TestTextStyles::initTestCase()
{
    m_originalFont = QApplication::font();
}

void TestTextStyles::cleanup()
{
    QApplication::setFont(m_originalFont);
}

void TestTextStyles::stylesFollowApplicationFont_data()
{
    QTest::addColumn<TextStyle>("style");
    QTest::newRow("title") << TextStyle::Title;
    QTest::newRow("title 2") << TextStyle::Title2;
    QTest::newRow("title 3") << TextStyle::Title3;
    QTest::newRow("headline") << TextStyle::Headline;
    QTest::newRow("subheadline") << TextStyle::Subheadline;
    QTest::newRow("body") << TextStyle::Body;
    QTest::newRow("caption") << TextStyle::Caption;
    QTest::newRow("caption 2") << TextStyle::Caption2;
}

void TestTextStyles::stylesFollowApplicationFont()
{
    QFETCH(TextStyle, style);

    QFont base = m_originalFont;
    base.setPointSizeF(10);
    QApplication::setFont(base);
    const qreal at10 = TextStyles::font(style).pointSizeF();
    QCOMPARE(TextStyles::monospaced(style).pointSizeF(), at10);

    base.setPointSizeF(15);
    QApplication::setFont(base);
    const qreal at15 = TextStyles::font(style).pointSizeF();
    QVERIFY(at10 > 0);
    QCOMPARE(at15, at10 * 1.5);
    QCOMPARE(TextStyles::font(style).family(), base.family());
    QCOMPARE(TextStyles::monospaced(style).pointSizeF(), at15);
    QVERIFY(QFontInfo(TextStyles::monospaced(style)).fixedPitch());

    // A base font sized in pixels scales in pixels.
    QFont pixels = m_originalFont;
    pixels.setPixelSize(20);
    QApplication::setFont(pixels);
    QCOMPARE(TextStyles::font(style).pixelSize(), qRound(20 * at10 / 10));

    // A weight given by the caller wins over the style's own.
    QCOMPARE(TextStyles::font(style, QFont::Bold).weight(), QFont::Bold);
}

void TestTextStyles::rampIsOrdered()
{
    QFont base = m_originalFont;
    base.setPointSizeF(10);
    auto size = [&base](TextStyle s) { return TextStyles::font(s, base).pointSizeF(); };

    QCOMPARE(size(TextStyle::Body), 10.0);
    QVERIFY(size(TextStyle::Title) > size(TextStyle::Title2));
    QVERIFY(size(TextStyle::Title2) > size(TextStyle::Title3));
    QVERIFY(size(TextStyle::Title3) > size(TextStyle::Body));
    QCOMPARE(size(TextStyle::Headline), size(TextStyle::Body));
    QVERIFY(TextStyles::font(TextStyle::Headline, base).weight() > TextStyles::font(TextStyle::Body, base).weight());
    QVERIFY(size(TextStyle::Body) > size(TextStyle::Subheadline));
    QVERIFY(size(TextStyle::Subheadline) > size(TextStyle::Caption));
    QVERIFY(size(TextStyle::Caption) > size(TextStyle::Caption2));
    // The smallest style stays legible on a 10-point desktop.
    QVERIFY(size(TextStyle::Caption2) >= 7.5);
}

void TestTextStyles::namedColoursReadOnBothPalettes_data()
{
    QTest::addColumn<NamedColor>("name");
    QTest::newRow("red") << NamedColor::Red;
    QTest::newRow("orange") << NamedColor::Orange;
    QTest::newRow("yellow") << NamedColor::Yellow;
    QTest::newRow("green") << NamedColor::Green;
    QTest::newRow("blue") << NamedColor::Blue;
    QTest::newRow("purple") << NamedColor::Purple;
    QTest::newRow("gray") << NamedColor::Gray;
}

void TestTextStyles::namedColoursReadOnBothPalettes()
{
    QFETCH(NamedColor, name);
    const QPalette light = WidgetPalettes::light();
    const QPalette dark = WidgetPalettes::dark();
    QVERIFY(!NamedColors::isDark(light));
    QVERIFY(NamedColors::isDark(dark));

    const QColor onLight = NamedColors::color(name, light);
    const QColor onDark = NamedColors::color(name, dark);
    QVERIFY(onLight != onDark);

    // Used as text (error lines, labels, badges), each tone keeps a contrast
    // of at least 3:1 with its window.
    QVERIFY2(contrast(onLight, light.color(QPalette::Window)) >= 3.0, qPrintable(onLight.name()));
    QVERIFY2(contrast(onDark, dark.color(QPalette::Window)) >= 3.0, qPrintable(onDark.name()));

    // The opacity variant keeps the tone.
    const QColor faint = NamedColors::color(name, 0.1, light);
    QCOMPARE(faint.rgb(), onLight.rgb());
    QCOMPARE(faint.alpha(), qRound(0.1 * 255));
}

void TestTextStyles::secondaryTextIsDimmedButReadable_data()
{
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

void TestTextStyles::secondaryTextIsDimmedButReadable()
{
    QFETCH(bool, dark);
    const QPalette palette = dark ? WidgetPalettes::dark() : WidgetPalettes::light();
    const QColor window = palette.color(QPalette::Window);
    const QColor secondary = NamedColors::secondaryText(palette);
    QVERIFY(contrast(secondary, window) >= 4.5);
    QVERIFY(contrast(secondary, window) < contrast(palette.color(QPalette::WindowText), window));

    // Without a palette, the application's is used.
    QApplication::setPalette(palette);
    QCOMPARE(NamedColors::secondaryText(), secondary);
    QCOMPARE(NamedColors::color(NamedColor::Orange), NamedColors::color(NamedColor::Orange, palette));
}

QTEST_MAIN(TestTextStyles)
#include "tst_textstyles.moc"
