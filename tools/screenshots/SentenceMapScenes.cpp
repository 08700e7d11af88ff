// The Sentence Map window with an example set mapped.

#include "Scenes.h"
#include "Studio.h"

#include "app/Examples.h"
#include "app/QuillmereApp.h"
#include "catalogue/AppSettings.h"
#include "demos/sentencemap/SentenceMapWindow.h"

#include "SenseEmbedder.h"

#include <QAction>

namespace {

const QString standinModel = QStringLiteral("standin-embedding:latest");

// The offline stand-in's own vectors for the sentences, served by the fake
// server under the stand-in's model name, so that the picture shows what a
// first run without a model shows.
void serveStandinVectors(FakeOllamaServer &server, const QStringList &sentences)
{
    std::vector<FakeOllamaServer::Model> models = Studio::standardModels();
    FakeOllamaServer::Model standin;
    standin.name = standinModel.toStdString();
    standin.capabilities = {"embedding"};
    standin.family = "standin";
    standin.size = 16384;
    models.push_back(standin);
    server.setModels(std::move(models));
    for (const QString &sentence : sentences)
        server.setEmbedding(sentence.toStdString(), SenseEmbedder::shared().embed(sentence.toStdString()));
}

} // namespace

namespace Scenes {

QList<Scene> sentenceMapScenes()
{
    return {
        {QStringLiteral("sentence-map"),
         QStringLiteral("Sentence Map: the Three Topics example mapped with the offline stand-in's vectors"),
         [](Studio &studio) {
             studio.settings().setSelectedEmbeddingModel(standinModel);
             const SentenceSet &set = Examples::sentenceSets().constFirst();
             serveStandinVectors(studio.server(), set.sentences);
             studio.app().sentenceSetActions().constFirst()->trigger();
             SentenceMapWindow *window = studio.app().sentenceMapWindow();
             if (!window)
                 throw SceneFailure(QStringLiteral("the Sentence Map window did not open"));
             studio.showWindow(window, QSize(1180, 1310));
             window->mapSentences();
             studio.waitUntil(QStringLiteral("the sentences mapped"), [window] { return window->result().has_value(); });
             Studio::settle();
             return static_cast<QWidget *>(window);
         }},
    };
}

} // namespace Scenes
