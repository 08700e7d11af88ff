#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/SegmentedControl.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"

#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(DemoType)

// The editors of a demo screen, in their order on screen.
static QList<QPlainTextEdit *> editorsOf(QWidget *screen)
{
    return screen->findChildren<QPlainTextEdit *>();
}

class TestContentView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startsOnSentimentAnalysis();
    void switchingBuildsAFreshScreen();
    void choosingTheChosenDemoKeepsTheScreen();
    void keyboardMovesTheChoice_data();
    void keyboardMovesTheChoice();
    void tabEntersAtTheChosenSegment();
    void firstAppearanceFetchesOnce();
    void noServerStillShowsAndReportsTheError();
    void serviceLivesAndDiesWithTheView();
    void cannotShrinkBelowMinimum_data();
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

void TestContentView::startsOnSentimentAnalysis()
{
    ContentView view(m_prefs->settings());
    view.show();

    QCOMPARE(view.selectedDemo(), DemoType::sentimentAnalysis);
    auto *picker = view.findChild<SegmentedControl *>();
    QVERIFY(picker);
    QCOMPARE(picker->accessibleName(), QStringLiteral("Demo Type"));
    QCOMPARE(picker->count(), 2);
    QCOMPARE(picker->currentIndex(), 0);
    QVERIFY(picker->segment(0)->isChecked());
    QCOMPARE(picker->segment(0)->text(), QStringLiteral("Sentiment Analysis"));
    QCOMPARE(picker->segment(1)->text(), QStringLiteral("Sentence Similarity"));
    QVERIFY(qobject_cast<SentimentAnalysisView *>(view.currentScreen()));
    QVERIFY(view.currentScreen()->isVisible());
}

void TestContentView::switchingBuildsAFreshScreen()
{
    ContentView view(m_prefs->settings());
    view.show();
    auto *picker = view.findChild<SegmentedControl *>();
    QSignalSpy changes(&view, &ContentView::selectedDemoChanged);

    QPointer<QWidget> firstSentiment = view.currentScreen();
    QTest::keyClicks(editorsOf(firstSentiment).value(0), QStringLiteral("What a lovely day"));
    QCOMPARE(qobject_cast<SentimentAnalysisView *>(firstSentiment.data())->inputText(),
             QStringLiteral("What a lovely day"));

    QTest::mouseClick(picker->segment(1), Qt::LeftButton);
    QCOMPARE(view.selectedDemo(), DemoType::sentenceSimilarity);
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes.at(0).at(0).value<DemoType>(), DemoType::sentenceSimilarity);
    QVERIFY2(firstSentiment.isNull(), "the replaced screen is deleted");
    QPointer<QWidget> similarity = view.currentScreen();
    QVERIFY(qobject_cast<SentenceSimilarityView *>(similarity.data()));
    QVERIFY(similarity->isVisible());
    QTest::keyClicks(editorsOf(similarity).value(0), QStringLiteral("A cat sleeps"));

    QTest::mouseClick(picker->segment(0), Qt::LeftButton);
    QCOMPARE(view.selectedDemo(), DemoType::sentimentAnalysis);
    QVERIFY(similarity.isNull());
    auto *secondSentiment = qobject_cast<SentimentAnalysisView *>(view.currentScreen());
    QVERIFY(secondSentiment);
    QVERIFY(secondSentiment->inputText().isEmpty());
    QVERIFY(editorsOf(secondSentiment).value(0)->toPlainText().isEmpty());

    // Back to similarity: its sentences are gone too.
    QTest::mouseClick(picker->segment(1), Qt::LeftButton);
    auto *secondSimilarity = qobject_cast<SentenceSimilarityView *>(view.currentScreen());
    QVERIFY(secondSimilarity);
    QVERIFY(secondSimilarity->sentence1().isEmpty());
    QCOMPARE(changes.size(), 3);
    // Only the shown screen is left in the demo area.
    QCOMPARE(view.findChildren<SentimentAnalysisView *>().size(), 0);
    QCOMPARE(view.findChildren<SentenceSimilarityView *>().size(), 1);
}

void TestContentView::choosingTheChosenDemoKeepsTheScreen()
{
    ContentView view(m_prefs->settings());
    view.show();
    auto *picker = view.findChild<SegmentedControl *>();
    QSignalSpy changes(&view, &ContentView::selectedDemoChanged);
    QPointer<QWidget> screen = view.currentScreen();
    QTest::keyClicks(editorsOf(screen).value(0), QStringLiteral("keep me"));

    QTest::mouseClick(picker->segment(0), Qt::LeftButton);
    view.setSelectedDemo(DemoType::sentimentAnalysis);

    QCOMPARE(view.currentScreen(), screen.data());
    QCOMPARE(editorsOf(screen).value(0)->toPlainText(), QStringLiteral("keep me"));
    QVERIFY(picker->segment(0)->isChecked());
    QCOMPARE(changes.size(), 0);
}

void TestContentView::keyboardMovesTheChoice_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<DemoType>("expected");

    QTest::newRow("right") << 0 << int(Qt::Key_Right) << DemoType::sentenceSimilarity;
    QTest::newRow("down") << 0 << int(Qt::Key_Down) << DemoType::sentenceSimilarity;
    QTest::newRow("left back") << 1 << int(Qt::Key_Left) << DemoType::sentimentAnalysis;
    QTest::newRow("right at the end") << 1 << int(Qt::Key_Right) << DemoType::sentenceSimilarity;
    QTest::newRow("space on the other") << -1 << int(Qt::Key_Space) << DemoType::sentenceSimilarity;
}

void TestContentView::keyboardMovesTheChoice()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(DemoType, expected);

    ContentView view(m_prefs->settings());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    auto *picker = view.findChild<SegmentedControl *>();
    if (from >= 0) {
        view.setSelectedDemo(DemoTypes::allCases().at(from));
        picker->segment(from)->setFocus(Qt::TabFocusReason);
    } else {
        // Space chooses a focused, unchosen segment.
        picker->segment(1)->setFocus(Qt::OtherFocusReason);
    }

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(view.selectedDemo(), expected);
    QCOMPARE(picker->currentIndex(), int(DemoTypes::allCases().indexOf(expected)));
    QCOMPARE(view.currentScreen()->metaObject()->className(),
             expected == DemoType::sentimentAnalysis ? "SentimentAnalysisView" : "SentenceSimilarityView");
}

void TestContentView::tabEntersAtTheChosenSegment()
{
    // Like a group of radio buttons: Tab stops once, on the chosen segment,
    // and the arrow keys move between segments.
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
    ContentView view(m_prefs->settings());
    QSignalSpy loading(&view.service(), &OllamaService::isLoadingModelsChanged);
    QVERIFY(!view.service().isLoadingModels());
    QCOMPARE(loading.size(), 0);

    view.show();
    QVERIFY(view.service().isLoadingModels());
    QTRY_VERIFY(!view.service().isLoadingModels());
    QCOMPARE(server.requests("/api/tags").size(), size_t(1));
    QVERIFY(!view.service().modelError());
    QCOMPARE(view.service().availableModels().size(), 0);

    view.hide();
    view.show();
    // A second fetch would have marked the service busy at once.
    QVERIFY(!view.service().isLoadingModels());
    QCOMPARE(loading.size(), 2);
    QCOMPARE(server.requests("/api/tags").size(), size_t(1));
}

void TestContentView::noServerStillShowsAndReportsTheError()
{
    MainWindow window(m_prefs->settings());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ContentView *view = window.contentView();
    QTRY_VERIFY(!view->service().isLoadingModels());
    QVERIFY(view->service().modelError().has_value());
    QVERIFY(view->service().modelError()->startsWith(QStringLiteral("Failed to fetch models: ")));
    QVERIFY(qobject_cast<SentimentAnalysisView *>(view->currentScreen()));
}

void TestContentView::serviceLivesAndDiesWithTheView()
{
    auto view = std::make_unique<ContentView>(m_prefs->settings());
    QPointer<OllamaService> service = &view->service();
    QPointer<QWidget> screen = view->currentScreen();
    view->setSelectedDemo(DemoType::sentenceSimilarity);
    QCOMPARE(&view->service(), service.data());
    view.reset();
    QVERIFY(service.isNull());
    QVERIFY(screen.isNull());
}

void TestContentView::cannotShrinkBelowMinimum_data()
{
    QTest::addColumn<QSize>("requested");

    QTest::newRow("tiny") << QSize(100, 80);
    QTest::newRow("too narrow") << QSize(400, 760);
    QTest::newRow("too low") << QSize(900, 300);
    QTest::newRow("just below") << QSize(599, 499);
    QTest::newRow("roomy") << QSize(800, 760);
}

void TestContentView::cannotShrinkBelowMinimum()
{
    QFETCH(QSize, requested);

    MainWindow window(m_prefs->settings());
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // What the window adds around its content (the menu bar).
    const int chrome = window.height() - window.contentView()->height();

    window.resize(requested);
    const QSize expected(qMax(requested.width(), 600), qMax(requested.height() - chrome, 500));
    QTRY_COMPARE(window.contentView()->size(), expected);
}

QTEST_MAIN(TestContentView)
#include "tst_contentview.moc"
