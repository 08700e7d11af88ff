// Windows, screens and the application are closed while their requests are
// held at the server. Every held request is then answered: the requests
// already started run to their end (nothing is cancelled), a fetch still
// writes its diagnostic lines and then frees its service, and a demo result
// whose screen is gone is dropped: no history row, no touch of freed memory
// (the sanitizer build of the suite turns any slip into a failure).
#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentAnalysisView.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "history/SessionHistory.h"
#include "settings/ModelSettingsView.h"

#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

namespace {

// Replies of the shared client not yet handled and freed.
qsizetype repliesInFlight()
{
    return HttpClient::shared().findChildren<QNetworkReply *>().size();
}

void typeInto(QWidget *screen, const QStringList &texts)
{
    const auto editors = screen->findChildren<QPlainTextEdit *>();
    for (qsizetype i = 0; i < texts.size() && i < editors.size(); ++i)
        QTest::keyClicks(editors.at(i), texts.at(i));
}

OllamaService *modelTabService(QWidget *settingsWindow)
{
    settingsWindow->findChild<QTabWidget *>()->setCurrentIndex(1);
    return &settingsWindow->findChild<ModelSettingsView *>()->ollamaService();
}

} // namespace

class TestLifetimes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_output = std::make_unique<StdoutCapture>(); }
    void cleanup();
    void closedWhileRequestsAreHeld_data();
    void closedWhileRequestsAreHeld();
    void manyAboutWindows();

private:
    // The diagnostic lines, and the test log while a test runs.
    std::unique_ptr<StdoutCapture> m_output;
};

void TestLifetimes::cleanup()
{
    const QByteArray text = m_output->text();
    m_output.reset();
    if (QTest::currentTestFailed())
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
}

void TestLifetimes::closedWhileRequestsAreHeld_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<QString>("heldPath"); // empty: every request
    QTest::addColumn<int>("embedRequests");
    QTest::addColumn<int>("capabilityLines"); // one per model and fetch

    QTest::newRow("main window closed during the first fetch") << "close window" << "" << 0 << 2;
    QTest::newRow("demo switched during an analysis") << "switch during analysis" << "" << 0 << 2;
    QTest::newRow("demo switched during a calculation") << "switch during calculation" << "/api/embed" << 2 << 2;
    QTest::newRow("window closed during a calculation") << "close during calculation" << "/api/embed" << 2 << 2;
    QTest::newRow("settings closed during the capability requests") << "close settings" << "/api/show" << 0 << 4;
    QTest::newRow("application quit with everything in flight") << "quit" << "" << 0 << 4;
}

void TestLifetimes::closedWhileRequestsAreHeld()
{
    QFETCH(QString, what);
    QFETCH(QString, heldPath);
    QFETCH(int, embedRequests);
    QFETCH(int, capabilityLines);

    FakeOllamaServer server;
    FakeOllamaServer::Model embedder{"nomic-embed-text:latest"};
    embedder.capabilities = std::vector<std::string>{"embedding"};
    server.setModels({FakeOllamaServer::Model{"llama3.2:latest"}, embedder});
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    server.setHandler(ReplyGate::holding(gate, heldPath.toStdString()));
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2:latest"));
    prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text:latest"));
    SessionHistory::shared().clear();

    auto app = std::make_unique<QuillmereApp>(prefs.settings());
    QPointer<MainWindow> window = app->openMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    ContentView *content = window->contentView();
    // Services that must be gone once every reply has been handled.
    QList<QPointer<OllamaService>> released;
    const bool closesWindow = what == QLatin1String("close window") || what == QLatin1String("close during calculation");
    if (closesWindow || what == QLatin1String("quit"))
        released << &content->service();
    int held = 0;

    if (what == QLatin1String("switch during analysis")) {
        typeInto(content->currentScreen(), {QStringLiteral("What a lovely day")});
        qobject_cast<SentimentAnalysisView *>(content->currentScreen())->analyzeSentiment();
        held = 2; // the model list and the analysis
        QTRY_COMPARE(gate->arrivals(), held);
        content->setSelectedDemo(DemoType::sentenceSimilarity);
    } else if (what.endsWith(QLatin1String("during calculation"))) {
        content->setSelectedDemo(DemoType::sentenceSimilarity);
        typeInto(content->currentScreen(), {QStringLiteral("The cat sat"), QStringLiteral("A feline rested")});
        qobject_cast<SentenceSimilarityView *>(content->currentScreen())->calculateSimilarity();
        held = 1; // the first embedding
        if (what.startsWith(QLatin1String("close"))) {
            QTRY_COMPARE(gate->arrivals(), held);
            window->close();
        } else {
            QTRY_COMPARE(gate->arrivals(), held);
            content->setSelectedDemo(DemoType::sentimentAnalysis);
        }
    } else if (what == QLatin1String("close settings")) {
        held = 2; // the main window's two capability requests
        QTRY_COMPARE(gate->arrivals(), held);
        QPointer<QWidget> settings = app->openSettingsWindow();
        released << modelTabService(settings);
        held += 2;
        QTRY_COMPARE(gate->arrivals(), held);
        settings->close();
        QTRY_VERIFY(settings.isNull());
    } else if (what == QLatin1String("quit")) {
        released << modelTabService(app->openSettingsWindow());
        typeInto(content->currentScreen(), {QStringLiteral("Quitting now")});
        qobject_cast<SentimentAnalysisView *>(content->currentScreen())->analyzeSentiment();
        held = 3; // two model lists and the analysis
        QTRY_COMPARE(gate->arrivals(), held);
        app.reset();
    } else {
        held = 1;
        QTRY_COMPARE(gate->arrivals(), held);
        window->close();
    }
    if (closesWindow)
        QTRY_VERIFY(window.isNull());

    gate->open();
    QTRY_VERIFY_WITH_TIMEOUT(repliesInFlight() == 0 && server.requestCount() >= size_t(held), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(std::all_of(released.cbegin(), released.cend(), [](auto &s) { return s.isNull(); }),
                             20000);

    QCOMPARE(server.requests("/api/embed").size(), size_t(embedRequests));
    QCOMPARE(m_output->text().count("Capabilities from API: "), capabilityLines);
    QVERIFY2(SessionHistory::shared().isEmpty(), "a dropped result left a history row");
}

void TestLifetimes::manyAboutWindows()
{
    TestSettings prefs;
    QuillmereApp app(prefs.settings());
    QList<QPointer<QWidget>> windows;
    for (int i = 0; i < 40; ++i)
        windows.append(app.openAboutWindow());
    for (const QPointer<QWidget> &window : windows)
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QWidget> &window : windows)
        QVERIFY(window.isNull());
}

QTEST_MAIN(TestLifetimes)
#include "tst_lifetimes.moc"
