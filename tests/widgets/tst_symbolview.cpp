#include "widgets/SymbolView.h"

#include <QTest>

class TestSymbolView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void turnsOnlyWhileShownAndSpinning();
};

void TestSymbolView::turnsOnlyWhileShownAndSpinning()
{
    SymbolView view(QStringLiteral("arrow.clockwise"), 16, Qt::blue);

    // Asked to turn while hidden: it is marked as turning but does not move.
    view.setSpinning(true);
    QVERIFY(view.isSpinning());
    QTest::qWait(50);
    QCOMPARE(view.angle(), 0.0);

    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.angle() > 0.0);

    // Stopping puts the symbol back upright, and it stays there.
    view.setSpinning(false);
    QVERIFY(!view.isSpinning());
    QCOMPARE(view.angle(), 0.0);
    QTest::qWait(50);
    QCOMPARE(view.angle(), 0.0);

    // Hidden and shown again while set to turn, it resumes.
    view.setSpinning(true);
    view.hide();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_VERIFY(view.angle() > 0.0);
}

QTEST_MAIN(TestSymbolView)
#include "tst_symbolview.moc"
