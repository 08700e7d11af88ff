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

// Embeddings for the fake server that behave like a good model's on the
// "Three Topics" set: a part every sentence shares, a direction per topic
// (`perTopic` sentences each) and a little of each sentence's own. The last
// topic takes the shared part with the opposite sign, so that its sentences
// and the first topic's point away from each other (a negative cosine,
// shown as 0 %).
void serveTopicVectors(FakeOllamaServer &server, const QStringList &sentences, int perTopic = 3)
{
    constexpr int dimensions = 24;
    const auto wave = [](double a, double b, int i) { return std::sin(a * i + b); };
    const int topics = int((sentences.size() + perTopic - 1) / perTopic);
    for (int s = 0; s < sentences.size(); ++s) {
        const int topic = s / perTopic;
        std::vector<double> v(dimensions);
        double length = 0;
        for (int i = 0; i < dimensions; ++i) {
            const double shared = (topic == topics - 1 ? -0.55 : 0.55) * wave(0.9, 0.3, i);
            const double theme = i % topics == topic ? 1.0 + 0.3 * wave(1.7, topic, i) : 0.0;
            const double own = 0.32 * wave(2.3 + 0.61 * s, 0.5 * s, i);
            v[i] = shared + theme + own;
            length += v[i] * v[i];
        }
        for (double &x : v)
            x /= std::sqrt(length);
        server.setEmbedding(sentences[s].toStdString(), v);
    }
}

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
             studio.showWindow(window, QSize(1280, 1120));
             window->mapSentences();
             studio.waitUntil(QStringLiteral("the sentences mapped"),
                              [window] { return window->result().has_value() && !window->isMapping(); });
             Studio::settle();
             return static_cast<QWidget *>(window);
         }},
        {QStringLiteral("sentence-map-16"),
         QStringLiteral("Sentence Map: sixteen sentences mapped in a window of 1366 × 768"),
         [](Studio &studio) {
             studio.settings().setSelectedEmbeddingModel(Studio::embeddingModel);
             const QStringList sentences = {
                 QStringLiteral("The cat sat on the mat."), QStringLiteral("A kitten slept on the rug."),
                 QStringLiteral("My dog chases every ball."), QStringLiteral("Puppies love to play outside."),
                 QStringLiteral("The stock market fell today."), QStringLiteral("Shares dropped sharply at noon."),
                 QStringLiteral("Investors sold their bonds."), QStringLiteral("Interest rates rose again."),
                 QStringLiteral("Bake the bread for an hour."), QStringLiteral("Knead the dough until smooth."),
                 QStringLiteral("Add a pinch of salt to the soup."), QStringLiteral("Stir the sauce over low heat."),
                 QStringLiteral("The train leaves at seven."), QStringLiteral("Our flight was delayed twice."),
                 QStringLiteral("The bus stop is around the corner."), QStringLiteral("We missed the last ferry home."),
             };
             serveTopicVectors(studio.server(), sentences, 4);
             SentenceMapWindow *window = studio.app().openSentenceMapWindow();
             window->setSentences(sentences);
             studio.showWindow(window, QSize(1366, 768));
             window->mapSentences();
             studio.waitUntil(QStringLiteral("the sentences mapped"),
                              [window] { return window->result().has_value() && !window->isMapping(); });
             Studio::settle();
             return static_cast<QWidget *>(window);
         }},
    };
}

} // namespace Scenes
