#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/SegmentedControl.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Chooses a segment the way a user or a program would.
enum class Way { Mouse, ArrowKey, Space, AccessibleAction, Check };

void choose(SegmentedControl *picker, int index, Way way)
{
    Segment *segment = picker->segment(index);
    switch (way) {
    case Way::Mouse: QTest::mouseClick(segment, Qt::LeftButton); break;
    case Way::ArrowKey:
        picker->segment(1 - index)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(picker->segment(1 - index), index == 1 ? Qt::Key_Right : Qt::Key_Left);
        break;
    case Way::Space:
        segment->setFocus(Qt::TabFocusReason);
        QTest::keyClick(segment, Qt::Key_Space);
        break;
    case Way::AccessibleAction: {
        // What a screen reader offers first for the segment.
        QAccessibleActionInterface *actions = accessible(segment)->actionInterface();
        QVERIFY(actions && !actions->actionNames().isEmpty());
        actions->doAction(actions->actionNames().constFirst());
        break;
    }
    case Way::Check: segment->setChecked(true); break;
    }
}

// Screen readers see a named group of radio buttons, one of them checked.
void verifyAccessibleChoice(SegmentedControl *picker, int checked)
{
    QAccessibleInterface *group = accessible(picker);
    QCOMPARE(group->role(), QAccessible::Grouping);
    QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Demo Type"));
    QCOMPARE(group->childCount(), 2);
    const QStringList titles{QStringLiteral("Sentiment Analysis"), QStringLiteral("Sentence Similarity")};
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(group->child(i)->role(), QAccessible::RadioButton);
        QCOMPARE(group->child(i)->text(QAccessible::Name), titles[i]);
        QCOMPARE(bool(group->child(i)->state().checked), i == checked);
    }
}

} // namespace

Q_DECLARE_METATYPE(Way)

class TestContentView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyWayOfChoosingSwitchesTheDemo_data();
    void everyWayOfChoosingSwitchesTheDemo();
    void firstAppearanceFetchesOnce();
};

void TestContentView::everyWayOfChoosingSwitchesTheDemo_data()
{
    QTest::addColumn<Way>("way");
    QTest::newRow("mouse") << Way::Mouse;
    QTest::newRow("arrow keys") << Way::ArrowKey;
    QTest::newRow("space") << Way::Space;
    QTest::newRow("accessibility action") << Way::AccessibleAction;
    QTest::newRow("check from code") << Way::Check;
}

void TestContentView::everyWayOfChoosingSwitchesTheDemo()
{
    QFETCH(Way, way);

    TestSettings prefs;
    prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1")); // nothing listens: the fetch fails at once
    ContentView view(prefs.settings());
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    auto *picker = view.findChild<SegmentedControl *>();
    QSignalSpy changes(&view, &ContentView::selectedDemoChanged);
    QPointer<QWidget> sentiment = view.currentScreen();
    QVERIFY(qobject_cast<SentimentAnalysisView *>(sentiment.data()));
    verifyAccessibleChoice(picker, 0);

    choose(picker, 1, way);
    QCOMPARE(view.selectedDemo(), DemoType::sentenceSimilarity);
    QVERIFY2(sentiment.isNull(), "the replaced screen is deleted");
    QPointer<QWidget> similarity = view.currentScreen();
    QVERIFY(qobject_cast<SentenceSimilarityView *>(similarity.data()));
    QVERIFY(similarity->isVisible());
    verifyAccessibleChoice(picker, 1);

    // Choosing the chosen demo again changes nothing, not even the check.
    QTest::keyClicks(similarity->findChild<QPlainTextEdit *>(), QStringLiteral("keep me"));
    choose(picker, 1, way);
    QCOMPARE(view.currentScreen(), similarity.data());
    QCOMPARE(similarity->findChild<QPlainTextEdit *>()->toPlainText(), QStringLiteral("keep me"));
    QCOMPARE(changes.size(), 1);
    verifyAccessibleChoice(picker, 1);

    // Back again: a fresh screen.
    choose(picker, 0, way);
    QCOMPARE(view.selectedDemo(), DemoType::sentimentAnalysis);
    QVERIFY(similarity.isNull());
    QVERIFY(qobject_cast<SentimentAnalysisView *>(view.currentScreen()));
    QCOMPARE(picker->currentIndex(), 0);
    QCOMPARE(changes.size(), 2);
}

void TestContentView::firstAppearanceFetchesOnce()
{
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    auto view = std::make_unique<ContentView>(prefs.settings());
    QPointer<OllamaService> service = &view->service();
    QVERIFY(!service->isLoadingModels());

    view->show();
    QVERIFY(service->isLoadingModels());
    QTRY_VERIFY(!service->isLoadingModels());
    view->hide();
    view->show();
    // A second fetch would have marked the service busy at once.
    QVERIFY(!service->isLoadingModels());
    QCOMPARE(server.requests("/api/tags").size(), size_t(1));

    // With no fetch running, the service goes with the view.
    view.reset();
    QVERIFY(service.isNull());
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
