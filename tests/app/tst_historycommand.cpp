#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/Examples.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "demos/DemoHistory.h"
#include "demos/sentencemap/SentenceMapWindow.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "demos/DemoHistory.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

// What a main window's demo screen holds in its editors, in their order.
QStringList screenTexts(MainWindow *window)
{
    QWidget *screen = window->contentView()->currentScreen();
    if (auto *sentiment = qobject_cast<SentimentAnalysisView *>(screen))
        return {sentiment->inputText()};
    auto *similarity = qobject_cast<SentenceSimilarityView *>(screen);
    return {similarity->sentence1(), similarity->sentence2()};
}

} // namespace

// The commands that put texts back into a main window's demo, the Examples
// menu and "Use Again" in the History window, fill the active main window
// and start nothing.
class TestHistoryCommand : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        m_server.setEmbedding("a", {1, 0});
        m_server.setEmbedding("b", {0, 1});
        m_prefs.settings().setOllamaURL(m_server.baseURL());
        m_prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2"));
        m_prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text"));
    }

    void examplesAndUseAgainFillTheActiveWindow()
    {
        QuillmereApp app(m_prefs.settings());
        MainWindow *first = app.openMainWindow();
        MainWindow *second = app.openMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(second));
        QTest::keyClicks(first->contentView()->currentScreen()->findChild<QPlainTextEdit *>(), QStringLiteral("mine"));
        QList<QAction *> offered;
        for (QMenu *menu : second->menuBar()->findChild<QMenu *>(QStringLiteral("examplesMenu"))->findChildren<QMenu *>())
            offered += menu->actions();

        // Every example is on the menu and replaces what was typed, switching
        // demo when it has to.
        for (qsizetype i = 0; i < Examples::all().size(); ++i) {
            const Example &example = Examples::all().at(i);
            QVERIFY2(offered.contains(app.exampleActions().at(i)), qPrintable(example.id));
            QCOMPARE(example.texts.size(), example.demo == DemoType::sentimentAnalysis ? 1 : 2);
            for (QPlainTextEdit *editor : second->contentView()->currentScreen()->findChildren<QPlainTextEdit *>())
                QTest::keyClicks(editor, QStringLiteral("draft"));
            app.exampleActions().at(i)->trigger();
            QCOMPARE(second->contentView()->selectedDemo(), example.demo);
            QCOMPARE(screenTexts(second), example.texts);
        }

        // Ctrl+H opens the one History window; "Use Again" puts a row's texts
        // back exactly, into the main window that was active last.
        QTest::keyClick(second, Qt::Key_H, Qt::ControlModifier);
        HistoryWindow *history = app.historyWindow();
        QVERIFY(history);
        QCOMPARE(app.openHistoryWindow(), history);
        for (const HistoryEntry &entry :
             {DemoHistory::failure(DemoType::sentimentAnalysis, "m", {"Génial\u00a0! \"trip\"\nreally"}, "Error: x"),
              DemoHistory::failure(DemoType::sentenceSimilarity, "m", {"The dog bit.", "B\u2028b"}, "Error: x")}) {
            app.history().add(entry);
            history->table()->selectRow(0);
            QTest::mouseClick(history->findChild<QPushButton *>(QStringLiteral("useAgainButton")), Qt::LeftButton);
            QCOMPARE(DemoTypes::title(second->contentView()->selectedDemo()), entry.demo);
            QCOMPARE(screenTexts(second), entry.texts);
        }
        QCOMPARE(screenTexts(first), QStringList{QStringLiteral("mine")});
        QCoreApplication::processEvents();
        QCOMPARE(app.history().size(), 2);
    }

    void historyGathersEveryWindowsResults()
    {
        QuillmereApp app(m_prefs.settings());
        MainWindow *first = app.openMainWindow();
        MainWindow *second = app.openMainWindow();
        app.useTexts(DemoType::sentenceSimilarity, {QStringLiteral("a"), QStringLiteral("b")});
        qobject_cast<SentenceSimilarityView *>(second->contentView()->currentScreen())->calculateSimilarity();
        auto *sentiment = qobject_cast<SentimentAnalysisView *>(first->contentView()->currentScreen());
        sentiment->setInputText(QStringLiteral("Great"));
        sentiment->analyzeSentiment();
        QTRY_COMPARE(app.history().size(), 2);
        // A Sentence Map run too, whichever way it ends: one row per run with
        // the model, the sentences one per line and the closest pair.
        SentenceMapWindow *map = app.openSentenceMapWindow();
        m_server.setEmbedding("c", {3, 4});
        map->setSentences({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        map->mapSentences();
        QTRY_COMPARE(app.history().size(), 3);
        m_server.enqueue("POST", "/api/embed", FakeOllamaServer::Reply::text(403, ""));
        map->mapSentences();
        QTRY_COMPARE(app.history().size(), 4);
        const HistoryEntry mapped = app.history().entries().at(1);
        QCOMPARE((QStringList{mapped.demo, mapped.model, mapped.texts.join('|'), mapped.result, mapped.valueText}),
                 (QStringList{"Sentence Map", "nomic-embed-text", "a\nb\nc", "3 sentences, closest 2 and 3 at 80 %", "0.8"}));
        QCOMPARE(app.history().entries().at(0).error, QStringLiteral("Error: HTTP 403 Forbidden"));

        // Closing the History window discards the window, not the history.
        QPointer<HistoryWindow> window = app.openHistoryWindow();
        QCOMPARE(window->table()->model()->rowCount(), 4);
        // "Use Again" on a map's row puts its sentences back into the map.
        map->setSentences({});
        window->table()->selectRow(1);
        window->useAgain();
        QCOMPARE(map->sentences(), (QStringList{"a", "b", "c"}));
        window->close();
        QTRY_VERIFY(window.isNull());
        QCOMPARE(app.openHistoryWindow()->table()->model()->rowCount(), 4);
    }

private:
    FakeOllamaServer m_server;
    TestSettings m_prefs;
};

QTEST_MAIN(TestHistoryCommand)
#include "tst_historycommand.moc"
