#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/SegmentedControl.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"

#include <QAccessible>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

QPlainTextEdit *firstEditor(QWidget *screen)
{
    return screen->findChild<QPlainTextEdit *>();
}

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

} // namespace

Q_DECLARE_METATYPE(Way)

class TestContentView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startsOnSentimentAsExclusiveChoices();
    void everyWayOfChoosingSwitchesTheDemo_data();
    void everyWayOfChoosingSwitchesTheDemo();
    void choosingTheChosenDemoKeepsTheScreen();
    void tabEntersAtTheChosenSegment();
    void firstAppearanceFetchesOnce();
    void cannotShrinkBelowMinimum();

private:
    std::unique_ptr<TestSettings> m_prefs;
};

void TestContentView::init()
{
    // Nothing listens on this loopback port, so the fetch at each window's
    // first appearance fails at once. Tests about the fetch start a server.
    m_prefs = std::make_unique<TestSettings>();
    m_prefs->settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
}

void TestContentView::startsOnSentimentAsExclusiveChoices()
{
    MainWindow window(m_prefs->settings());
    window.show();
    ContentView *view = window.contentView();
    QVERIFY(qobject_cast<SentimentAnalysisView *>(view->currentScreen()));
    // With no server the window still opens, and the fetch reports it.
    QTRY_VERIFY(!view->service().isLoadingModels());
    QVERIFY(view->service().modelError().value_or(QString()).startsWith(QStringLiteral("Failed to fetch models: ")));

    // Screen readers see a named group of radio buttons, the first checked.
    QAccessibleInterface *group = accessible(view->findChild<SegmentedControl *>());
    QCOMPARE(group->role(), QAccessible::Grouping);
    QCOMPARE(group->text(QAccessible::Name), QStringLiteral("Demo Type"));
    QCOMPARE(group->childCount(), 2);
    const QStringList titles{QStringLiteral("Sentiment Analysis"), QStringLiteral("Sentence Similarity")};
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface *segment = group->child(i);
        QCOMPARE(segment->role(), QAccessible::RadioButton);
        QCOMPARE(segment->text(QAccessible::Name), titles[i]);
        QCOMPARE(bool(segment->state().checked), i == 0);
    }
}

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

    ContentView view(m_prefs->settings());
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    auto *picker = view.findChild<SegmentedControl *>();
    QSignalSpy changes(&view, &ContentView::selectedDemoChanged);
    QPointer<QWidget> sentiment = view.currentScreen();
    QTest::keyClicks(firstEditor(sentiment), QStringLiteral("What a lovely day"));

    choose(picker, 1, way);
    QCOMPARE(view.selectedDemo(), DemoType::sentenceSimilarity);
    QVERIFY2(sentiment.isNull(), "the replaced screen is deleted");
    QVERIFY(qobject_cast<SentenceSimilarityView *>(view.currentScreen()));
    QVERIFY(view.currentScreen()->isVisible());
    QVERIFY(accessible(picker->segment(1))->state().checked);
    QVERIFY(!accessible(picker->segment(0))->state().checked);

    // Back again: a fresh screen, the typed text gone.
    choose(picker, 0, way);
    QCOMPARE(view.selectedDemo(), DemoType::sentimentAnalysis);
    QVERIFY(qobject_cast<SentimentAnalysisView *>(view.currentScreen()));
    QVERIFY(firstEditor(view.currentScreen())->toPlainText().isEmpty());
    QCOMPARE(picker->currentIndex(), 0);
    QCOMPARE(changes.size(), 2);
    QCOMPARE(view.findChildren<SentenceSimilarityView *>().size(), 0);
}

void TestContentView::choosingTheChosenDemoKeepsTheScreen()
{
    ContentView view(m_prefs->settings());
    view.show();
    auto *picker = view.findChild<SegmentedControl *>();
    QSignalSpy changes(&view, &ContentView::selectedDemoChanged);
    QPointer<QWidget> screen = view.currentScreen();
    QTest::keyClicks(firstEditor(screen), QStringLiteral("keep me"));

    QTest::mouseClick(picker->segment(0), Qt::LeftButton);
    choose(picker, 0, Way::AccessibleAction);
    view.setSelectedDemo(DemoType::sentimentAnalysis);

    QCOMPARE(view.currentScreen(), screen.data());
    QCOMPARE(firstEditor(screen)->toPlainText(), QStringLiteral("keep me"));
    QVERIFY(picker->segment(0)->isChecked());
    QCOMPARE(changes.size(), 0);
}

void TestContentView::tabEntersAtTheChosenSegment()
{
    // Like a group of radio buttons: Tab stops once, on the chosen segment.
    ContentView view(m_prefs->settings());
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    auto *picker = view.findChild<SegmentedControl *>();
    view.setSelectedDemo(DemoType::sentenceSimilarity);
    picker->segment(1)->setFocus(Qt::TabFocusReason);

    QTest::keyClick(picker->segment(1), Qt::Key_Tab);
    QVERIFY(view.currentScreen()->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), picker->segment(1));
    QCOMPARE(view.selectedDemo(), DemoType::sentenceSimilarity);
}

void TestContentView::firstAppearanceFetchesOnce()
{
    FakeOllamaServer server;
    m_prefs->settings().setOllamaURL(server.baseURL());
    auto view = std::make_unique<ContentView>(m_prefs->settings());
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

void TestContentView::cannotShrinkBelowMinimum()
{
    MainWindow window(m_prefs->settings());
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // What the window adds around its content (the menu bar).
    const int chrome = window.height() - window.contentView()->height();

    for (const QSize requested : {QSize(100, 80), QSize(599, 760), QSize(900, 300), QSize(800, 760)}) {
        window.resize(requested);
        const QSize expected(qMax(requested.width(), 600), qMax(requested.height() - chrome, 500));
        QTRY_COMPARE(window.contentView()->size(), expected);
    }
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
