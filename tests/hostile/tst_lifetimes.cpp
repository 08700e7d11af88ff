// Windows, screens and the application go while their requests are held at
// the server. Then every request runs to its end: a fetch still writes its
// lines and frees its service, a result whose screen is gone leaves no trace.
#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentencemap/SentenceMapWindow.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/sentiment/TokenProbabilitiesSection.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "history/SessionHistory.h"
#include "settings/ModelSettingsView.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

namespace {

// Replies of the shared client not yet ended and freed.
qsizetype repliesInFlight()
{
    return HttpClient::shared().requestsInFlight();
}

void typeInto(QWidget *screen, const QStringList &texts)
{
    const auto editors = screen->findChildren<QPlainTextEdit *>();
    for (qsizetype i = 0; i < texts.size() && i < editors.size(); ++i)
        QTest::keyClicks(editors.at(i), texts.at(i));
}

} // namespace

class TestLifetimes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void closedWhileRequestsAreHeld_data();
    void closedWhileRequestsAreHeld();
};

void TestLifetimes::closedWhileRequestsAreHeld_data()
{
    QTest::addColumn<QString>("start");    // what is on the wire besides the main window's first fetch
    QTest::addColumn<QString>("end");      // what goes while it is held
    QTest::addColumn<QString>("heldPath"); // empty: every request; "logprobs": the probabilities request
    QTest::addColumn<int>("held");
    QTest::addColumn<int>("embedRequests");
    QTest::addColumn<int>("capabilityLines"); // one per model and fetch

    QTest::newRow("main window closed during the first fetch") << "" << "close window" << "" << 1 << 0 << 2;
    QTest::newRow("demo switched during an analysis") << "analysis" << "switch" << "" << 2 << 0 << 2;
    QTest::newRow("demo switched during a calculation") << "calculation" << "switch" << "/api/embed" << 1 << 2 << 2;
    QTest::newRow("window closed during a calculation") << "calculation" << "close window" << "/api/embed" << 1 << 2
                                                        << 2;
    QTest::newRow("sentence map closed during its request") << "map" << "close map" << "/api/embed" << 1 << 1 << 2;
    QTest::newRow("settings closed during the capability requests") << "settings" << "close settings" << "/api/show"
                                                                    << 4 << 0 << 4;
    QTest::newRow("window closed while the probabilities are asked for") << "probabilities" << "close window"
                                                                         << "logprobs" << 1 << 0 << 2;
    QTest::newRow("application quit with everything in flight") << "settings, analysis" << "quit" << "" << 3 << 0
                                                                << 4;
}

void TestLifetimes::closedWhileRequestsAreHeld()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, heldPath);
    QFETCH(int, held);
    QFETCH(int, embedRequests);
    QFETCH(int, capabilityLines);

    FakeOllamaServer server;
    FakeOllamaServer::Model embedder{"nomic-embed-text:latest"};
    embedder.capabilities = std::vector<std::string>{"embedding"};
    server.setModels({FakeOllamaServer::Model{"llama3.2:latest"}, embedder});
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    if (heldPath == QLatin1String("logprobs")) {
        server.setHandler([gate](const FakeOllamaServer::Request &request) -> std::optional<FakeOllamaServer::Reply> {
            if (request.body.find("\"logprobs\"") != std::string::npos)
                gate->wait();
            return std::nullopt;
        });
    } else {
        server.setHandler(ReplyGate::holding(gate, heldPath.toStdString()));
    }
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2:latest"));
    prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text:latest"));
    StdoutCapture output;
    // Steps that did not come about; checked once the capture has stopped,
    // so that a failure prints its reason.
    QStringList missed;
    const auto await = [&missed](const std::function<bool()> &done, const char *what, int limit = 5000) {
        if (!QTest::qWaitFor(done, limit))
            missed << QLatin1String(what);
    };

    auto app = std::make_unique<QuillmereApp>(prefs.settings());
    int historyRows = 0;
    int expectedHistoryRows = 0;
    connect(&app->history(), &SessionHistory::entryAdded, this, [&historyRows] { ++historyRows; });
    QPointer<MainWindow> window = app->openMainWindow();
    if (!QTest::qWaitForWindowExposed(window))
        missed << QStringLiteral("window exposed");
    ContentView *content = window->contentView();
    // Services that must be gone once every reply has been handled.
    QList<QPointer<OllamaService>> released;
    QPointer<QWidget> settings;
    QPointer<SentenceMapWindow> map;
    if (start == QLatin1String("map")) {
        map = app->openSentenceMapWindow();
        map->setSentences({QStringLiteral("The cat sat"), QStringLiteral("A dog ran"), QStringLiteral("Birds sing")});
        map->mapSentences();
    }
    if (start.contains(QLatin1String("settings"))) {
        settings = app->openSettingsWindow();
        settings->findChild<QTabWidget *>()->setCurrentIndex(1);
        released << &settings->findChild<ModelSettingsView *>()->ollamaService();
    }
    if (start.contains(QLatin1String("analysis"))) {
        typeInto(content->currentScreen(), {QStringLiteral("What a lovely day")});
        qobject_cast<SentimentAnalysisView *>(content->currentScreen())->analyzeSentiment();
    } else if (start == QLatin1String("probabilities")) {
        // The analysis ends; its details ask for the probabilities, which
        // are held.
        auto *screen = qobject_cast<SentimentAnalysisView *>(content->currentScreen());
        typeInto(screen, {QStringLiteral("What a lovely day")});
        screen->analyzeSentiment();
        QTRY_VERIFY(screen->reading().has_value());
        screen->setShowingDetails(true);
        screen->findChild<TokenProbabilitiesSection *>()->requestProbabilities();
        ++expectedHistoryRows;
    } else if (start == QLatin1String("calculation")) {
        content->setSelectedDemo(DemoType::sentenceSimilarity);
        typeInto(content->currentScreen(), {QStringLiteral("The cat sat"), QStringLiteral("A feline rested")});
        qobject_cast<SentenceSimilarityView *>(content->currentScreen())->calculateSimilarity();
    }
    await([&] { return gate->arrivals() == held; }, "requests held");

    if (end == QLatin1String("switch")) {
        content->setSelectedDemo(content->selectedDemo() == DemoType::sentimentAnalysis
                                     ? DemoType::sentenceSimilarity
                                     : DemoType::sentimentAnalysis);
    } else if (end == QLatin1String("close map")) {
        map->close();
        await([&] { return map.isNull(); }, "map closed");
    } else if (end == QLatin1String("close settings")) {
        settings->close();
        await([&] { return settings.isNull(); }, "settings closed");
    } else {
        released << &content->service();
        if (end == QLatin1String("quit"))
            app.reset();
        else
            window->close();
        await([&] { return window.isNull(); }, "window closed");
    }

    gate->open();
    // A reply is read on the worker before the request that follows it is
    // sent, so the expected requests are waited for too.
    await([&] {
        return repliesInFlight() == 0 && server.requestCount() >= size_t(held)
            && server.requests("/api/embed").size() >= size_t(embedRequests);
    }, "replies ended", 20000);
    await([&] { return std::all_of(released.cbegin(), released.cend(), [](auto &s) { return s.isNull(); }); },
          "services released", 20000);
    const QByteArray printed = output.stop();
    QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QStringLiteral(", "))));
    QCOMPARE(printed.count("Capabilities from API: "), capabilityLines);
    QCOMPARE(server.requests("/api/embed").size(), size_t(embedRequests));
    QVERIFY2(historyRows == expectedHistoryRows, "a dropped result left a history row");
}

QTEST_MAIN(TestLifetimes)
#include "tst_lifetimes.moc"
