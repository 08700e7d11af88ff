#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <nlohmann/json.hpp>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>

// The HTTP client and the catalogue service against the fake server.
namespace {

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;
using Request = FakeOllamaServer::Request;

// A safety net against a hung test; nothing here is timed.
constexpr int waitLimit = 30000;

QUrl urlOf(const FakeOllamaServer &server, const char *path)
{
    return QUrl(server.baseURL() + QLatin1String(path));
}

QString deadServerURL()
{
    int port = 0;
    {
        FakeOllamaServer gone;
        port = gone.port();
    }
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

// The one outcome of a request, and whether it came on the main thread.
struct Outcome
{
    std::optional<Result<QByteArray>> result;
    int calls = 0;
    bool onMainThread = false;

    HttpClient::Callback callback()
    {
        return [this](const Result<QByteArray> &r) {
            result = r;
            ++calls;
            onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        };
    }
    bool wait() { return QTest::qWaitFor([this] { return calls > 0; }, waitLimit); }
    QString error() const { return result && !result->ok() ? result->error().description : QString(); }
};

FakeOllamaServer::Model model(const std::string &name, std::optional<std::vector<std::string>> capabilities)
{
    FakeOllamaServer::Model m;
    m.name = name;
    m.capabilities = std::move(capabilities);
    return m;
}

std::string requestedName(const Request &request)
{
    const auto body = nlohmann::json::parse(request.body, nullptr, false);
    return body.is_object() ? body.value("name", std::string()) : std::string();
}

// Holds each named model's show request at its own gate.
FakeOllamaServer::Handler holdingShows(std::map<std::string, std::shared_ptr<ReplyGate>> gates)
{
    return [gates = std::move(gates)](const Request &request) -> std::optional<Reply> {
        if (request.path == "/api/show") {
            if (const auto it = gates.find(requestedName(request)); it != gates.end())
                it->second->wait();
        }
        return std::nullopt;
    };
}

// A service over its own settings, HTTP client and fake server, recording
// every signal with the state it announces.
struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    std::unique_ptr<OllamaService> service;
    QStringList events;

    Rig()
    {
        prefs.settings().setOllamaURL(server.baseURL());
        service = std::make_unique<OllamaService>(prefs.settings(), http);
        OllamaService *s = service.get();
        QObject::connect(s, &OllamaService::willChange, s, [this] { events.append(QStringLiteral("willChange")); });
        QObject::connect(s, &OllamaService::availableModelsChanged, s,
                         [this] { events.append(QStringLiteral("models=") + names().join(QLatin1Char(','))); });
        QObject::connect(s, &OllamaService::isLoadingModelsChanged, s, [this, s] {
            events.append(QStringLiteral("loading=%1").arg(s->isLoadingModels() ? 1 : 0));
        });
        QObject::connect(s, &OllamaService::modelErrorChanged, s, [this, s] {
            events.append(QStringLiteral("error=") + s->modelError().value_or(QStringLiteral("absent")));
        });
    }

    // Runs one fetch to its end; gives its diagnostic lines.
    QByteArray fetch()
    {
        StdoutCapture capture;
        events.clear();
        service->fetchModels();
        waitForIdle();
        return capture.text();
    }
    bool waitForIdle() { return QTest::qWaitFor([this] { return !service->isLoadingModels(); }, waitLimit); }

    QStringList names() const
    {
        QStringList out;
        for (const OllamaModel &m : service->availableModels())
            out.append(m.name);
        return out;
    }
    const OllamaModel *find(const QString &name) const
    {
        for (const OllamaModel &m : service->availableModels()) {
            if (m.name == name)
                return &m;
        }
        return nullptr;
    }
};

QStringList failedFetch(const QString &error)
{
    return {QStringLiteral("willChange"), QStringLiteral("loading=1"), QStringLiteral("willChange"),
            QStringLiteral("error=") + error, QStringLiteral("willChange"), QStringLiteral("loading=0")};
}

} // namespace

class TestOllamaService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sendsRequestAndReadsAnyStatus_data();
    void sendsRequestAndReadsAnyStatus();
    void transportFailures_data();
    void transportFailures();
    void deliveryFollowsContext();
    void manyRequestsToOneHostAreOnTheWireAtOnce();
    void queuedRequestStartsItsClockWhenSent();

    void publishesFetchedList();
    void failedFetchKeepsList_data();
    void failedFetchKeepsList();
    void publishesInCompletionOrder();
    void capabilityFailureKeepsEntry_data();
    void capabilityFailureKeepsEntry();
    void overlappingFetchesEachPublish();
    void usesURLSavedBetweenFetches();
    void destroyedServiceIgnoresLateReplies();
};

void TestOllamaService::sendsRequestAndReadsAnyStatus_data()
{
    QTest::addColumn<bool>("post");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("GET") << false << 200 << QByteArray(R"({"models":[]})");
    QTest::newRow("POST") << true << 200 << QByteArray(R"({"response":"4"})");
    // No status is examined: an error status with a body is a reply.
    QTest::newRow("404 JSON error") << true << 404 << QByteArray(R"({"error":"model 'x' not found"})");
    QTest::newRow("400 JSON error") << true << 400 << QByteArray(R"({"error":"missing request body"})");
    QTest::newRow("503 JSON error") << false << 503 << QByteArray(R"({"error":"server busy"})");
    QTest::newRow("502 text") << true << 502 << QByteArray("Bad Gateway");
    QTest::newRow("200 empty") << false << 200 << QByteArray();
}

void TestOllamaService::sendsRequestAndReadsAnyStatus()
{
    QFETCH(bool, post);
    QFETCH(int, status);
    QFETCH(QByteArray, body);

    FakeOllamaServer server;
    server.setHandler([&](const Request &) { return std::optional(Reply::json(body.toStdString(), status)); });
    HttpClient http;
    Outcome outcome;
    const QByteArray sent = "{\"input\":\"caf\xC3\xA9\"}";
    if (post)
        http.postJSON(urlOf(server, "/api/embed"), sent, this, outcome.callback());
    else
        http.get(urlOf(server, "/api/tags"), this, outcome.callback());
    QVERIFY(outcome.wait());
    QVERIFY2(outcome.result->ok(), qPrintable(outcome.error()));
    QCOMPARE(outcome.result->value(), body);
    QVERIFY(outcome.onMainThread);

    const auto requests = server.requests();
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].method, std::string(post ? "POST" : "GET"));
    QCOMPARE(requests[0].header("Content-Type"), std::string(post ? "application/json" : ""));
    QCOMPARE(QByteArray::fromStdString(requests[0].body), post ? sent : QByteArray());
}

void TestOllamaService::transportFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("domain"); // empty: the reply arrives
    QTest::addColumn<QString>("description");

    QTest::newRow("refused") << "refused" << "QNetworkReply" << "";
    QTest::newRow("nothing sent") << "stall" << "QNetworkReply"
                                  << "The server did not answer in time (nothing arrived for 300 ms).";
    QTest::newRow("headers, then nothing") << "stallAfterHeaders" << "QNetworkReply"
                                           << "The server did not answer in time (nothing arrived for 300 ms).";
    QTest::newRow("closed mid-body") << "closeMidBody" << "QNetworkReply" << "";
    QTest::newRow("exactly the size limit") << "1024 bytes" << "" << "";
    QTest::newRow("one byte over the limit") << "1025 bytes" << "Reply too large"
                                             << "The server's reply is larger than 1024 bytes and was refused.";
}

void TestOllamaService::transportFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, domain);
    QFETCH(QString, description);

    FakeOllamaServer server;
    Reply reply = Reply::json(R"({"models":[{"name":"llama3.2:latest"}]})");
    reply.stall = kind == QLatin1String("stall");
    reply.stallAfterHeaders = kind == QLatin1String("stallAfterHeaders");
    reply.closeMidBody = kind == QLatin1String("closeMidBody");
    if (kind.endsWith(QLatin1String("bytes")))
        reply.body = std::string(kind.section(QLatin1Char(' '), 0, 0).toUInt(), 'x');
    server.setRoute("GET", "/api/tags", reply);

    HttpClient http;
    http.setTransferTimeout(300ms);
    http.setMaxReplyBytes(1024);
    Outcome outcome;
    const QUrl url = kind == QLatin1String("refused") ? QUrl(deadServerURL() + QLatin1String("/api/tags"))
                                                       : urlOf(server, "/api/tags");
    http.get(url, this, outcome.callback());
    QVERIFY(outcome.wait());
    server.releaseStalled();
    if (domain.isEmpty()) {
        QVERIFY2(outcome.result->ok(), qPrintable(outcome.error()));
        QCOMPARE(outcome.result->value().size(), 1024);
        return;
    }
    QVERIFY(!outcome.result->ok());
    QCOMPARE(outcome.result->error().domain, domain);
    if (kind == QLatin1String("refused"))
        QCOMPARE(outcome.result->error().code, int(QNetworkReply::ConnectionRefusedError));
    if (description.isEmpty())
        QVERIFY(!outcome.error().isEmpty());
    else
        QCOMPARE(outcome.error(), description);
}

void TestOllamaService::deliveryFollowsContext()
{
    FakeOllamaServer server;
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    server.setHandler(ReplyGate::holding(gate));
    HttpClient http;
    http.setMaxConnectionsPerHost(1);
    auto *manager = http.findChild<QNetworkAccessManager *>();
    QSignalSpy finished(manager, &QNetworkAccessManager::finished);

    // The first request's receiver goes while its reply is held; the second
    // waits in the queue for the only connection and its receiver goes too.
    Outcome dropped, neverSent, noContext;
    auto first = std::make_unique<QObject>();
    auto second = std::make_unique<QObject>();
    http.get(urlOf(server, "/api/tags"), first.get(), dropped.callback());
    http.get(urlOf(server, "/api/tags"), second.get(), neverSent.callback());
    http.get(urlOf(server, "/api/tags"), nullptr, noContext.callback());
    QCOMPARE(http.queuedRequests(), 2);
    QVERIFY(QTest::qWaitFor([&] { return gate->arrivals() == 1; }, waitLimit));
    first.reset();
    second.reset();
    gate->open();

    // Without a context the outcome is still delivered; the others are freed
    // without a word, and the one whose receiver went while queued is never sent.
    QVERIFY(noContext.wait());
    QVERIFY(noContext.result->ok());
    QCOMPARE(finished.size(), 2);
    QCoreApplication::processEvents();
    QCOMPARE(dropped.calls + neverSent.calls, 0);
    QCOMPARE(server.requestCount(), size_t(2));
    QCOMPARE(http.queuedRequests(), 0);
}

void TestOllamaService::manyRequestsToOneHostAreOnTheWireAtOnce()
{
    // Every reply is held until the server has seen all the requests, which
    // only happens when all are sent at once (one network manager alone sends
    // six and queues the rest).
    constexpr int count = 30;
    FakeOllamaServer server;
    std::mutex mutex;
    std::condition_variable allArrived;
    int arrived = 0;
    server.setHandler([&](const Request &) -> std::optional<Reply> {
        std::unique_lock lock(mutex);
        ++arrived;
        allArrived.notify_all();
        const bool all = allArrived.wait_for(lock, 30s, [&] { return arrived >= count; });
        return Reply::json(all ? "{\"all\":true}" : "{\"all\":false}");
    });

    HttpClient http;
    std::vector<Outcome> outcomes(count);
    for (Outcome &outcome : outcomes)
        http.get(urlOf(server, "/api/tags"), this, outcome.callback());
    QCOMPARE(http.queuedRequests(), 0);
    for (Outcome &outcome : outcomes) {
        QVERIFY(outcome.wait());
        QCOMPARE(outcome.result->ok() ? outcome.result->value() : QByteArray(), QByteArray("{\"all\":true}"));
    }
}

void TestOllamaService::queuedRequestStartsItsClockWhenSent()
{
    // One connection. The first request gets no answer and times out; the
    // second waits behind it for as long, and must still be answered: its
    // time-out runs from when it is sent, not from when it was queued.
    FakeOllamaServer server;
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    server.setHandler(ReplyGate::holding(gate, "/api/show"));
    HttpClient http;
    http.setMaxConnectionsPerHost(1);
    http.setTransferTimeout(2s);
    Outcome held, queued;
    http.postJSON(urlOf(server, "/api/show"), "{}", this, held.callback());
    http.get(urlOf(server, "/api/tags"), this, queued.callback());
    QCOMPARE(http.queuedRequests(), 1);

    QVERIFY(held.wait());
    QVERIFY(!held.result->ok());
    QVERIFY(queued.wait());
    QVERIFY2(queued.result->ok(), qPrintable(queued.error()));
}

void TestOllamaService::publishesFetchedList()
{
    Rig rig;
    rig.server.setModels({model("llama3.2:latest", std::vector<std::string>{"completion", "tools"}),
                          model("nomic-embed-text:latest", std::vector<std::string>{"embedding"})});
    rig.fetch();

    // Loading first; at the end the list, then the cleared error, then the flag.
    QCOMPARE(rig.events.size(), 8);
    QCOMPARE(rig.events.mid(0, 2), QStringList({QStringLiteral("willChange"), QStringLiteral("loading=1")}));
    QVERIFY(rig.events[3].startsWith(QLatin1String("models=")));
    QCOMPARE(rig.events.mid(4), QStringList({QStringLiteral("willChange"), QStringLiteral("error=absent"),
                                             QStringLiteral("willChange"), QStringLiteral("loading=0")}));

    const OllamaModel *llama = rig.find(QStringLiteral("llama3.2:latest"));
    const OllamaModel *nomic = rig.find(QStringLiteral("nomic-embed-text:latest"));
    QVERIFY(llama && nomic);
    QCOMPARE(llama->capabilities, (ModelCapabilities{true, false, false, false}));
    QCOMPARE(nomic->capabilities, (ModelCapabilities{false, false, false, true}));
    QCOMPARE(llama->size, std::optional<qint64>(2019393189LL));

    // One list request with no header of its own, then one show request per model.
    const auto tags = rig.server.requests("/api/tags");
    QCOMPARE(tags.size(), size_t(1));
    QCOMPARE(tags[0].method + tags[0].header("Content-Type"), std::string("GET"));
    std::multiset<std::string> shown;
    for (const Request &request : rig.server.requests("/api/show")) {
        QCOMPARE(request.method + " " + request.header("Content-Type"), std::string("POST application/json"));
        shown.insert(request.body);
    }
    QCOMPARE(shown, (std::multiset<std::string>{R"({"name":"llama3.2:latest"})",
                                                R"({"name":"nomic-embed-text:latest"})"}));

    // An empty list is published like any other, and asks about no model.
    rig.server.setRoute("GET", "/api/tags", Reply::json(R"({"models":[]})"));
    rig.server.clearRequests();
    QCOMPARE(rig.fetch(), QByteArray());
    QCOMPARE(rig.events[3], QStringLiteral("models="));
    QCOMPARE(rig.server.requests("/api/show").size(), size_t(0));
}

void TestOllamaService::failedFetchKeepsList_data()
{
    QTest::addColumn<QString>("url"); // empty: the fake server
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("error"); // exact, or only its start when it ends in ": "

    QTest::newRow("URL refused") << "localhost:11434" << 0 << QByteArray() << "Invalid URL";
    QTest::newRow("URL with a space") << "http://local host:11434" << 0 << QByteArray() << "Invalid URL";
    QTest::newRow("nothing listening") << deadServerURL() << 0 << QByteArray() << "Failed to fetch models: ";
    QTest::newRow("not JSON") << "" << 404 << QByteArray("404 page not found") << "Failed to fetch models: ";
    QTest::newRow("no models") << "" << 200 << QByteArray(R"({"models":null})")
                               << "Failed to fetch models: The server's reply could not be read: reply.models is "
                                  "missing";
    QTest::newRow("fractional size") << "" << 200 << QByteArray(R"({"models":[{"name":"a","size":1.5}]})")
                                     << "Failed to fetch models: The server's reply could not be read: "
                                        "reply.models[0].size should be a whole number but is number";
}

void TestOllamaService::failedFetchKeepsList()
{
    QFETCH(QString, url);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, error);

    Rig rig;
    rig.server.setModels({model("llama3.2:latest", std::vector<std::string>{"tools"})});
    rig.fetch();
    const QList<OllamaModel> before = rig.service->availableModels();
    QCOMPARE(before.size(), 1);
    rig.server.clearRequests();

    if (!url.isEmpty())
        rig.prefs.settings().setOllamaURL(url);
    else
        rig.server.enqueue("GET", "/api/tags", Reply::json(body.toStdString(), status));
    QCOMPARE(rig.fetch(), QByteArray());

    const QString published = rig.service->modelError().value_or(QString());
    if (error.endsWith(QLatin1String(": ")))
        QVERIFY2(published.startsWith(error) && published.size() > error.size(), qPrintable(published));
    else
        QCOMPARE(published, error);
    QCOMPARE(rig.events, failedFetch(published));
    QCOMPARE(rig.service->availableModels(), before);
    QCOMPARE(rig.server.requests("/api/show").size(), size_t(0));
    if (error == QLatin1String("Invalid URL"))
        QCOMPARE(rig.server.requestCount(), size_t(0));

    // The next successful fetch clears the error.
    rig.prefs.settings().setOllamaURL(rig.server.baseURL());
    rig.fetch();
    QVERIFY(!rig.service->modelError().has_value());
}

void TestOllamaService::publishesInCompletionOrder()
{
    Rig rig;
    rig.server.setModels({model("first", std::vector<std::string>{"vision"}),
                          model("second", std::vector<std::string>{"tools"}),
                          model("third", std::vector<std::string>{"embedding"})});
    std::map<std::string, std::shared_ptr<ReplyGate>> gates{
        {"first", ReplyGate::make()}, {"second", ReplyGate::make()}, {"third", ReplyGate::make()}};
    GateOpener first{gates["first"]}, second{gates["second"]}, third{gates["third"]};
    rig.server.setHandler(holdingShows(gates));

    StdoutCapture capture;
    const auto answered = [&capture] { return capture.text().count("Capabilities from API"); };
    rig.service->fetchModels();
    // Every show request is sent before any is answered; they are answered
    // third, first, second, each once the previous answer has been taken in.
    QVERIFY(QTest::qWaitFor([&] { return rig.server.requests("/api/show").size() == 3; }, waitLimit));
    gates["third"]->open();
    QVERIFY(QTest::qWaitFor([&] { return answered() == 1; }, waitLimit));
    gates["first"]->open();
    QVERIFY(QTest::qWaitFor([&] { return answered() == 2; }, waitLimit));
    gates["second"]->open();
    QVERIFY(rig.waitForIdle());

    QCOMPARE(rig.names(), QStringList({QStringLiteral("third"), QStringLiteral("first"), QStringLiteral("second")}));
    QVERIFY(rig.find(QStringLiteral("first"))->capabilities.supportsVision);
}

void TestOllamaService::capabilityFailureKeepsEntry_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QByteArray>("line"); // exact, or only its start when it ends in ": "

    QTest::newRow("404 JSON error") << 404 << QByteArray(R"({"error":"model 'broken' not found"})") << false
                                    << QByteArray("\xE2\x9A\xA0\xEF\xB8\x8F No capabilities array found in response");
    QTest::newRow("capabilities a string")
        << 200 << QByteArray(R"({"capabilities":"vision"})") << false
        << QByteArray("Failed to fetch capabilities for broken: The server's reply could not be read: "
                      "reply.capabilities should be a list but is string");
    QTest::newRow("not JSON") << 500 << QByteArray("Internal Server Error") << false
                              << QByteArray("Failed to fetch capabilities for broken: ");
    QTest::newRow("connection cut") << 200 << QByteArray(R"({"capabilities":["tools","completion"]})") << true
                                    << QByteArray("Failed to fetch capabilities for broken: ");
}

void TestOllamaService::capabilityFailureKeepsEntry()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, cut);
    QFETCH(QByteArray, line);

    Rig rig;
    rig.server.setModels({model("good", std::vector<std::string>{"tools"}),
                          model("broken", std::vector<std::string>{"tools"})});
    Reply reply = Reply::json(body.toStdString(), status);
    reply.closeMidBody = cut;
    rig.server.setHandler([reply](const Request &request) -> std::optional<Reply> {
        return request.path == "/api/show" && requestedName(request) == "broken" ? std::optional(reply) : std::nullopt;
    });
    const QList<QByteArray> lines = rig.fetch().split('\n');

    QCOMPARE(rig.names().size(), 2);
    QVERIFY(rig.find(QStringLiteral("good"))->capabilities.supportsTools);
    QCOMPARE(rig.find(QStringLiteral("broken"))->capabilities, ModelCapabilities{});
    QVERIFY(!rig.service->modelError().has_value());

    // The good model's line, and exactly one about the broken one.
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.contains("Capabilities from API: [\"tools\"]"));
    const QByteArray other = lines[0].startsWith("Capabilities") ? lines[1] : lines[0];
    if (line.endsWith(": "))
        QVERIFY2(other.startsWith(line) && other.size() > line.size(), other.constData());
    else
        QCOMPARE(other, line);
}

void TestOllamaService::overlappingFetchesEachPublish()
{
    Rig rig;
    rig.server.setModels({model("a", std::vector<std::string>{"tools"}), model("b", std::nullopt)});
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    auto lists = std::make_shared<std::atomic<int>>(0);
    rig.server.setHandler([gate, lists](const Request &request) -> std::optional<Reply> {
        if (request.path != "/api/tags")
            return std::nullopt;
        // The first fetch's list arrives only when the test says so.
        if (++*lists == 1) {
            gate->wait();
            return Reply::json(FakeOllamaServer::tagsBody({model("a", std::nullopt)}));
        }
        return Reply::json(FakeOllamaServer::tagsBody({model("a", std::nullopt), model("b", std::nullopt)}));
    });

    StdoutCapture capture;
    rig.service->fetchModels();
    QVERIFY(QTest::qWaitFor([&] { return gate->arrivals() == 1; }, waitLimit));
    rig.service->fetchModels();

    // The second fetch ends first and clears the flag, though the first runs on.
    QVERIFY(QTest::qWaitFor([&] { return rig.names().size() == 2; }, waitLimit));
    QVERIFY(!rig.service->isLoadingModels());
    gate->open();
    // The fetch that ends last decides the list.
    QVERIFY(QTest::qWaitFor([&] { return rig.names().size() == 1; }, waitLimit));
    QVERIFY(rig.service->availableModels().first().capabilities.supportsTools);
    QCOMPARE(rig.events.filter(QStringLiteral("loading=")),
             QStringList({QStringLiteral("loading=1"), QStringLiteral("loading=1"), QStringLiteral("loading=0"),
                          QStringLiteral("loading=0")}));
}

void TestOllamaService::usesURLSavedBetweenFetches()
{
    // Through the process's shared HTTP client, as the app's screens use it.
    FakeOllamaServer first, second;
    first.setModels({model("on-first", std::nullopt)});
    second.setModels({model("on-second", std::vector<std::string>{"embedding"})});
    TestSettings prefs;
    prefs.settings().setOllamaURL(first.baseURL());
    OllamaService service(prefs.settings());
    StdoutCapture capture;

    service.fetchModels();
    QVERIFY(QTest::qWaitFor([&] { return !service.availableModels().isEmpty(); }, waitLimit));
    prefs.settings().setOllamaURL(second.baseURL());
    service.fetchModels();
    QVERIFY(QTest::qWaitFor([&] { return service.availableModels().first().name == QLatin1String("on-second"); },
                            waitLimit));
    QVERIFY(service.availableModels().first().capabilities.supportsEmbedding);
    QCOMPARE(first.requestCount(), size_t(2));
    QCOMPARE(second.requestCount(), size_t(2));
}

void TestOllamaService::destroyedServiceIgnoresLateReplies()
{
    Rig rig;
    rig.server.setModels({model("slow", std::vector<std::string>{"tools"})});
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    rig.server.setHandler(ReplyGate::holding(gate, "/api/show"));
    QSignalSpy finished(rig.http.findChild<QNetworkAccessManager *>(), &QNetworkAccessManager::finished);

    StdoutCapture capture;
    rig.service->fetchModels();
    QVERIFY(QTest::qWaitFor([&] { return gate->arrivals() == 1; }, waitLimit));
    rig.service.reset();
    gate->open();
    // Both replies end and are freed; nothing reaches the gone service.
    QVERIFY(QTest::qWaitFor([&] { return finished.size() == 2; }, waitLimit));
    QCoreApplication::processEvents();
    QCOMPARE(capture.text(), QByteArray());
}

int main(int argc, char **argv)
{
    bool sharedClientDestroyed = false;
    int status = 0;
    {
        QCoreApplication app(argc, argv);
        QObject::connect(&HttpClient::shared(), &QObject::destroyed, [&] { sharedClientDestroyed = true; });
        TestOllamaService test;
        status = QTest::qExec(&test, argc, argv);
    }
    // The process's shared client goes with the application object, in its
    // destructor, rather than leaking or outliving it.
    if (!sharedClientDestroyed) {
        std::fprintf(stderr, "FAIL: the shared HTTP client outlived the application object\n");
        return 1;
    }
    return status;
}

#include "tst_ollamaservice.moc"
