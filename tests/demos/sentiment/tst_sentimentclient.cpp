#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/ServerEndpoint.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentScore.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>

namespace {

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;

// How a call ended, for data tables.
enum class Ending { score, invalidResponse, invalidURL, readerError, transportError };

// A sentiment client wired to its own settings and HTTP client.
struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    QObject context;
    std::optional<Result<int>> outcome;
    int calls = 0;

    Rig() { prefs.settings().setOllamaURL(server.baseURL()); }

    void fetch(const QString &text, const QString &model = QStringLiteral("llama3.2"), QObject *receiver = nullptr)
    {
        fetchSentimentScore(
            text, model, receiver ? receiver : &context,
            [this](const Result<int> &r) {
                outcome = r;
                ++calls;
            },
            prefs.settings(), http);
    }

    bool waitForOutcome() { return QTest::qWaitFor([this] { return calls > 0; }, 15000); }

    QNetworkAccessManager *manager() { return http.findChild<QNetworkAccessManager *>(); }
};

Ending endingOf(const Result<int> &result)
{
    if (result.ok())
        return Ending::score;
    const QString &domain = result.error().domain;
    if (domain == ClientError::invalidResponseDomain)
        return Ending::invalidResponse;
    if (domain == ClientError::invalidURLDomain)
        return Ending::invalidURL;
    if (domain == QLatin1String("JSON"))
        return Ending::readerError;
    return Ending::transportError;
}

} // namespace

Q_DECLARE_METATYPE(Ending)

class TestSentimentClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sendsPromptAsJSON_data();
    void sendsPromptAsJSON();
    void readsReply_data();
    void readsReply();
    void formsURLFromSettings();
    void trailingSlashStillReachesEndpoint();
    void refusesInvalidURL();
    void refusedConnectionFails();
    void silentServerTimesOut();
    void deliveryFollowsContext();
};

void TestSentimentClient::sendsPromptAsJSON_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("model");

    QTest::newRow("plain") << QStringLiteral("I love this day") << QStringLiteral("llama3.2");
    QTest::newRow("quotes and line breaks") << QStringLiteral("She said \"great\"\nthen\r\nleft\ttoo")
                                            << QStringLiteral("llama3.2:latest");
    QTest::newRow("backslashes and slashes") << QStringLiteral("C:\\path</script>") << QStringLiteral("a/b:c");
    QTest::newRow("non-ASCII") << QStringLiteral("\u00C7a va tr\u00E8s bien \U0001F600") << QStringLiteral("qwen3");
    QTest::newRow("model with quote") << QStringLiteral("ok") << QStringLiteral("we\"ird");
}

void TestSentimentClient::sendsPromptAsJSON()
{
    QFETCH(QString, text);
    QFETCH(QString, model);

    Rig rig;
    rig.server.setGenerateResponse("5");
    rig.fetch(text, model);
    QVERIFY(rig.waitForOutcome());
    QVERIFY(rig.outcome->ok());
    QCOMPARE(rig.outcome->value(), 5);

    const auto requests = rig.server.requests();
    QCOMPARE(requests.size(), size_t(1));
    const auto &request = requests.front();
    QCOMPARE(request.method, std::string("POST"));
    QCOMPARE(request.path, std::string("/api/generate"));
    QCOMPARE(request.header("Content-Type"), std::string("application/json"));

    const nlohmann::json body = nlohmann::json::parse(request.body);
    QVERIFY(body.is_object());
    QCOMPARE(body.size(), size_t(3));
    QVERIFY(body.at("stream").is_boolean());
    QCOMPARE(body.at("stream").get<bool>(), false);
    QCOMPARE(QString::fromStdString(body.at("model").get<std::string>()), model);
    QCOMPARE(QString::fromStdString(body.at("prompt").get<std::string>()),
             SentimentScore::promptOpening + text + SentimentScore::promptClosing);
    // Written compactly: re-serialising compactly gives the same bytes.
    QCOMPARE(request.body, body.dump());
}

void TestSentimentClient::readsReply_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<int>("score");

    QTest::newRow("digit") << 200 << QByteArray(R"({"response":"4","done":true})") << Ending::score << 4;
    QTest::newRow("lenient reading") << 200 << QByteArray(R"({"response":"  2.\nIt is sad."})") << Ending::score << 2;
    QTest::newRow("no number gives 3") << 200 << QByteArray(R"({"response":"Rating: 4"})") << Ending::score << 3;
    QTest::newRow("empty response gives 3") << 200 << QByteArray(R"({"response":""})") << Ending::score << 3;
    QTest::newRow("error status with response") << 500 << QByteArray(R"({"response":"5"})") << Ending::score << 5;
    QTest::newRow("thinking kept apart") << 200 << QByteArray(R"({"thinking":"1? no","response":"5"})")
                                         << Ending::score << 5;

    QTest::newRow("404 error object") << 404 << QByteArray(R"({"error":"model 'x' not found"})")
                                      << Ending::invalidResponse << 0;
    QTest::newRow("400 error object") << 400 << QByteArray(R"({"error":"\"nomic\" does not support generate"})")
                                      << Ending::invalidResponse << 0;
    QTest::newRow("response a number") << 200 << QByteArray(R"({"response":4})") << Ending::invalidResponse << 0;
    QTest::newRow("response null") << 200 << QByteArray(R"({"response":null})") << Ending::invalidResponse << 0;
    QTest::newRow("response an array") << 200 << QByteArray(R"({"response":["4"]})") << Ending::invalidResponse
                                       << 0;
    QTest::newRow("empty object") << 200 << QByteArray("{}") << Ending::invalidResponse << 0;
    QTest::newRow("top-level array") << 200 << QByteArray(R"([{"response":"4"}])") << Ending::invalidResponse << 0;
    QTest::newRow("empty array") << 200 << QByteArray("[]") << Ending::invalidResponse << 0;

    QTest::newRow("bare string") << 200 << QByteArray(R"("4")") << Ending::readerError << 0;
    QTest::newRow("bare number") << 200 << QByteArray("4") << Ending::readerError << 0;
    QTest::newRow("bare true") << 200 << QByteArray("true") << Ending::readerError << 0;
    QTest::newRow("bare null") << 200 << QByteArray("null") << Ending::readerError << 0;
    QTest::newRow("plain text") << 404 << QByteArray("404 page not found") << Ending::readerError << 0;
    QTest::newRow("empty body") << 200 << QByteArray() << Ending::readerError << 0;
    QTest::newRow("streamed lines") << 200 << QByteArray("{\"response\":\"4\"}\n{\"response\":\"\"}\n")
                                    << Ending::readerError << 0;
}

void TestSentimentClient::readsReply()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(Ending, ending);
    QFETCH(int, score);

    Rig rig;
    rig.server.setRoute("POST", "/api/generate", Reply::json(body.toStdString(), status));
    rig.fetch(QStringLiteral("some text"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(rig.calls, 1);

    const Result<int> &result = *rig.outcome;
    QCOMPARE(endingOf(result), ending);
    if (result.ok()) {
        QCOMPARE(result.value(), score);
        return;
    }
    const ClientError &error = result.error();
    QVERIFY(!error.description.isEmpty());
    if (ending == Ending::invalidResponse) {
        // Its own failure: code -1, described by a sentence that names the
        // domain and the code.
        QCOMPARE(error.code, -1);
        QVERIFY2(error.description.contains(QLatin1String("Invalid response from Ollama")),
                 qPrintable(error.description));
        QVERIFY2(error.description.contains(QLatin1String("-1")), qPrintable(error.description));
    }
}

void TestSentimentClient::formsURLFromSettings()
{
    // With the default base URL the request goes to its generate endpoint.
    const auto url = ServerEndpoint::endpointURL(AppSettings::defaultOllamaURL, ServerEndpoint::generatePath);
    QVERIFY(url.has_value());
    QCOMPARE(url->toString(), QStringLiteral("http://localhost:11434/api/generate"));

    // The base URL is read when each call is made, not captured.
    Rig rig;
    FakeOllamaServer other;
    rig.fetch(QStringLiteral("one"));
    QVERIFY(rig.waitForOutcome());
    rig.prefs.settings().setOllamaURL(other.baseURL());
    rig.calls = 0;
    rig.fetch(QStringLiteral("two"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(rig.server.requests("/api/generate").size(), size_t(1));
    QCOMPARE(other.requests("/api/generate").size(), size_t(1));
}

void TestSentimentClient::trailingSlashStillReachesEndpoint()
{
    Rig rig;
    rig.prefs.settings().setOllamaURL(rig.server.baseURL() + QLatin1Char('/'));
    rig.fetch(QStringLiteral("text"));
    QVERIFY(rig.waitForOutcome());

    // The URL is formed with a doubled slash, but the HTTP layer drops
    // redundant separators from the request line, so the server is asked at
    // its ordinary path and answers normally.
    const auto requests = rig.server.requests();
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(QString::fromStdString(requests.front().path), QStringLiteral("/api/generate"));
    QVERIFY(rig.outcome->ok());
    QCOMPARE(rig.outcome->value(), 4);
}

void TestSentimentClient::refusesInvalidURL()
{
    Rig rig;
    QSignalSpy replies(rig.manager(), &QNetworkAccessManager::finished);
    rig.prefs.settings().setOllamaURL(QStringLiteral("localhost:11434"));
    rig.fetch(QStringLiteral("text"));
    // Delivered from the event loop, never from inside the call.
    QCOMPARE(rig.calls, 0);
    QVERIFY(rig.waitForOutcome());

    QCOMPARE(endingOf(*rig.outcome), Ending::invalidURL);
    QCOMPARE(rig.outcome->error().code, -1);
    QVERIFY(rig.outcome->error().description.contains(QLatin1String("Invalid URL")));
    QCOMPARE(rig.server.requestCount(), size_t(0));
    QCOMPARE(replies.size(), 0);
}

void TestSentimentClient::refusedConnectionFails()
{
    Rig rig;
    int deadPort = 0;
    {
        FakeOllamaServer gone;
        deadPort = gone.port();
    }
    rig.prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:%1").arg(deadPort));
    rig.fetch(QStringLiteral("text"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.outcome), Ending::transportError);
    QCOMPARE(rig.outcome->error().domain, HttpClient::networkDomain);
    QCOMPARE(rig.outcome->error().code, int(QNetworkReply::ConnectionRefusedError));
}

void TestSentimentClient::silentServerTimesOut()
{
    Rig rig;
    Reply silent = Reply::json(R"({"response":"4"})");
    silent.stall = true;
    rig.server.setRoute("POST", "/api/generate", silent);
    rig.http.setTransferTimeout(300ms);

    rig.fetch(QStringLiteral("text"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.outcome), Ending::transportError);
    QVERIFY2(rig.outcome->error().description.contains(QLatin1String("did not answer in time")),
             qPrintable(rig.outcome->error().description));
    rig.server.releaseStalled();
}

void TestSentimentClient::deliveryFollowsContext()
{
    Rig rig;
    Reply slow = Reply::json(R"({"response":"4"})");
    slow.delay = 200ms;
    rig.server.setRoute("POST", "/api/generate", slow);
    QSignalSpy replies(rig.manager(), &QNetworkAccessManager::finished);

    auto screen = std::make_unique<QObject>();
    rig.fetch(QStringLiteral("text"), QStringLiteral("llama3.2"), screen.get());
    QVERIFY(QTest::qWaitFor([&] { return rig.server.requestCount() == 1; }, 15000));
    screen.reset();
    QVERIFY(QTest::qWaitFor([&] { return replies.size() == 1; }, 15000));
    QCoreApplication::processEvents();
    QCOMPARE(rig.calls, 0);

    // A caller without a context still gets its outcome.
    rig.prefs.settings().setOllamaURL(QString());
    fetchSentimentScore(
        QStringLiteral("text"), QStringLiteral("llama3.2"), nullptr,
        [&rig](const Result<int> &r) {
            rig.outcome = r;
            ++rig.calls;
        },
        rig.prefs.settings(), rig.http);
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.outcome), Ending::invalidURL);
    rig.calls = 0;

    // A failure that is delivered later from the event loop is dropped too
    // once the context is gone.
    rig.prefs.settings().setOllamaURL(QString());
    screen = std::make_unique<QObject>();
    rig.fetch(QStringLiteral("text"), QStringLiteral("llama3.2"), screen.get());
    screen.reset();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(rig.calls, 0);
}

QTEST_GUILESS_MAIN(TestSentimentClient)
#include "tst_sentimentclient.moc"
