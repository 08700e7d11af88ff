#include "widgets/CapabilityBadge.h"
#include "widgets/TextStyles.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QTest>

// Renders only what the badge paints itself, over an opaque white ground.
static QImage renderOverWhite(QWidget &widget)
{
    widget.ensurePolished();
    widget.resize(widget.sizeHint());
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The expected colour of `color` at `opacity` laid over white.
static QColor overWhite(const QColor &color, qreal opacity)
{
    auto mix = [opacity](int c) { return qRound(c * opacity + 255 * (1 - opacity)); };
    return QColor(mix(color.red()), mix(color.green()), mix(color.blue()));
}

static bool near(const QColor &a, const QColor &b, int tolerance = 3)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

class TestCapabilityBadge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTextInItsColour_data();
    void showsTextInItsColour();
    void paintsTintedRoundedFill_data();
    void paintsTintedRoundedFill();
    void accessibleNameFollowsText();
};

void TestCapabilityBadge::showsTextInItsColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("color");
    QTest::newRow("embedding") << QStringLiteral("Embedding") << QColor(20, 110, 230);
    QTest::newRow("tools") << QStringLiteral("Tools") << QColor(140, 70, 200);
    QTest::newRow("vision") << QStringLiteral("Vision") << QColor(30, 150, 60);
    QTest::newRow("thinking") << QStringLiteral("Thinking") << QColor(225, 120, 0);
    QTest::newRow("markup is shown as text") << QStringLiteral("<b>Tools</b>") << QColor(Qt::red);
}

void TestCapabilityBadge::showsTextInItsColour()
{
    QFETCH(QString, text);
    QFETCH(QColor, color);

    CapabilityBadge badge(text, color);
    QCOMPARE(badge.text(), text);
    QCOMPARE(badge.color(), color);
    QCOMPARE(badge.accessibleName(), text);
    QCOMPARE(badge.palette().color(QPalette::WindowText), color);
    QCOMPARE(badge.font().pointSizeF(), TextStyles::font(TextStyle::Caption2).pointSizeF());
    QCOMPARE(badge.textFormat(), Qt::PlainText);

    // The text is drawn in the badge's colour: its darkest pixel has the
    // colour's hue, not the palette's black text.
    const QImage image = renderOverWhite(badge);
    QColor darkest = Qt::white;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < darkest.lightness())
                darkest = image.pixelColor(x, y);
    QVERIFY2(near(darkest, color, 40), qPrintable(darkest.name() + QLatin1String(" vs ") + color.name()));
}

void TestCapabilityBadge::paintsTintedRoundedFill_data()
{
    QTest::addColumn<QColor>("color");
    QTest::newRow("blue") << QColor(0, 0, 255);
    QTest::newRow("orange") << QColor(255, 149, 0);
    QTest::newRow("translucent purple") << QColor(140, 70, 200, 128);
}

void TestCapabilityBadge::paintsTintedRoundedFill()
{
    QFETCH(QColor, color);

    CapabilityBadge badge(QStringLiteral("Vision"), color);
    const QImage image = renderOverWhite(badge);
    QVERIFY(image.width() > 12 && image.height() > 4);

    // Inside the padding (left of the text, above it) the fill shows alone:
    // the colour at a fifth of its own opacity.
    const QColor fill = overWhite(color, 0.2 * color.alphaF());
    const int midY = image.height() / 2;
    QVERIFY2(near(image.pixelColor(3, midY), fill), qPrintable(image.pixelColor(3, midY).name()));
    QVERIFY(near(image.pixelColor(image.width() - 4, midY), fill));
    QVERIFY(near(image.pixelColor(image.width() / 2, 0), fill, 6));

    // The corners are rounded off: the very corner pixels stay (almost) white.
    for (const QPoint corner : {QPoint(0, 0), QPoint(image.width() - 1, 0), QPoint(0, image.height() - 1),
                                QPoint(image.width() - 1, image.height() - 1)}) {
        QVERIFY2(image.pixelColor(corner).lightness() > fill.lightness() + (255 - fill.lightness()) / 2,
                 qPrintable(QStringLiteral("corner %1,%2").arg(corner.x()).arg(corner.y())));
    }
}

void TestCapabilityBadge::accessibleNameFollowsText()
{
    CapabilityBadge badge(QStringLiteral("Tools"), Qt::blue);
    badge.setText(QStringLiteral("Thinking"));
    QCOMPARE(badge.accessibleName(), QStringLiteral("Thinking"));

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&badge);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Thinking"));
}

QTEST_MAIN(TestCapabilityBadge)
#include "tst_capabilitybadge.moc"
