// Demo request overhead: the time from a demo button's action to the result
// on screen, minus the time the same HTTP exchange takes on its own (the
// server's reply time as the client sees it). What remains is the app's own
// work: building the request, reading the reply, scoring and redrawing.
#include "BenchSupport.h"
#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "demos/similarity/SimilarityClient.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>

#include <cstdio>
#include <random>
#include <thread>

namespace {

constexpr int runs = 100;

double rawExchange(HttpClient &http, const QString &url, const QByteArray &body, int requests)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        for (int r = 0; r < requests; ++r) {
            // One after the other, as the similarity demo does.
            bool done = false;
            http.postJSON(QUrl(url), body, qApp, [&](const Result<QByteArray> &) { done = true; });
            BenchSupport::spinUntil([&] { return done; });
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return BenchSupport::median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    FakeOllamaServer server;
    FakeOllamaServer::Model llm;
    llm.name = "llama3.2:latest";
    FakeOllamaServer::Model embedder;
    embedder.name = "nomic-embed-text:latest";
    embedder.capabilities = std::vector<std::string>{"embedding"};
    server.setModels({llm, embedder});
    // 768-dimension vectors, like nomic-embed-text's.
    std::mt19937 random(7);
    std::normal_distribution<double> normal;
    for (const char *sentence : {"The cat sat on the mat", "A feline rested on the rug"}) {
        std::vector<double> vector(768);
        for (double &x : vector)
            x = normal(random);
        server.setEmbedding(sentence, vector);
    }

    // The server takes 20 ms to answer, as a (very fast) model would: the
    // busy state is drawn while it works, as it is in real use, and the same
    // wait is in the HTTP exchange that is subtracted.
    server.setHandler([](const FakeOllamaServer::Request &) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return std::optional<FakeOllamaServer::Reply>();
    });

    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2:latest"));
    prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text:latest"));
    HttpClient &http = HttpClient::shared();
    OllamaService service(prefs.settings(), http);

    const QString text = QStringLiteral("I love this beautiful sunny day!");
    SentimentAnalysisView sentiment(service, prefs.settings(), http);
    sentiment.resize(700, 640);
    sentiment.show();
    sentiment.findChild<QPlainTextEdit *>()->setPlainText(text);

    std::vector<double> sentimentTimes;
    std::vector<double> sentimentStateTimes;
    std::vector<double> sentimentActionTimes; // the button's action alone, up to the busy state
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        sentiment.analyzeSentiment();
        sentimentActionTimes.push_back(timer.nsecsElapsed() / 1e6);
        BenchSupport::spinUntil([&] { return !sentiment.isAnalyzing(); });
        sentimentStateTimes.push_back(timer.nsecsElapsed() / 1e6);
        sentiment.repaint(); // the result drawn
        sentimentTimes.push_back(timer.nsecsElapsed() / 1e6);
        if (sentiment.sentimentScore() < 1)
            return 1;
    }
    const double sentimentRaw = rawExchange(http, server.baseURL() + QStringLiteral("/api/generate"),
                                            SentimentClient::generateRequestBody(text, QStringLiteral("llama3.2:latest")), 1);

    SentenceSimilarityView similarity(service, prefs.settings(), http);
    similarity.resize(700, 640);
    similarity.show();
    const auto editors = similarity.findChildren<QPlainTextEdit *>();
    editors.at(0)->setPlainText(QStringLiteral("The cat sat on the mat"));
    editors.at(1)->setPlainText(QStringLiteral("A feline rested on the rug"));
    std::vector<double> similarityTimes;
    std::vector<double> similarityStateTimes;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        similarity.calculateSimilarity();
        BenchSupport::spinUntil([&] { return !similarity.isCalculating(); });
        similarityStateTimes.push_back(timer.nsecsElapsed() / 1e6);
        similarity.repaint();
        similarityTimes.push_back(timer.nsecsElapsed() / 1e6);
        if (!similarity.hasCalculated())
            return 1;
    }
    const double similarityRaw = rawExchange(
        http, server.baseURL() + QStringLiteral("/api/embed"),
        SimilarityClient::embedRequestBody(QStringLiteral("The cat sat on the mat"), QStringLiteral("nomic-embed-text:latest")),
        2);

    BenchSupport::printMachine();
    const double s = BenchSupport::median(sentimentTimes);
    const double m = BenchSupport::median(similarityTimes);
    std::printf("demo request overhead, median of %d runs\n", runs);
    std::printf("  sentiment:  the action itself (to the busy state) %.3f ms\n", BenchSupport::median(sentimentActionTimes));
    std::printf("  sentiment:  action to result state %.3f ms; similarity: %.3f ms\n",
                BenchSupport::median(sentimentStateTimes), BenchSupport::median(similarityStateTimes));
    std::printf("  sentiment:  action to result %.3f ms, HTTP exchange alone %.3f ms, overhead %.3f ms (goal < 1)\n",
                s, sentimentRaw, s - sentimentRaw);
    std::printf("  similarity: action to result %.3f ms, two HTTP exchanges alone %.3f ms, overhead %.3f ms (goal < 1)\n",
                m, similarityRaw, m - similarityRaw);
    return 0;
}
