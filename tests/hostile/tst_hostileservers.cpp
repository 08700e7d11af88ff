// Points every client and the catalogue at servers that misbehave, and checks
// that each keeps the event loop turning, ends in a clear error, the
// documented fallback or an ordinary result, never crashes and changes no
// setting.
#include "FakeOllamaServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <nlohmann/json.hpp>

#include <atomic>

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;

namespace {

enum class Outcome {
    Error,    // a failure with a description
    Fallback, // a sentiment score of 3 from an unreadable answer
    Result,   // an ordinary result
};

// What one misbehaving server does, for every path.
struct Misbehaviour
{
    std::function<Reply(const FakeOllamaServer::Request &)> reply;
    bool refuse = false;             // nobody listens
    bool redirectToSecond = false;   // every call is redirected to a second, ordinary server
};

// The servers of one row: the one the settings name, and the redirect target.
struct Servers
{
    std::unique_ptr<FakeOllamaServer> first;
    std::unique_ptr<FakeOllamaServer> second;
    QString baseURL;
};

Servers serve(const Misbehaviour &misbehaviour)
{
    Servers servers;
    servers.first = std::make_unique<FakeOllamaServer>();
    servers.baseURL = servers.first->baseURL();
    if (misbehaviour.refuse) {
        servers.first.reset(); // the port is closed again
    } else if (misbehaviour.redirectToSecond) {
        servers.second = std::make_unique<FakeOllamaServer>();
        FakeOllamaServer::Model embedder;
        embedder.name = "nomic-embed-text:latest";
        embedder.capabilities = std::vector<std::string>{"embedding"};
        servers.second->setModels({FakeOllamaServer::Model{"llama3.2:latest"}, embedder});
        // As a real server redirects: 301 for a GET, 307 (keep the method
        // and the body) for anything else.
        const std::string target = servers.second->baseURL().toStdString();
        servers.first->setHandler([target](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
            Reply moved = Reply::text(request.method == "GET" ? 301 : 307, "");
            moved.headers.emplace("Location", target + request.path);
            return moved;
        });
    } else {
        servers.first->setHandler([reply = misbehaviour.reply](const FakeOllamaServer::Request &request) {
            return std::optional<Reply>(reply(request));
        });
    }
    return servers;
}

// Measures the longest time the event loop went without turning.
class Heartbeat
{
public:
    Heartbeat()
    {
        m_clock.start();
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { beat(); });
        m_timer.start(10);
    }
    qint64 longestGapMs()
    {
        beat();
        return m_longest;
    }

private:
    void beat()
    {
        const qint64 now = m_clock.elapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

const char *const htmlPage = "<!DOCTYPE html><html><body><h1>502 Bad Gateway</h1></body></html>";

} // namespace

Q_DECLARE_METATYPE(Misbehaviour)
Q_DECLARE_METATYPE(Outcome)

class TestHostileServers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void clients_data() { addRows(); }
    void clients();
    void catalogue_data() { addRows(); }
    void catalogue();
    void diagnosticsEscapeServerText_data();
    void diagnosticsEscapeServerText();

private:
    void addRows();
    HttpClient m_http;
};

void TestHostileServers::init()
{
    // A short time-out for the servers that go silent, so they are given up
    // on quickly; a generous one for the others, whose replies must arrive.
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const bool silent = tag.contains(QLatin1String("never answers")) || tag.contains(QLatin1String("stalls"));
    m_http.setTransferTimeout(silent ? 400ms : 20000ms);
}

void TestHostileServers::addRows()
{
    QTest::addColumn<Misbehaviour>("misbehaviour");
    QTest::addColumn<Outcome>("sentiment");
    QTest::addColumn<Outcome>("similarity");
    QTest::addColumn<int>("listed"); // models the catalogue publishes; -1: an error
    QTest::addColumn<QString>("errorHint");

    auto all = [](Reply reply) { return Misbehaviour{[reply](const FakeOllamaServer::Request &) { return reply; }}; };
    auto json = [&](const std::string &body, int status = 200) { return all(Reply::json(body, status)); };
    const std::string everything = R"({"models":[],"response":"4","embeddings":[[1,0]]})";

    Reply stall;
    stall.stall = true;
    Reply headersThenStall;
    headersThenStall.stallAfterHeaders = true;
    Reply midBody = Reply::json(R"({"models":[],"response":"4","embeddings":[[1,0]],"padding":")" + std::string(4096, 'x') + "\"}");
    midBody.closeMidBody = true;
    const QString late = QStringLiteral("did not answer in time");
    const QString notJSON = QStringLiteral("not valid JSON");
    const QString invalid = QStringLiteral("Invalid response from Ollama");

    QTest::newRow("connection refused") << Misbehaviour{{}, true} << Outcome::Error << Outcome::Error << -1 << QString();
    QTest::newRow("accepts, never answers") << all(stall) << Outcome::Error << Outcome::Error << -1 << late;
    QTest::newRow("headers, then stalls") << all(headersThenStall) << Outcome::Error << Outcome::Error << -1 << late;
    QTest::newRow("closes mid-body") << all(midBody) << Outcome::Error << Outcome::Error << -1 << QString();
    QTest::newRow("HTML page with status 200") << all(Reply::text(200, htmlPage)) << Outcome::Error
                                                << Outcome::Error << -1 << notJSON;
    QTest::newRow("empty body") << json("") << Outcome::Error << Outcome::Error << -1 << notJSON;
    QTest::newRow("invalid UTF-8") << json("{\"response\":\"\xff\xfe\",\"models\":[],\"embeddings\":[[1]]}")
                                   << Outcome::Error << Outcome::Error << -1 << notJSON;
    QTest::newRow("nesting 100000 deep") << json(std::string(100000, '[') + std::string(100000, ']'))
                                         << Outcome::Error << Outcome::Error << -1 << QString();
    QTest::newRow("100 MB reply") << json("{\"padding\":\"" + std::string(100u * 1024 * 1024, 'a') + "\"}")
                                  << Outcome::Error << Outcome::Error << -1 << QStringLiteral("larger than");
    QTest::newRow("duplicate keys") << json(R"({"response":"1","response":"5","embeddings":[[1,0]],"embeddings":[[0,1]]})")
                                    << Outcome::Result << Outcome::Result << -1 << QString();
    QTest::newRow("embeddings [null]") << json(R"({"response":"x","embeddings":[null]})") << Outcome::Fallback
                                       << Outcome::Error << -1 << invalid;
    QTest::newRow("number 1e400") << json(R"({"response":"4","embeddings":[[1e400]]})") << Outcome::Error
                                  << Outcome::Error << -1 << notJSON;
    QTest::newRow("number beyond float") << json(R"({"response":"4","embeddings":[[1e39,1]]})") << Outcome::Result
                                         << Outcome::Error << -1 << invalid;
    // An error status is not a transport failure: its body is read as the
    // reply, even for statuses that Qt reports as errors of their own.
    QTest::newRow("407 with a JSON body") << json(everything, 407) << Outcome::Result << Outcome::Result << 0
                                          << QString();
    QTest::newRow("503 with a JSON body") << json(everything, 503) << Outcome::Result << Outcome::Result << 0
                                          << QString();
    // Redirects are followed to the new address, with method and body.
    QTest::newRow("redirect to another server") << Misbehaviour{{}, false, true} << Outcome::Result
                                                << Outcome::Result << 2 << QString();
}

void TestHostileServers::clients()
{
    QFETCH(Misbehaviour, misbehaviour);
    QFETCH(Outcome, sentiment);
    QFETCH(Outcome, similarity);
    QFETCH(QString, errorHint);

    Servers servers = serve(misbehaviour);
    TestSettings prefs;
    prefs.settings().setOllamaURL(servers.baseURL);
    prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2"));
    prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text"));
    prefs.store().sync();
    QFile file(prefs.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray storedBefore = file.readAll();
    file.close();

    Heartbeat heartbeat;
    QObject context;
    std::optional<Result<int>> score;
    fetchSentimentScore(QStringLiteral("Lovely day"), QStringLiteral("llama3.2"), &context,
                        [&](const Result<int> &r) { score = r; }, prefs.settings(), m_http);
    std::optional<Result<float>> similar;
    computeSimilarity(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), &context,
                      [&](const Result<float> &r) { similar = r; }, prefs.settings(), m_http);
    QTRY_VERIFY_WITH_TIMEOUT(score.has_value() && similar.has_value(), 30000);
    // The event loop never stood still while the clients waited and read.
    QVERIFY2(heartbeat.longestGapMs() < 1000, qPrintable(QString::number(heartbeat.longestGapMs())));
    if (servers.first)
        servers.first->releaseStalled();

    const bool bothFail = sentiment == Outcome::Error && similarity == Outcome::Error;
    switch (sentiment) {
    case Outcome::Error:
        QVERIFY2(!score->ok(), "expected a failure");
        if (bothFail && !errorHint.isEmpty())
            QVERIFY2(score->error().description.contains(errorHint), qPrintable(score->error().description));
        break;
    case Outcome::Fallback:
        QVERIFY(score->ok());
        QCOMPARE(score->value(), 3);
        break;
    case Outcome::Result:
        QVERIFY2(score->ok(), score->ok() ? "" : qPrintable(score->error().description));
        QVERIFY(score->value() >= 1 && score->value() <= 5);
        break;
    }
    if (similarity == Outcome::Error) {
        QVERIFY2(!similar->ok(), "expected a failure");
        QVERIFY(!similar->error().description.isEmpty());
        if (!errorHint.isEmpty())
            QVERIFY2(similar->error().description.contains(errorHint), qPrintable(similar->error().description));
    } else {
        QVERIFY2(similar->ok(), similar->ok() ? "" : qPrintable(similar->error().description));
        QVERIFY(std::isfinite(similar->value()));
    }

    if (servers.second) {
        // The redirected calls reached the second server as sent: POSTs with
        // their JSON bodies, not turned into GETs.
        const auto generate = servers.second->requests("/api/generate");
        QCOMPARE(generate.size(), size_t(1));
        QCOMPARE(generate[0].method, std::string("POST"));
        QVERIFY(generate[0].bodyText().contains(QLatin1String("Lovely day")));
        const auto embed = servers.second->requests("/api/embed");
        QCOMPARE(embed.size(), size_t(2));
        QCOMPARE(embed[1].method, std::string("POST"));
        QCOMPARE(QString::fromStdString(nlohmann::json::parse(embed[1].body).at("input")), QStringLiteral("b"));
    }

    prefs.store().sync();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), storedBefore);
}

void TestHostileServers::catalogue()
{
    QFETCH(Misbehaviour, misbehaviour);
    QFETCH(Outcome, sentiment);
    QFETCH(Outcome, similarity);
    QFETCH(int, listed);
    QFETCH(QString, errorHint);

    Servers servers = serve(misbehaviour);
    TestSettings prefs;
    prefs.settings().setOllamaURL(servers.baseURL);

    StdoutCapture quiet;
    Heartbeat heartbeat;
    OllamaService service(prefs.settings(), m_http);
    service.fetchModels();
    QTRY_VERIFY_WITH_TIMEOUT(!service.isLoadingModels(), 30000);
    QVERIFY2(heartbeat.longestGapMs() < 1000, qPrintable(QString::number(heartbeat.longestGapMs())));
    if (servers.first)
        servers.first->releaseStalled();

    if (listed >= 0) {
        QVERIFY2(!service.modelError(), qPrintable(service.modelError().value_or(QString())));
        QCOMPARE(service.availableModels().size(), listed);
        return;
    }
    QVERIFY(service.modelError().has_value());
    QVERIFY2(service.modelError()->startsWith(QStringLiteral("Failed to fetch models: ")),
             qPrintable(*service.modelError()));
    if (!errorHint.isEmpty() && sentiment == Outcome::Error && similarity == Outcome::Error)
        QVERIFY2(service.modelError()->contains(errorHint), qPrintable(*service.modelError()));
    QVERIFY(service.availableModels().isEmpty());
}

void TestHostileServers::diagnosticsEscapeServerText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("printed");

    QTest::newRow("non-ASCII") << QStringLiteral("modèle-été:7b") << QByteArray("modèle-été:7b");
    QTest::newRow("line feed") << QStringLiteral("evil\nCapabilities from API: [\"x\"]")
                               << QByteArray("evil\\nCapabilities from API: [\"x\"]");
    QTest::newRow("terminal escape") << QStringLiteral("red\x1b[31mtext") << QByteArray("red\\e[31mtext");
    QTest::newRow("carriage return") << QStringLiteral("a\rb") << QByteArray("a\\rb");
}

void TestHostileServers::diagnosticsEscapeServerText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, printed);

    // The name is printed in the "Failed to fetch capabilities" line (the
    // show reply cannot be read), then as a capability of another model.
    FakeOllamaServer server;
    std::atomic<bool> asCapability = false;
    server.setHandler([&](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        const std::string text = name.toStdString();
        if (request.path == "/api/tags")
            return Reply::json(nlohmann::json{{"models", {{{"name", asCapability ? "m" : text}}}}}.dump());
        return Reply::json(asCapability ? nlohmann::json{{"capabilities", {text}}}.dump() : R"({"capabilities":1})");
    });
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    OllamaService service(prefs.settings(), m_http);

    for (const bool capability : {false, true}) {
        asCapability = capability;
        StdoutCapture capture;
        service.fetchModels();
        QTRY_VERIFY(!service.isLoadingModels());
        const QByteArray out = capture.text();
        const QByteArray expected = capability ? QByteArray("Capabilities from API: [\"")
                                               : "Failed to fetch capabilities for " + printed + ": ";
        QVERIFY2(out.startsWith(expected), out.constData());
        QCOMPARE(out.count('\n'), capability ? 2 : 1);
        QVERIFY(!out.contains('\x1b'));
        QVERIFY(!out.contains('\r'));
    }
}

QTEST_GUILESS_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
