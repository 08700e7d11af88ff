#include "widgets/RoundedPanel.h"

#include <QTest>

class TestRoundedPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void continuousCorners_data();
    void continuousCorners();
};

void TestRoundedPanel::continuousCorners_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<qreal>("radius");

    QTest::newRow("card") << QRectF(10, 20, 300, 120) << 8.0;
    QTest::newRow("badge") << QRectF(0, 0, 60, 16) << 4.0;
    QTest::newRow("radius too large for the height") << QRectF(0, 0, 80, 10) << 8.0;
    QTest::newRow("radius larger than everything") << QRectF(5, 5, 12, 12) << 40.0;
    QTest::newRow("no radius") << QRectF(0, 0, 50, 30) << 0.0;
}

void TestRoundedPanel::continuousCorners()
{
    QFETCH(QRectF, rect);
    QFETCH(qreal, radius);

    const QPainterPath path = RoundedPanel::continuousRoundedRect(rect, radius);
    // It spans the rectangle exactly and never leaves it.
    QCOMPARE(path.boundingRect(), rect);
    QVERIFY(path.contains(rect.center()));
    // The middle of every edge is on the shape.
    const qreal e = 0.25;
    QVERIFY(path.contains(QPointF(rect.center().x(), rect.top() + e)));
    QVERIFY(path.contains(QPointF(rect.center().x(), rect.bottom() - e)));
    QVERIFY(path.contains(QPointF(rect.left() + e, rect.center().y())));
    QVERIFY(path.contains(QPointF(rect.right() - e, rect.center().y())));
    // The corners are cut off when there is a radius.
    const QPointF corners[] = {rect.topLeft() + QPointF(e, e), rect.topRight() + QPointF(-e, e),
                               rect.bottomLeft() + QPointF(e, -e), rect.bottomRight() + QPointF(-e, -e)};
    for (const QPointF &corner : corners)
        QCOMPARE(path.contains(corner), radius <= 0);
}

QTEST_MAIN(TestRoundedPanel)
#include "tst_roundedpanel.moc"
