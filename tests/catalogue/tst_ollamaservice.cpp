#include "FakeOllamaServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include <nlohmann/json.hpp>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>

namespace {

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;
using Model = FakeOllamaServer::Model;

constexpr int waitLimit = 15000;

QString describe(const std::optional<QString> &value)
{
    return value ? QLatin1Char('"') + *value + QLatin1Char('"') : QStringLiteral("absent");
}

Model model(const std::string &name, std::optional<std::vector<std::string>> capabilities)
{
    Model m;
    m.name = name;
    m.capabilities = std::move(capabilities);
    return m;
}

QStringList namesOf(const QList<OllamaModel> &models)
{
    QStringList names;
    for (const OllamaModel &m : models)
        names.append(m.name);
    return names;
}

const OllamaModel *find(const QList<OllamaModel> &models, const QString &name)
{
    for (const OllamaModel &m : models) {
        if (m.name == name)
            return &m;
    }
    return nullptr;
}

// Lets the test decide when the fake server may answer each show request.
// Handlers on the server's threads wait here; the test opens the gates.
class Gates
{
public:
    void open(const std::string &name)
    {
        {
            std::lock_guard lock(m_mutex);
            m_open.insert(name);
        }
        m_changed.notify_all();
    }
    void openAll()
    {
        {
            std::lock_guard lock(m_mutex);
            m_all = true;
        }
        m_changed.notify_all();
    }
    // Bounded, so that a failing test cannot hang the server forever.
    void wait(const std::string &name)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, 30s, [&] { return m_all || m_open.count(name) > 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::set<std::string> m_open;
    bool m_all = false;
};

// Opens every gate on the way out, before the server (declared earlier)
// waits for its handlers.
struct GatesOpener
{
    std::shared_ptr<Gates> gates;
    ~GatesOpener() { gates->openAll(); }
};

std::string requestedName(const FakeOllamaServer::Request &request)
{
    try {
        return nlohmann::json::parse(request.body).value("name", std::string());
    } catch (const nlohmann::json::exception &) {
        return {};
    }
}

// Records every signal of a service with the state it announces.
class Recorder
{
public:
    explicit Recorder(OllamaService &service)
    {
        QObject::connect(&service, &OllamaService::willChange, &m_context, [this] { events.append(QStringLiteral("willChange")); });
        QObject::connect(&service, &OllamaService::availableModelsChanged, &m_context, [this, &service] {
            events.append(QStringLiteral("availableModels(%1)").arg(service.availableModels().size()));
        });
        QObject::connect(&service, &OllamaService::isLoadingModelsChanged, &m_context, [this, &service] {
            events.append(QStringLiteral("isLoadingModels=%1").arg(QLatin1String(service.isLoadingModels() ? "true" : "false")));
        });
        QObject::connect(&service, &OllamaService::modelErrorChanged, &m_context, [this, &service] {
            events.append(QStringLiteral("modelError=") + describe(service.modelError()));
        });
    }

    QStringList events;

private:
    QObject m_context;
};

// A service wired to its own settings, HTTP client and fake server.
struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    std::unique_ptr<OllamaService> service;

    Rig()
    {
        prefs.settings().setOllamaURL(server.baseURL());
        service = std::make_unique<OllamaService>(prefs.settings(), http);
    }

    // Runs one fetch to its end, with the diagnostic lines captured.
    QByteArray fetch()
    {
        StdoutCapture capture;
        service->fetchModels();
        waitForIdle();
        return capture.text();
    }

    bool waitForIdle()
    {
        return QTest::qWaitFor([this] { return !service->isLoadingModels(); }, waitLimit);
    }
};

QList<QByteArray> linesOf(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class TestOllamaService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void publishesFetchedList();
    void refusesInvalidURL_data();
    void refusesInvalidURL();
    void refusedConnectionKeepsList();
    void unreadableListKeepsList_data();
    void unreadableListKeepsList();
    void emptyListSendsNoShowRequest();
    void publishesInCompletionOrder();
    void capabilityFailureKeepsEntry_data();
    void capabilityFailureKeepsEntry();
    void capabilitiesWithInvalidURL();
    void overlappingFetches();
    void usesURLSavedBetweenFetches();
    void destroyedServiceIgnoresLateReplies();
};

void TestOllamaService::publishesFetchedList()
{
    Rig rig;
    rig.server.setModels({model("llama3.2:latest", std::vector<std::string>{"completion", "tools"}),
                          model("nomic-embed-text:latest", std::vector<std::string>{"embedding"})});
    Recorder recorder(*rig.service);

    const QByteArray output = rig.fetch();
    QVERIFY(!rig.service->isLoadingModels());

    // Loading first; at the end the list, then the cleared error, then the flag.
    QCOMPARE(recorder.events,
             QStringList({QStringLiteral("willChange"), QStringLiteral("isLoadingModels=true"),
                          QStringLiteral("willChange"), QStringLiteral("availableModels(2)"),
                          QStringLiteral("willChange"), QStringLiteral("modelError=absent"),
                          QStringLiteral("willChange"), QStringLiteral("isLoadingModels=false")}));

    const QList<OllamaModel> &models = rig.service->availableModels();
    const OllamaModel *llama = find(models, QStringLiteral("llama3.2:latest"));
    const OllamaModel *nomic = find(models, QStringLiteral("nomic-embed-text:latest"));
    QVERIFY(llama && nomic);
    QVERIFY(llama->capabilities.supportsTools);
    QVERIFY(!llama->capabilities.supportsEmbedding);
    QVERIFY(nomic->capabilities.supportsEmbedding);
    QVERIFY(!nomic->capabilities.supportsTools);
    // The rest of each entry comes from the list.
    QCOMPARE(llama->size, std::optional<qint64>(2019393189LL));
    QVERIFY(llama->details.has_value());
    QCOMPARE(llama->details->parameterSize, std::optional<QString>(QStringLiteral("3.2B")));

    // One list request without a body type, then one show request per model.
    const auto tags = rig.server.requests("/api/tags");
    QCOMPARE(tags.size(), size_t(1));
    QCOMPARE(tags[0].method, std::string("GET"));
    QCOMPARE(tags[0].header("Content-Type"), std::string());
    std::multiset<std::string> shown;
    for (const auto &request : rig.server.requests("/api/show")) {
        QCOMPARE(request.method, std::string("POST"));
        QCOMPARE(request.header("Content-Type"), std::string("application/json"));
        shown.insert(request.body);
    }
    QCOMPARE(shown, (std::multiset<std::string>{R"({"name":"llama3.2:latest"})",
                                                R"({"name":"nomic-embed-text:latest"})"}));

    QVERIFY(output.contains("Capabilities from API: [\"completion\", \"tools\"]\n"));
    QVERIFY(output.contains("Capabilities from API: [\"embedding\"]\n"));
}

void TestOllamaService::refusesInvalidURL_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("empty") << QString();
    QTest::newRow("no scheme") << QStringLiteral("localhost:11434");
    QTest::newRow("file") << QStringLiteral("file:///etc/passwd");
    QTest::newRow("no host") << QStringLiteral("http://");
    QTest::newRow("space") << QStringLiteral("http://local host:11434");
}

void TestOllamaService::refusesInvalidURL()
{
    QFETCH(QString, url);

    Rig rig;
    rig.server.setModels({model("llama3.2:latest", std::vector<std::string>{"completion"})});
    rig.fetch();
    QCOMPARE(rig.service->availableModels().size(), 1);
    const QList<OllamaModel> before = rig.service->availableModels();
    const size_t requestsBefore = rig.server.requestCount();

    auto *manager = rig.http.findChild<QNetworkAccessManager *>();
    QVERIFY(manager);
    QSignalSpy replies(manager, &QNetworkAccessManager::finished);

    rig.prefs.settings().setOllamaURL(url);
    Recorder recorder(*rig.service);
    rig.service->fetchModels();
    QVERIFY(rig.waitForIdle());
    QCoreApplication::processEvents();

    QCOMPARE(recorder.events,
             QStringList({QStringLiteral("willChange"), QStringLiteral("isLoadingModels=true"),
                          QStringLiteral("willChange"), QStringLiteral("modelError=\"Invalid URL\""),
                          QStringLiteral("willChange"), QStringLiteral("isLoadingModels=false")}));
    QCOMPARE(rig.service->availableModels(), before);
    QCOMPARE(rig.server.requestCount(), requestsBefore);
    QCOMPARE(replies.size(), 0);
}

void TestOllamaService::refusedConnectionKeepsList()
{
    Rig rig;
    rig.server.setModels({model("llama3.2:latest", std::vector<std::string>{"completion"})});
    rig.fetch();
    const QList<OllamaModel> before = rig.service->availableModels();
    QCOMPARE(before.size(), 1);

    int deadPort = 0;
    {
        FakeOllamaServer gone;
        deadPort = gone.port();
    }
    rig.prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:%1").arg(deadPort));
    Recorder recorder(*rig.service);
    const QByteArray output = rig.fetch();

    QVERIFY(rig.service->modelError().has_value());
    const QString error = *rig.service->modelError();
    QVERIFY2(error.startsWith(QLatin1String("Failed to fetch models: ")), qPrintable(error));
    QVERIFY(error.size() > QLatin1String("Failed to fetch models: ").size());
    QCOMPARE(rig.service->availableModels(), before);
    QCOMPARE(recorder.events,
             QStringList({QStringLiteral("willChange"), QStringLiteral("isLoadingModels=true"),
                          QStringLiteral("willChange"), QStringLiteral("modelError=") + describe(error),
                          QStringLiteral("willChange"), QStringLiteral("isLoadingModels=false")}));
    QCOMPARE(output, QByteArray());

    // A later successful fetch clears the error.
    rig.prefs.settings().setOllamaURL(rig.server.baseURL());
    rig.fetch();
    QVERIFY(!rig.service->modelError().has_value());
    QCOMPARE(rig.service->availableModels().size(), 1);
}

void TestOllamaService::unreadableListKeepsList_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");

    QTest::newRow("not JSON") << QByteArray("404 page not found") << 404;
    QTest::newRow("empty body") << QByteArray() << 200;
    QTest::newRow("no models") << QByteArray(R"({"error":"unauthorized"})") << 401;
    QTest::newRow("models null") << QByteArray(R"({"models":null})") << 200;
    QTest::newRow("entry without name") << QByteArray(R"({"models":[{"name":"a"},{"size":1}]})") << 200;
    QTest::newRow("fractional size") << QByteArray(R"({"models":[{"name":"a","size":1.5}]})") << 200;
    QTest::newRow("top level array") << QByteArray(R"([{"name":"a"}])") << 200;
}

void TestOllamaService::unreadableListKeepsList()
{
    QFETCH(QByteArray, body);
    QFETCH(int, status);

    Rig rig;
    rig.server.setModels({model("llama3.2:latest", std::vector<std::string>{"completion"})});
    rig.fetch();
    const QList<OllamaModel> before = rig.service->availableModels();
    QCOMPARE(before.size(), 1);

    rig.server.clearRequests();
    Reply reply = Reply::json(body.toStdString(), status);
    rig.server.setRoute("GET", "/api/tags", reply);
    rig.fetch();

    const auto expected = ModelRecords::readModelsResponse(body);
    QVERIFY(!expected.ok());
    QCOMPARE(describe(rig.service->modelError()),
             describe(QStringLiteral("Failed to fetch models: ") + expected.error().description));
    QCOMPARE(rig.service->availableModels(), before);
    QCOMPARE(rig.server.requests("/api/show").size(), size_t(0));
}

void TestOllamaService::emptyListSendsNoShowRequest()
{
    Rig rig;
    // A failed fetch first, so that clearing the error is visible.
    rig.server.setRoute("GET", "/api/tags", Reply::text(404, "404 page not found"));
    rig.fetch();
    QVERIFY(rig.service->modelError().has_value());

    rig.server.setRoute("GET", "/api/tags", Reply::json(R"({"models":[]})"));
    Recorder recorder(*rig.service);
    const QByteArray output = rig.fetch();

    QCOMPARE(recorder.events,
             QStringList({QStringLiteral("willChange"), QStringLiteral("isLoadingModels=true"),
                          QStringLiteral("willChange"), QStringLiteral("availableModels(0)"),
                          QStringLiteral("willChange"), QStringLiteral("modelError=absent"),
                          QStringLiteral("willChange"), QStringLiteral("isLoadingModels=false")}));
    QCOMPARE(rig.server.requests("/api/show").size(), size_t(0));
    QCOMPARE(output, QByteArray());
}

void TestOllamaService::publishesInCompletionOrder()
{
    Rig rig;
    rig.server.setModels({model("first", std::vector<std::string>{"vision"}),
                          model("second", std::vector<std::string>{"tools"}),
                          model("third", std::vector<std::string>{"embedding"})});
    auto gates = std::make_shared<Gates>();
    GatesOpener opener{gates};
    rig.server.setHandler([gates](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (request.path == "/api/show")
            gates->wait(requestedName(request));
        return std::nullopt;
    });

    auto capture = std::make_unique<StdoutCapture>();
    const auto answered = [&capture] { return capture->text().count("Capabilities from API"); };
    rig.service->fetchModels();

    // Every show request is on its way before any is answered.
    const bool allSent = QTest::qWaitFor([&] { return rig.server.requests("/api/show").size() == 3; }, waitLimit);
    // Answer third, then first, then second, each only after the previous
    // answer has been taken in.
    gates->open("third");
    const bool thirdDone = QTest::qWaitFor([&] { return answered() == 1; }, waitLimit);
    gates->open("first");
    const bool firstDone = QTest::qWaitFor([&] { return answered() == 2; }, waitLimit);
    gates->open("second");
    const bool finished = rig.waitForIdle();
    capture.reset();

    QVERIFY(allSent);
    QVERIFY(thirdDone);
    QVERIFY(firstDone);
    QVERIFY(finished);

    const QList<OllamaModel> &models = rig.service->availableModels();
    QCOMPARE(namesOf(models), QStringList({QStringLiteral("third"), QStringLiteral("first"), QStringLiteral("second")}));
    QVERIFY(models[0].capabilities.supportsEmbedding);
    QVERIFY(models[1].capabilities.supportsVision);
    QVERIFY(models[2].capabilities.supportsTools);
    QVERIFY(!rig.service->modelError().has_value());
}

void TestOllamaService::capabilityFailureKeepsEntry_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("cut");
    // The diagnostic line about the failing model, or its start when the
    // words come from the HTTP client.
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("exact");

    const QByteArray prefix = "Failed to fetch capabilities for broken: ";
    const QByteArray noArray = "\xE2\x9A\xA0\xEF\xB8\x8F No capabilities array found in response";
    auto readerLine = [&prefix](const QByteArray &body) {
        return prefix + ModelRecords::readShowResponse(body).error().description.toUtf8();
    };

    QTest::newRow("404 JSON error") << 404 << QByteArray(R"({"error":"model 'broken' not found"})") << false
                                    << noArray << true;
    QTest::newRow("object without capabilities") << 200 << QByteArray(R"({"modelfile":"FROM x"})") << false
                                                 << noArray << true;
    QTest::newRow("not JSON") << 500 << QByteArray("Internal Server Error") << false
                              << readerLine("Internal Server Error") << true;
    QTest::newRow("capabilities a string") << 200 << QByteArray(R"({"capabilities":"vision"})") << false
                                           << readerLine(R"({"capabilities":"vision"})") << true;
    QTest::newRow("families a string") << 200 << QByteArray(R"({"details":{"families":"x"},"capabilities":["tools"]})")
                                       << false << readerLine(R"({"details":{"families":"x"},"capabilities":["tools"]})")
                                       << true;
    QTest::newRow("connection cut") << 200 << QByteArray(R"({"capabilities":["tools","vision","completion"]})")
                                    << true << prefix << false;
}

void TestOllamaService::capabilityFailureKeepsEntry()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, cut);
    QFETCH(QByteArray, line);
    QFETCH(bool, exact);

    Rig rig;
    rig.server.setModels({model("good", std::vector<std::string>{"tools"}),
                          model("broken", std::vector<std::string>{"tools"})});
    Reply reply = Reply::json(body.toStdString(), status);
    reply.closeMidBody = cut;
    rig.server.setHandler([reply](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (request.path == "/api/show" && requestedName(request) == "broken")
            return reply;
        return std::nullopt;
    });

    const QByteArray output = rig.fetch();

    const QList<OllamaModel> &models = rig.service->availableModels();
    QCOMPARE(models.size(), 2);
    const OllamaModel *good = find(models, QStringLiteral("good"));
    const OllamaModel *broken = find(models, QStringLiteral("broken"));
    QVERIFY(good && broken);
    QVERIFY(good->capabilities.supportsTools);
    QCOMPARE(broken->capabilities, ModelCapabilities{});
    QVERIFY(!rig.service->modelError().has_value());

    // The good model's line and exactly one line about the broken one.
    const QList<QByteArray> lines = linesOf(output);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.contains("Capabilities from API: [\"tools\"]"));
    const QByteArray other = lines[0].startsWith("Capabilities from API") ? lines[1] : lines[0];
    if (exact)
        QCOMPARE(other, line);
    else
        QVERIFY2(other.startsWith(line) && other.size() > line.size(), other.constData());
}

void TestOllamaService::capabilitiesWithInvalidURL()
{
    Rig rig;
    rig.prefs.settings().setOllamaURL(QStringLiteral("localhost:11434"));

    std::optional<std::optional<ModelCapabilities>> outcome;
    QByteArray output;
    {
        StdoutCapture capture;
        rig.service->fetchCapabilities(QStringLiteral("llama3.2"),
                                       [&outcome](const std::optional<ModelCapabilities> &c) { outcome = c; });
        // Delivered later, never from inside the call.
        const bool immediate = outcome.has_value();
        const bool delivered = QTest::qWaitFor([&] { return outcome.has_value(); }, waitLimit);
        output = capture.text();
        QVERIFY(!immediate);
        QVERIFY(delivered);
    }
    QVERIFY(outcome.has_value());
    QVERIFY(!outcome->has_value());
    QCOMPARE(output, QByteArray());
    QCOMPARE(rig.server.requestCount(), size_t(0));
}

void TestOllamaService::overlappingFetches()
{
    Rig rig;
    rig.server.setModels({model("a", std::vector<std::string>{"tools"}), model("b", std::vector<std::string>{"vision"}),
                          model("c", std::vector<std::string>{"embedding"})});
    auto gates = std::make_shared<Gates>();
    GatesOpener opener{gates};
    auto tagsCount = std::make_shared<std::atomic<int>>(0);
    rig.server.setHandler([gates, tagsCount](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (request.path != "/api/tags")
            return std::nullopt;
        if (++*tagsCount == 1) {
            // The first fetch's list arrives only when the test says so.
            gates->wait("first list");
            return Reply::json(FakeOllamaServer::tagsBody({model("a", std::nullopt)}));
        }
        return Reply::json(FakeOllamaServer::tagsBody({model("b", std::nullopt), model("c", std::nullopt)}));
    });

    Recorder recorder(*rig.service);
    auto capture = std::make_unique<StdoutCapture>();
    rig.service->fetchModels();
    const bool firstAsked = QTest::qWaitFor([&] { return rig.server.requests("/api/tags").size() == 1; }, waitLimit);
    rig.service->fetchModels();

    // The second fetch ends first: it publishes its list and clears the flag
    // although the first is still under way.
    const bool secondDone = QTest::qWaitFor([&] { return rig.service->availableModels().size() == 2; }, waitLimit);
    const bool loadingAfterSecond = rig.service->isLoadingModels();
    const QStringList afterSecond = namesOf(rig.service->availableModels());

    gates->open("first list");
    const bool firstDone = QTest::qWaitFor([&] { return rig.service->availableModels().size() == 1; }, waitLimit);
    capture.reset();

    QVERIFY(firstAsked);
    QVERIFY(secondDone);
    QVERIFY(!loadingAfterSecond);
    QCOMPARE(QSet<QString>(afterSecond.begin(), afterSecond.end()), QSet<QString>({QStringLiteral("b"), QStringLiteral("c")}));
    // The fetch that ended last decides the list.
    QVERIFY(firstDone);
    QCOMPARE(namesOf(rig.service->availableModels()), QStringList{QStringLiteral("a")});
    QVERIFY(rig.service->availableModels().first().capabilities.supportsTools);
    QVERIFY(!rig.service->isLoadingModels());

    QStringList loading;
    for (const QString &event : recorder.events) {
        if (event.startsWith(QLatin1String("isLoadingModels")))
            loading.append(event);
    }
    QCOMPARE(loading, QStringList({QStringLiteral("isLoadingModels=true"), QStringLiteral("isLoadingModels=true"),
                                   QStringLiteral("isLoadingModels=false"), QStringLiteral("isLoadingModels=false")}));
}

void TestOllamaService::usesURLSavedBetweenFetches()
{
    Rig rig;
    rig.server.setModels({model("on-first", std::vector<std::string>{"completion"})});
    FakeOllamaServer other;
    other.setModels({model("on-second", std::vector<std::string>{"embedding"})});

    rig.fetch();
    QCOMPARE(namesOf(rig.service->availableModels()), QStringList{QStringLiteral("on-first")});

    rig.prefs.settings().setOllamaURL(other.baseURL());
    rig.server.clearRequests();
    rig.fetch();

    QCOMPARE(namesOf(rig.service->availableModels()), QStringList{QStringLiteral("on-second")});
    QVERIFY(rig.service->availableModels().first().capabilities.supportsEmbedding);
    QCOMPARE(rig.server.requestCount(), size_t(0));
    QCOMPARE(other.requests("/api/tags").size(), size_t(1));
    QCOMPARE(other.requests("/api/show").size(), size_t(1));
}

void TestOllamaService::destroyedServiceIgnoresLateReplies()
{
    Rig rig;
    rig.server.setModels({model("slow", std::vector<std::string>{"tools"})});
    auto gates = std::make_shared<Gates>();
    GatesOpener opener{gates};
    rig.server.setHandler([gates](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (request.path == "/api/show")
            gates->wait("slow");
        return std::nullopt;
    });

    auto *manager = rig.http.findChild<QNetworkAccessManager *>();
    QVERIFY(manager);
    QSignalSpy finished(manager, &QNetworkAccessManager::finished);

    auto capture = std::make_unique<StdoutCapture>();
    rig.service->fetchModels();
    const bool asked = QTest::qWaitFor([&] { return rig.server.requests("/api/show").size() == 1; }, waitLimit);
    rig.service.reset();
    gates->open("slow");
    // Both replies end and are cleaned up; nothing reaches the gone service.
    const bool ended = QTest::qWaitFor([&] { return finished.size() == 2; }, waitLimit);
    QCoreApplication::processEvents();
    const QByteArray output = capture->text();
    capture.reset();

    QVERIFY(asked);
    QVERIFY(ended);
    QCOMPARE(output, QByteArray());
}

QTEST_GUILESS_MAIN(TestOllamaService)
#include "tst_ollamaservice.moc"
