// The Sentence Map window with an example set mapped.

#include "Scenes.h"
#include "Studio.h"

#include "app/Examples.h"
#include "app/QuillmereApp.h"
#include "catalogue/AppSettings.h"
#include "demos/sentencemap/SentenceMapWindow.h"

#include <QAction>

#include <cmath>

namespace {

// Embeddings for the fake server that behave like a good model's on the
// "Three Topics" set: a part every sentence shares, a direction per topic
// (three sentences each) and a little of each sentence's own.
void serveTopicVectors(FakeOllamaServer &server, const QStringList &sentences)
{
    constexpr int dimensions = 24;
    const auto wave = [](double a, double b, int i) { return std::sin(a * i + b); };
    for (int s = 0; s < sentences.size(); ++s) {
        const int topic = s / 3;
        std::vector<double> v(dimensions);
        double length = 0;
        for (int i = 0; i < dimensions; ++i) {
            const double shared = 0.55 * wave(0.9, 0.3, i);
            const double theme = i % 3 == topic ? 1.0 + 0.3 * wave(1.7, topic, i) : 0.0;
            const double own = 0.32 * wave(2.3 + 0.61 * s, 0.5 * s, i);
            v[i] = shared + theme + own;
            length += v[i] * v[i];
        }
        for (double &x : v)
            x /= std::sqrt(length);
        server.setEmbedding(sentences[s].toStdString(), v);
    }
}

} // namespace

namespace Scenes {

QList<Scene> sentenceMapScenes()
{
    return {
        {QStringLiteral("sentence-map"),
         QStringLiteral("Sentence Map: the Three Topics example mapped, grid, map and neighbours"),
         [](Studio &studio) {
             studio.settings().setSelectedEmbeddingModel(Studio::embeddingModel);
             const SentenceSet &set = Examples::sentenceSets().constFirst();
             serveTopicVectors(studio.server(), set.sentences);
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
