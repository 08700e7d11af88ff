// The History window and the Examples menu.

#include "Scenes.h"
#include "Studio.h"

#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/AppSettings.h"
#include "demos/DemoHistory.h"
#include "demos/sentencemap/SentenceMapMath.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"

#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

namespace {

// A morning's worth of analyses, oldest first, one of them failed.
void fillHistory(SessionHistory &history)
{
    history.add(DemoHistory::sentiment(Studio::languageModel,
                                        QStringLiteral("We spent a week by the sea. The little hotel was lovely."), 4));
    history.add(DemoHistory::similarity(Studio::embeddingModel, QStringLiteral("The cat sat on the mat."),
                                         QStringLiteral("A cat was sitting on the rug."), 0.87f));
    history.add(DemoHistory::failure(DemoType::sentimentAnalysis, Studio::languageModel,
                                      {QStringLiteral("The train was late again.")},
                                      QStringLiteral("Error: Connection refused")));
    history.add(DemoHistory::sentiment(Studio::thinkingModel,
                                        QStringLiteral("The train was late again and nobody told us why."), 2));
    history.add(DemoHistory::similarity(Studio::embeddingModel, QStringLiteral("I love pizza."),
                                         QStringLiteral("The stock market fell today."), 0.12f));
    history.add(DemoHistory::sentenceMap(
        Studio::embeddingModel,
        {QStringLiteral("The cat sat on the mat."), QStringLiteral("A cat was sitting on the rug."),
         QStringLiteral("The stock market fell today.")},
        SentenceMap::computeLayout({{1.0f, 0.1f, 0.0f}, {0.9f, 0.2f, 0.1f}, {0.0f, 0.1f, 1.0f}})));
}

} // namespace

namespace Scenes {

QList<Scene> historyScenes()
{
    return {
        {QStringLiteral("history"), QStringLiteral("History: five entries of both demos, one failed, and a Sentence Map run"),
         [](Studio &studio) {
             fillHistory(studio.app().history());
             HistoryWindow *window = studio.openHistory();
             studio.waitUntil(QStringLiteral("six rows in the table"),
                              [window] { return window->table()->model()->rowCount() == 6; });
             return static_cast<QWidget *>(window);
         }},

        {QStringLiteral("examples-menu"),
         QStringLiteral("Main window: the Examples menu open on its Sentiment Analysis texts"),
         [](Studio &studio) {
             studio.settings().setSelectedLLMModel(Studio::languageModel);
             MainWindow *window = studio.openMainWindow(DemoType::sentimentAnalysis);
             auto *examples = studio.child<QMenu>(window, QStringLiteral("examplesMenu"));
             window->menuBar()->setActiveAction(examples->menuAction());
             studio.waitUntil(QStringLiteral("the Examples menu open"), [examples] { return examples->isVisible(); });
             auto *texts = studio.child<QMenu>(examples, QStringLiteral("sentimentExamplesMenu"));
             examples->setActiveAction(texts->menuAction());
             QTest::keyClick(examples, Qt::Key_Right);
             studio.waitUntil(QStringLiteral("the Sentiment Analysis examples open"),
                              [texts] { return texts->isVisible(); });
             return static_cast<QWidget *>(window);
         }},
    };
}

} // namespace Scenes
