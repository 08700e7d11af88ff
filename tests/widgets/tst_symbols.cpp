#include "widgets/Symbols.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace {

QImage toImage(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaqueCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 0;
    return count;
}

} // namespace

class TestSymbols : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyNameHasArtwork_data();
    void everyNameHasArtwork();
    void filledAndOutlinedShapes_data();
    void filledAndOutlinedShapes();
    void tintReplacesColour_data();
    void tintReplacesColour();
    void rendersAtDevicePixels();
    void unknownNameDrawsNothing();
};

void TestSymbols::everyNameHasArtwork_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = Symbols::names();
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestSymbols::everyNameHasArtwork()
{
    QFETCH(QString, name);
    QVERIFY(Symbols::hasArtwork(name));

    QSvgRenderer svg(QStringLiteral(":/symbols/%1.svg").arg(name));
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBoxF(), QRectF(0, 0, 24, 24));

    // At every size it draws what the SVG renderer draws from the same file,
    // up to anti-aliasing, and something rather than nothing.
    for (int size : {16, 32, 64}) {
        const QImage image = toImage(Symbols::pixmap(name, QSize(size, size), Qt::black));
        QCOMPARE(image.size(), QSize(size, size));
        QImage expected(size, size, QImage::Format_ARGB32);
        expected.fill(Qt::transparent);
        QPainter painter(&expected);
        svg.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        int worst = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                worst = qMax(worst, qAbs(qAlpha(image.pixel(x, y)) - qAlpha(expected.pixel(x, y))));
        QVERIFY2(worst <= 32, qPrintable(QStringLiteral("%1 px: alpha off by %2").arg(size).arg(worst)));
        QVERIFY(opaqueCount(image) > size * size / 10);
    }
}

void TestSymbols::filledAndOutlinedShapes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPointF>("point"); // on the 24-unit grid of the artwork
    QTest::addColumn<bool>("painted");

    // Outlines are hollow; filled symbols are solid with their sign cut out.
    QTest::newRow("star is hollow") << "star" << QPointF(12, 12.6) << false;
    QTest::newRow("star has its outline") << "star" << QPointF(12, 3.5) << true;
    QTest::newRow("star.fill is solid") << "star.fill" << QPointF(12, 12.6) << true;
    QTest::newRow("triangle is solid") << "exclamationmark.triangle.fill" << QPointF(6, 18.5) << true;
    QTest::newRow("triangle's bar is cut out") << "exclamationmark.triangle.fill" << QPointF(12, 11.5) << false;
    QTest::newRow("triangle's dot is cut out") << "exclamationmark.triangle.fill" << QPointF(12, 17.3) << false;
    QTest::newRow("check circle is solid") << "checkmark.circle.fill" << QPointF(6, 8) << true;
    QTest::newRow("check is cut out") << "checkmark.circle.fill" << QPointF(10.6, 15.3) << false;
    QTest::newRow("person circle is solid") << "person.circle.fill" << QPointF(12, 2.5) << true;
    QTest::newRow("person's head is cut out") << "person.circle.fill" << QPointF(12, 9) << false;
    QTest::newRow("person's body is cut out") << "person.circle.fill" << QPointF(12, 18) << false;
    QTest::newRow("head and body are apart") << "person.circle.fill" << QPointF(12, 13.6) << true;
    QTest::newRow("info circle is hollow") << "info.circle" << QPointF(7, 12) << false;
    QTest::newRow("info's letter") << "info.circle" << QPointF(12, 14) << true;
    QTest::newRow("gear has a hole") << "gear" << QPointF(12, 12) << false;
    QTest::newRow("arrow's arc at 3 o'clock") << "arrow.clockwise" << QPointF(20, 12) << true;
    QTest::newRow("arrow's gap at 1 o'clock") << "arrow.clockwise" << QPointF(16.5, 5.5) << false;
    QTest::newRow("rack's two units are apart") << "server.rack" << QPointF(12, 12) << false;
    QTest::newRow("pencil tip's point") << "pencil.tip.crop.circle" << QPointF(12, 16.5) << true;
    QTest::newRow("pencil is hollow") << "pencil.tip.crop.circle" << QPointF(12, 8.5) << false;
}

void TestSymbols::filledAndOutlinedShapes()
{
    QFETCH(QString, name);
    QFETCH(QPointF, point);
    QFETCH(bool, painted);

    constexpr int size = 96;
    const QImage image = toImage(Symbols::pixmap(name, QSize(size, size), Qt::black));
    const QPoint pixel = (point * size / 24.0).toPoint();
    const int alpha = qAlpha(image.pixel(pixel));
    if (painted)
        QVERIFY2(alpha > 200, qPrintable(QString::number(alpha)));
    else
        QVERIFY2(alpha < 55, qPrintable(QString::number(alpha)));
}

void TestSymbols::tintReplacesColour_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QColor>("tint");
    QTest::newRow("orange triangle") << "exclamationmark.triangle.fill" << QColor(198, 96, 0);
    QTest::newRow("green check") << "checkmark.circle.fill" << QColor(28, 138, 56);
    QTest::newRow("white gear") << "gear" << QColor(Qt::white);
    QTest::newRow("gray star at 30 %") << "star" << QColor(112, 112, 118, 77);
}

void TestSymbols::tintReplacesColour()
{
    QFETCH(QString, name);
    QFETCH(QColor, tint);

    const QImage image = toImage(Symbols::pixmap(name, QSize(48, 48), tint));
    int checked = 0;
    int maxAlpha = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            maxAlpha = qMax(maxAlpha, c.alpha());
            // Edge pixels lose precision when un-premultiplied; check the
            // solid ones.
            if (c.alpha() < tint.alpha() * 3 / 4)
                continue;
            ++checked;
            QVERIFY2(qAbs(c.red() - tint.red()) <= 4 && qAbs(c.green() - tint.green()) <= 4
                         && qAbs(c.blue() - tint.blue()) <= 4,
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(c.name()).arg(x).arg(y)));
        }
    }
    QVERIFY(checked > 50);
    QVERIFY(qAbs(maxAlpha - tint.alpha()) <= 1);
}

void TestSymbols::rendersAtDevicePixels()
{
    // A 16-unit symbol at device pixel ratio 2 has 32 device pixels, drawn
    // from the vector artwork at that resolution rather than scaled up.
    const QPixmap hiDpi = Symbols::pixmap(QStringLiteral("gear"), QSize(16, 16), Qt::black, 2.0);
    QCOMPARE(hiDpi.size(), QSize(32, 32));
    QCOMPARE(hiDpi.devicePixelRatio(), 2.0);
    const QImage sharp = toImage(Symbols::pixmap(QStringLiteral("gear"), QSize(32, 32), Qt::black));
    QImage drawn = toImage(hiDpi);
    drawn.setDevicePixelRatio(1.0);
    QCOMPARE(drawn, sharp);

    // Icons too, for any size and scale a view asks for, and dimmed when disabled.
    const QIcon icon = Symbols::icon(QStringLiteral("server.rack"), Qt::red);
    const QPixmap normal = icon.pixmap(QSize(24, 24), 2.0);
    QCOMPARE(normal.size(), QSize(48, 48));
    const QImage normalImage = toImage(normal);
    const QImage disabledImage = toImage(icon.pixmap(QSize(24, 24), 2.0, QIcon::Disabled));
    int maxNormal = 0, maxDisabled = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            maxNormal = qMax(maxNormal, qAlpha(normalImage.pixel(x, y)));
            maxDisabled = qMax(maxDisabled, qAlpha(disabledImage.pixel(x, y)));
        }
    }
    QCOMPARE(maxNormal, 255);
    QVERIFY(maxDisabled > 0 && maxDisabled < 160);
}

void TestSymbols::unknownNameDrawsNothing()
{
    for (const QString &name : {QStringLiteral("no.such.symbol"), QString(), QStringLiteral("../symbols/star"),
                                QStringLiteral("symbols/star"), QStringLiteral("Star")}) {
        QVERIFY2(!Symbols::hasArtwork(name), qPrintable(name));
        QCOMPARE(opaqueCount(toImage(Symbols::pixmap(name, QSize(16, 16), Qt::black))), 0);
    }
}

QTEST_MAIN(TestSymbols)
#include "tst_symbols.moc"
