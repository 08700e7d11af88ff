#include "FakeOllamaServer.h"
#include "catalogue/HttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace {

using namespace std::chrono_literals;

QUrl urlOf(const FakeOllamaServer &server, const QString &path)
{
    return QUrl(server.baseURL() + path);
}

// Collects the one outcome of a request and where it was delivered.
struct Outcome
{
    std::optional<Result<QByteArray>> result;
    int calls = 0;
    QThread *thread = nullptr;

    HttpClient::Callback callback()
    {
        return [this](const Result<QByteArray> &r) {
            result = r;
            ++calls;
            thread = QThread::currentThread();
        };
    }
};

} // namespace

class TestHttpClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sendsMethodHeadersAndBody_data();
    void sendsMethodHeadersAndBody();
    void errorStatusBodyIsAReply_data();
    void errorStatusBodyIsAReply();
    void refusedConnectionFails();
    void silentServerTimesOut_data();
    void silentServerTimesOut();
    void bodyClosedMidwayFails();
    void refusesOversizedReply_data();
    void refusesOversizedReply();
    void dropsCallbackOfDestroyedContext();
    void deliversWithoutContext();
    void manyRequestsToOneHostAreOnTheWireAtOnce();
    void queuedRequestStartsItsClockWhenSent();
    void queuedRequestOfDestroyedContextIsNeverSent();
};

void TestHttpClient::sendsMethodHeadersAndBody_data()
{
    QTest::addColumn<bool>("post");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("GET") << false << QByteArray();
    QTest::newRow("POST") << true << QByteArray(R"({"name":"llama3.2"})");
    QTest::newRow("POST non-ASCII") << true << QByteArray("{\"input\":\"caf\xC3\xA9\"}");
}

void TestHttpClient::sendsMethodHeadersAndBody()
{
    QFETCH(bool, post);
    QFETCH(QByteArray, body);

    FakeOllamaServer server;
    server.setHandler([](const FakeOllamaServer::Request &) {
        return FakeOllamaServer::Reply::json(R"({"ok":true})");
    });
    HttpClient http;
    Outcome outcome;
    QObject context;
    if (post)
        http.postJSON(urlOf(server, QStringLiteral("/api/show")), body, &context, outcome.callback());
    else
        http.get(urlOf(server, QStringLiteral("/api/tags")), &context, outcome.callback());

    QTRY_COMPARE(outcome.calls, 1);
    QVERIFY(outcome.result->ok());
    QCOMPARE(outcome.result->value(), QByteArray(R"({"ok":true})"));
    QCOMPARE(outcome.thread, QThread::currentThread());

    const auto requests = server.requests();
    QCOMPARE(requests.size(), size_t(1));
    const auto &request = requests.front();
    QCOMPARE(request.method, std::string(post ? "POST" : "GET"));
    QCOMPARE(request.path, std::string(post ? "/api/show" : "/api/tags"));
    if (post) {
        QCOMPARE(request.header("Content-Type"), std::string("application/json"));
        QCOMPARE(QByteArray::fromStdString(request.body), body);
    } else {
        QVERIFY(request.headers.find("Content-Type") == request.headers.end());
        QCOMPARE(request.header("Content-Type"), std::string());
        QVERIFY(request.body.empty());
    }
}

void TestHttpClient::errorStatusBodyIsAReply_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("404 JSON error") << 404 << QByteArray(R"({"error":"model 'x' not found"})");
    QTest::newRow("400 JSON error") << 400 << QByteArray(R"({"error":"missing request body"})");
    QTest::newRow("500 JSON error") << 500 << QByteArray(R"({"error":"out of memory"})");
    QTest::newRow("503 JSON error") << 503 << QByteArray(R"({"error":"server busy"})");
    QTest::newRow("401 JSON error") << 401 << QByteArray(R"({"error":"unauthorized"})");
    QTest::newRow("429 JSON error") << 429 << QByteArray(R"({"error":"too many requests"})");
    QTest::newRow("502 text") << 502 << QByteArray("Bad Gateway");
    QTest::newRow("405 text") << 405 << QByteArray("405 method not allowed");
    QTest::newRow("200 empty body") << 200 << QByteArray();
}

void TestHttpClient::errorStatusBodyIsAReply()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);

    FakeOllamaServer server;
    server.setRoute("POST", "/api/generate", FakeOllamaServer::Reply::json(body.toStdString(), status));
    HttpClient http;
    Outcome outcome;
    QObject context;
    http.postJSON(urlOf(server, QStringLiteral("/api/generate")), "{}", &context, outcome.callback());

    QTRY_COMPARE(outcome.calls, 1);
    QVERIFY2(outcome.result->ok(), qPrintable(outcome.result->ok() ? QString() : outcome.result->error().description));
    QCOMPARE(outcome.result->value(), body);
}

void TestHttpClient::refusedConnectionFails()
{
    int port = 0;
    {
        FakeOllamaServer gone;
        port = gone.port();
    }
    HttpClient http;
    Outcome outcome;
    QObject context;
    http.get(QUrl(QStringLiteral("http://127.0.0.1:%1/api/tags").arg(port)), &context, outcome.callback());

    QTRY_COMPARE(outcome.calls, 1);
    QVERIFY(!outcome.result->ok());
    const ClientError &error = outcome.result->error();
    QCOMPARE(error.domain, HttpClient::networkDomain);
    QCOMPARE(error.code, int(QNetworkReply::ConnectionRefusedError));
    QVERIFY(!error.description.isEmpty());
}

void TestHttpClient::silentServerTimesOut_data()
{
    QTest::addColumn<bool>("afterHeaders");
    QTest::newRow("nothing sent") << false;
    QTest::newRow("headers, then nothing") << true;
}

void TestHttpClient::silentServerTimesOut()
{
    QFETCH(bool, afterHeaders);

    FakeOllamaServer server;
    FakeOllamaServer::Reply silent = FakeOllamaServer::Reply::json(R"({"response":"4"})");
    silent.stall = !afterHeaders;
    silent.stallAfterHeaders = afterHeaders;
    server.setRoute("POST", "/api/generate", silent);

    HttpClient http;
    http.setTransferTimeout(300ms);
    Outcome outcome;
    QObject context;
    http.postJSON(urlOf(server, QStringLiteral("/api/generate")), "{}", &context, outcome.callback());

    QTRY_COMPARE_WITH_TIMEOUT(outcome.calls, 1, 20000);
    QVERIFY(!outcome.result->ok());
    const ClientError &error = outcome.result->error();
    QCOMPARE(error.domain, HttpClient::networkDomain);
    QVERIFY2(error.description.contains(QLatin1String("did not answer in time")), qPrintable(error.description));
    server.releaseStalled();
}

void TestHttpClient::bodyClosedMidwayFails()
{
    FakeOllamaServer server;
    FakeOllamaServer::Reply cut = FakeOllamaServer::Reply::json(R"({"models":[{"name":"llama3.2:latest"}]})");
    cut.closeMidBody = true;
    server.setRoute("GET", "/api/tags", cut);

    HttpClient http;
    Outcome outcome;
    QObject context;
    http.get(urlOf(server, QStringLiteral("/api/tags")), &context, outcome.callback());

    QTRY_COMPARE(outcome.calls, 1);
    QVERIFY2(!outcome.result->ok(), outcome.result->ok() ? outcome.result->value().constData() : "");
    QCOMPARE(outcome.result->error().domain, HttpClient::networkDomain);
    QVERIFY(!outcome.result->error().description.isEmpty());
}

void TestHttpClient::refusesOversizedReply_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("ok");

    QTest::newRow("well below") << qint64(1024) << 10 << true;
    QTest::newRow("exactly the limit") << qint64(1024) << 1024 << true;
    QTest::newRow("one byte over") << qint64(1024) << 1025 << false;
    QTest::newRow("far over") << qint64(1024) << 512 * 1024 << false;
}

void TestHttpClient::refusesOversizedReply()
{
    QFETCH(qint64, limit);
    QFETCH(int, size);
    QFETCH(bool, ok);

    FakeOllamaServer server;
    const std::string body(static_cast<size_t>(size), 'x');
    server.setRoute("POST", "/api/show", FakeOllamaServer::Reply::json(body));
    HttpClient http;
    http.setMaxReplyBytes(limit);
    Outcome outcome;
    QObject context;
    http.postJSON(urlOf(server, QStringLiteral("/api/show")), "{}", &context, outcome.callback());

    QTRY_COMPARE(outcome.calls, 1);
    QCOMPARE(outcome.result->ok(), ok);
    if (ok) {
        QCOMPARE(outcome.result->value().size(), size);
        return;
    }
    const ClientError &error = outcome.result->error();
    QCOMPARE(error.domain, HttpClient::replyTooLargeDomain);
    // The description states the limit in a unit that makes sense for it.
    QVERIFY2(error.description.contains(QLatin1String("1024 bytes")), qPrintable(error.description));
}

void TestHttpClient::dropsCallbackOfDestroyedContext()
{
    FakeOllamaServer server;
    FakeOllamaServer::Reply slow = FakeOllamaServer::Reply::json(R"({"response":"4"})");
    slow.delay = 200ms;
    server.setRoute("POST", "/api/generate", slow);

    HttpClient http;
    int calls = 0;
    auto context = std::make_unique<QObject>();
    http.postJSON(urlOf(server, QStringLiteral("/api/generate")), "{}", context.get(),
                  [&calls](const Result<QByteArray> &) { ++calls; });
    auto *manager = http.findChild<QNetworkAccessManager *>();
    QVERIFY(manager);
    QSignalSpy finished(manager, &QNetworkAccessManager::finished);
    QTRY_COMPARE(server.requestCount(), size_t(1));
    context.reset();

    // The reply still arrives and is cleaned up, but nobody is told.
    QTRY_COMPARE(finished.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(calls, 0);
}

void TestHttpClient::deliversWithoutContext()
{
    // A caller with nothing to guard may pass no context: the outcome is still
    // delivered rather than silently lost.
    FakeOllamaServer server;
    HttpClient http;
    Outcome outcome;
    http.get(urlOf(server, QStringLiteral("/api/tags")), nullptr, outcome.callback());
    QTRY_COMPARE(outcome.calls, 1);
    QVERIFY(outcome.result->ok());
    QCOMPARE(outcome.result->value(), QByteArray(R"({"models":[]})"));
}

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_httpclient.moc"

void TestHttpClient::manyRequestsToOneHostAreOnTheWireAtOnce()
{
    // Every reply is held until the server has seen all the requests, which
    // only happens when they are all sent at once (one network manager alone
    // sends six and queues the rest).
    constexpr int count = 30;
    FakeOllamaServer server;
    std::mutex mutex;
    std::condition_variable allArrived;
    int arrived = 0;
    server.setHandler([&](const FakeOllamaServer::Request &) -> std::optional<FakeOllamaServer::Reply> {
        std::unique_lock lock(mutex);
        ++arrived;
        allArrived.notify_all();
        const bool all = allArrived.wait_for(lock, 10s, [&] { return arrived >= count; });
        return FakeOllamaServer::Reply::json(all ? "{\"all\":true}" : "{\"all\":false}");
    });

    HttpClient http;
    std::vector<Outcome> outcomes(count);
    for (Outcome &outcome : outcomes)
        http.get(urlOf(server, QStringLiteral("/api/tags")), this, outcome.callback());
    QCOMPARE(http.queuedRequests(), 0);
    for (Outcome &outcome : outcomes) {
        QTRY_VERIFY_WITH_TIMEOUT(outcome.result.has_value(), 20000);
        QVERIFY(outcome.result->ok());
        QCOMPARE(outcome.result->value(), QByteArray("{\"all\":true}"));
    }
}

void TestHttpClient::queuedRequestStartsItsClockWhenSent()
{
    // Two connections, twelve requests of 200 ms each: the last waits about a
    // second in the queue, longer than the 600 ms time-out, and must still
    // succeed because its clock starts only when it is sent.
    FakeOllamaServer server;
    FakeOllamaServer::Reply slow = FakeOllamaServer::Reply::json("{}");
    slow.delay = 200ms;
    server.setRoute("GET", "/api/tags", slow);

    HttpClient http;
    http.setMaxConnectionsPerHost(2);
    http.setTransferTimeout(600ms);
    std::vector<Outcome> outcomes(12);
    for (Outcome &outcome : outcomes)
        http.get(urlOf(server, QStringLiteral("/api/tags")), this, outcome.callback());
    QCOMPARE(http.queuedRequests(), 10);
    for (Outcome &outcome : outcomes) {
        QTRY_VERIFY_WITH_TIMEOUT(outcome.result.has_value(), 20000);
        QVERIFY2(outcome.result->ok(), qPrintable(outcome.result->ok() ? QString() : outcome.result->error().description));
    }
    QCOMPARE(server.requests("/api/tags").size(), size_t(12));
}

void TestHttpClient::queuedRequestOfDestroyedContextIsNeverSent()
{
    FakeOllamaServer server;
    FakeOllamaServer::Reply slow = FakeOllamaServer::Reply::json("{}");
    slow.delay = 100ms;
    server.setRoute("GET", "/api/tags", slow);

    HttpClient http;
    http.setMaxConnectionsPerHost(1);
    Outcome first;
    Outcome dropped;
    auto context = std::make_unique<QObject>();
    http.get(urlOf(server, QStringLiteral("/api/tags")), this, first.callback());
    http.get(urlOf(server, QStringLiteral("/api/tags")), context.get(), dropped.callback());
    QCOMPARE(http.queuedRequests(), 1);
    context.reset();
    QTRY_VERIFY(first.result.has_value());
    QTRY_COMPARE(http.queuedRequests(), 0);
    QTest::qWait(50);
    QCOMPARE(dropped.calls, 0);
    QCOMPARE(server.requests("/api/tags").size(), size_t(1));
}
