// Catalogue fetch: 30 models whose show replies each take 200 ms. All show
// requests are sent at once, so the whole fetch should take about as long as
// the slowest single show request after the list arrives.
#include "BenchSupport.h"
#include "FakeOllamaServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <algorithm>
#include <cstdio>
#include <mutex>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    using namespace std::chrono_literals;
    constexpr int modelCount = 30;
    constexpr auto showDelay = 200ms;
    constexpr int runs = 5;

    FakeOllamaServer server;
    std::vector<FakeOllamaServer::Model> models;
    for (int i = 0; i < modelCount; ++i) {
        FakeOllamaServer::Model model;
        model.name = "model-" + std::to_string(i) + ":latest";
        model.showDelay = showDelay;
        models.push_back(model);
    }
    server.setModels(models);

    // When each show request reached the server, relative to the first.
    std::mutex arrivalsMutex;
    std::vector<double> arrivals;
    QElapsedTimer serverClock;
    serverClock.start();
    server.setHandler([&](const FakeOllamaServer::Request &request) -> std::optional<FakeOllamaServer::Reply> {
        if (request.path == "/api/show") {
            std::lock_guard lock(arrivalsMutex);
            arrivals.push_back(serverClock.nsecsElapsed() / 1e6);
        }
        return std::nullopt;
    });
    std::vector<double> arrivalSpreads;

    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient &http = HttpClient::shared();

    // The time of the list request alone, to subtract.
    std::vector<double> listTimes;
    std::vector<double> fetchTimes;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        bool done = false;
        timer.start();
        http.get(QUrl(server.baseURL() + QStringLiteral("/api/tags")), &app,
                 [&](const Result<QByteArray> &) { done = true; });
        BenchSupport::spinUntil([&] { return done; });
        listTimes.push_back(timer.nsecsElapsed() / 1e6);

        {
            std::lock_guard lock(arrivalsMutex);
            arrivals.clear();
        }
        StdoutCapture quiet;
        OllamaService service(prefs.settings(), http);
        timer.restart();
        service.fetchModels();
        BenchSupport::spinUntil([&] { return !service.isLoadingModels(); });
        fetchTimes.push_back(timer.nsecsElapsed() / 1e6);
        {
            std::lock_guard lock(arrivalsMutex);
            const auto [first, last] = std::minmax_element(arrivals.begin(), arrivals.end());
            arrivalSpreads.push_back(*last - *first);
        }
        if (service.availableModels().size() != modelCount) {
            std::fprintf(stderr, "fetch returned %lld models\n", static_cast<long long>(service.availableModels().size()));
            return 1;
        }
    }

    BenchSupport::printMachine();
    const double list = BenchSupport::median(listTimes);
    const double fetch = BenchSupport::median(fetchTimes);
    const double shows = fetch - list;
    const double slowest = static_cast<double>(showDelay.count());
    std::printf("catalogue fetch, %d models, %lld ms per show reply, median of %d runs\n", modelCount,
                static_cast<long long>(showDelay.count()), runs);
    std::printf("  whole fetch:                 %8.1f ms\n", fetch);
    std::printf("  list request alone:          %8.1f ms\n", list);
    std::printf("  show phase (fetch - list):   %8.1f ms\n", shows);
    std::printf("  spread of show arrivals:     %8.1f ms (all sent at once: close to 0)\n",
                BenchSupport::median(arrivalSpreads));
    std::printf("  ratio to slowest show reply: %8.2f (goal <= 1.25)\n", shows / slowest);
    return 0;
}
