#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

Q_DECLARE_METATYPE(DemoType)

namespace {

QStringList editorTexts(MainWindow *window)
{
    QStringList texts;
    QWidget *screen = window->contentView()->currentScreen();
    for (const char *name : {"inputEditor", "sentence1Editor", "sentence2Editor"}) {
        if (auto *editor = screen->findChild<QPlainTextEdit *>(QString::fromLatin1(name)))
            texts.append(editor->toPlainText());
    }
    return texts;
}

// Selects the shown row and presses "Use Again".
void useAgain(HistoryWindow *window, int row)
{
    QTableView *table = window->table();
    table->selectionModel()->select(table->model()->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("useAgainButton")), Qt::LeftButton);
}

} // namespace

class TestHistoryCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void oneHistoryWindowOnCtrlH();
    void useAgainFillsTheLastActiveMainWindow_data();
    void useAgainFillsTheLastActiveMainWindow();
    void useAgainWithNoMainWindowOpensOne();
    void historyGathersEveryWindowsResults();

private:
    std::unique_ptr<TestSettings> m_prefs;
};

void TestHistoryCommand::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestHistoryCommand::init()
{
    m_prefs = std::make_unique<TestSettings>();
    m_prefs->settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
    SessionHistory::shared().clear();
}

void TestHistoryCommand::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestHistoryCommand::oneHistoryWindowOnCtrlH()
{
    QuillmereApp app(m_prefs->settings());
    MainWindow *main = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(main));
    QVERIFY(!app.historyWindow());
    auto *viewMenu = main->menuBar()->findChild<QMenu *>(QStringLiteral("viewMenu"));
    QVERIFY(viewMenu->actions().contains(app.historyAction()));

    QTest::keyClick(main, Qt::Key_H, Qt::ControlModifier);
    QPointer<HistoryWindow> window = app.historyWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("History"));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));

    // Again from the main window: the same window, brought back.
    window->showMinimized();
    app.historyAction()->trigger();
    QCOMPARE(app.historyWindow(), window.data());
    QVERIFY(!(window->windowState() & Qt::WindowMinimized));
    int open = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        open += qobject_cast<HistoryWindow *>(widget) ? 1 : 0;
    QCOMPARE(open, 1);

    // Closing it discards the window, not the history.
    SessionHistory::shared().add(HistoryEntry::sentiment("m", "t", 4));
    window->close();
    QTRY_VERIFY(window.isNull());
    QCOMPARE(SessionHistory::shared().size(), 1);
    QCOMPARE(app.openHistoryWindow()->table()->model()->rowCount(), 1);
}

void TestHistoryCommand::useAgainFillsTheLastActiveMainWindow_data()
{
    QTest::addColumn<DemoType>("demo");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("failed");
    QTest::newRow("sentiment result") << DemoType::sentimentAnalysis << QStringList{"Lovely \"trip\"\nreally"}
                                      << false;
    QTest::newRow("similarity result") << DemoType::sentenceSimilarity << QStringList{"The dog bit the man.",
                                                                                       "The man bit the dog."}
                                       << false;
    QTest::newRow("similarity failure") << DemoType::sentenceSimilarity << QStringList{"A", "B"} << true;
}

void TestHistoryCommand::useAgainFillsTheLastActiveMainWindow()
{
    QFETCH(DemoType, demo);
    QFETCH(QStringList, texts);
    QFETCH(bool, failed);
    HistoryEntry entry = failed ? HistoryEntry::failure(demo, "m", texts, "Error: refused")
                         : demo == DemoType::sentimentAnalysis ? HistoryEntry::sentiment("m", texts.at(0), 4)
                                                               : HistoryEntry::similarity("m", texts.at(0),
                                                                                          texts.at(1), 0.4f);
    SessionHistory::shared().add(HistoryEntry::sentiment("m", "older", 2));
    SessionHistory::shared().add(entry);

    QuillmereApp app(m_prefs->settings());
    MainWindow *first = app.openMainWindow();
    MainWindow *second = app.openMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(second));
    HistoryWindow *history = app.openHistoryWindow();
    QVERIFY(QTest::qWaitForWindowActive(history));

    useAgain(history, 0);
    QCOMPARE(second->contentView()->selectedDemo(), demo);
    QCOMPARE(editorTexts(second), texts);
    QCOMPARE(first->contentView()->selectedDemo(), DemoType::sentimentAnalysis);
    QCOMPARE(editorTexts(first), QStringList{QString()});
    // The filled window comes forward; nothing was sent.
    QTRY_COMPARE(QApplication::activeWindow(), second);
    QCOMPARE(SessionHistory::shared().size(), 2);
}

void TestHistoryCommand::useAgainWithNoMainWindowOpensOne()
{
    SessionHistory::shared().add(HistoryEntry::similarity("m", "one", "two", 0.5f));
    QuillmereApp app(m_prefs->settings());
    QPointer<MainWindow> main = app.openMainWindow();
    HistoryWindow *history = app.openHistoryWindow();
    main->close();
    QTRY_VERIFY(main.isNull());
    QVERIFY(app.mainWindows().isEmpty());

    useAgain(history, 0);
    QCOMPARE(app.mainWindows().size(), 1);
    MainWindow *opened = app.mainWindows().first();
    QCOMPARE(opened->contentView()->selectedDemo(), DemoType::sentenceSimilarity);
    QCOMPARE(editorTexts(opened), (QStringList{"one", "two"}));
}

void TestHistoryCommand::historyGathersEveryWindowsResults()
{
    FakeOllamaServer server;
    server.setGenerateResponse("5");
    server.setEmbedding("a", {1, 0});
    server.setEmbedding("b", {0, 1});
    m_prefs->settings().setOllamaURL(server.baseURL());
    m_prefs->settings().setSelectedLLMModel(QStringLiteral("llama3.2"));
    m_prefs->settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text"));

    QuillmereApp app(m_prefs->settings());
    MainWindow *first = app.openMainWindow();
    MainWindow *second = app.openMainWindow();
    app.useTexts(DemoType::sentenceSimilarity, {QStringLiteral("a"), QStringLiteral("b")});
    auto *similarity = qobject_cast<SentenceSimilarityView *>(second->contentView()->currentScreen());
    QVERIFY(similarity);
    similarity->calculateSimilarity();
    auto *sentiment = qobject_cast<SentimentAnalysisView *>(first->contentView()->currentScreen());
    sentiment->setInputText(QStringLiteral("Great"));
    sentiment->analyzeSentiment();
    QTRY_COMPARE(SessionHistory::shared().size(), 2);

    const QAbstractItemModel *shown = app.openHistoryWindow()->table()->model();
    QCOMPARE(shown->rowCount(), 2);
    QSet<QString> demos;
    for (int row = 0; row < 2; ++row)
        demos.insert(shown->index(row, SessionHistory::DemoColumn).data().toString());
    QCOMPARE(demos, (QSet<QString>{"Sentiment Analysis", "Sentence Similarity"}));
    QTRY_VERIFY(!similarity->isCalculating() && !sentiment->isAnalyzing());
}

QTEST_MAIN(TestHistoryCommand)
#include "tst_historycommand.moc"
