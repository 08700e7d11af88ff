// Responsiveness: the longest stall of the main thread while the catalogue
// fetches 500 models whose show replies are about 30 KB each, and while both
// demo clients and the catalogue read a reply nested 100000 arrays deep.
#include "BenchSupport.h"
#include "FakeOllamaServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    constexpr int modelCount = 500;

    FakeOllamaServer server;
    std::vector<FakeOllamaServer::Model> models;
    for (int i = 0; i < modelCount; ++i) {
        FakeOllamaServer::Model model;
        model.name = "model-" + std::to_string(i) + ":latest";
        models.push_back(model);
    }
    server.setModels(models);
    // A show reply of about 30 KB: a long licence, repeated in the modelfile.
    const std::string licence(14000, 'L');
    // The reply is built once, so the server (which shares this machine's
    // cores) spends as little time as it can on it.
    const std::string showReply = nlohmann::json{
        {"license", licence},
        {"modelfile", "FROM x\nLICENSE \"\"\"" + licence + "\"\"\"\n"},
        {"details", {{"format", "gguf"}, {"family", "llama"}, {"parameter_size", "3.2B"}}},
        {"model_info", {{"llama.context_length", 131072}, {"tokenizer.ggml.tokens", nullptr}}},
        {"capabilities", {"completion", "tools"}},
    }.dump();
    server.setHandler([&showReply](const FakeOllamaServer::Request &request) -> std::optional<FakeOllamaServer::Reply> {
        if (request.path != "/api/show")
            return std::nullopt;
        return FakeOllamaServer::Reply::json(showReply);
    });

    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    // The catalogue's diagnostic lines are not part of the figures.
    auto quiet = std::make_unique<StdoutCapture>();
    OllamaService service(prefs.settings(), HttpClient::shared());

    // A timer that should fire every millisecond; the longest gap between
    // two firings is the longest time the main thread was busy.
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    QObject::connect(&probe, &QTimer::timeout, &app, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });

    clock.start();
    probe.start(1);
    service.fetchModels();
    const bool finished = BenchSupport::spinUntil([&] { return !service.isLoadingModels(); }, 300000);
    const double total = clock.nsecsElapsed() / 1e6;
    probe.stop();
    quiet.reset();

    BenchSupport::printMachine();
    std::printf("responsiveness, %d models with ~30 KB show replies\n", modelCount);
    std::printf("  fetch finished: %s, %lld models, %.0f ms in all\n", finished ? "yes" : "no",
                static_cast<long long>(service.availableModels().size()), total);
    std::printf("  longest main-thread stall: %.2f ms (goal < 16)\n", longest / 1e6);

    // A hostile reply: every caller gets arrays nested 100000 deep.
    server.setHandler([](const FakeOllamaServer::Request &) {
        return std::optional(FakeOllamaServer::Reply::json(std::string(100000, '[') + std::string(100000, ']')));
    });
    quiet = std::make_unique<StdoutCapture>();
    QObject context;
    bool rated = false, compared = false;
    longest = 0;
    clock.restart();
    last = 0;
    probe.start(1);
    fetchSentimentScore(QStringLiteral("Lovely day"), QStringLiteral("llama3.2"), &context,
                        [&](const Result<int> &) { rated = true; }, prefs.settings(), HttpClient::shared());
    computeSimilarity(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), &context,
                      [&](const Result<float> &) { compared = true; }, prefs.settings(), HttpClient::shared());
    service.fetchModels();
    const bool nestedRead = BenchSupport::spinUntil(
        [&] { return rated && compared && !service.isLoadingModels(); }, 60000);
    probe.stop();
    quiet.reset();
    std::printf("responsiveness, a reply nested 100000 deep to both demos and the catalogue\n");
    std::printf("  all read: %s, longest main-thread stall: %.2f ms (goal < 1000)\n", nestedRead ? "yes" : "no",
                longest / 1e6);
    return finished && nestedRead ? 0 : 1;
}
