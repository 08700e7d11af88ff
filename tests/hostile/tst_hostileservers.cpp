// Points both demo clients and the catalogue at servers that misbehave, and
// checks that each keeps the event loop turning and ends in a clear error,
// the documented fallback or an ordinary result.
#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QTest>
#include <QTimer>

#include <map>

#include <nlohmann/json.hpp>

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;

namespace {

// What one misbehaving server does. Without a reply nobody listens; a
// redirect sends every call on to a second, ordinary server.
struct Misbehaviour
{
    std::optional<Reply> reply;
    bool redirect = false;
};

} // namespace

Q_DECLARE_METATYPE(Misbehaviour)

class TestHostileServers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void everyCaller_data();
    void everyCaller();

private:
    // Starts the misbehaving server and gives its base URL.
    QString serve(const Misbehaviour &misbehaviour);

    HttpClient m_http;
    std::unique_ptr<FakeOllamaServer> m_server;
    std::unique_ptr<FakeOllamaServer> m_target; // of a redirect
    FakeOllamaServer::Handler m_handler; // how the misbehaving server answers
};

void TestHostileServers::init()
{
    // A short time-out for the servers that go silent, a generous one for
    // the others, whose replies must arrive even on a machine so busy that
    // the server takes many seconds to send 100 MB.
    m_http.setTransferTimeout(QByteArray(QTest::currentDataTag()).contains("stall") ? 400ms : 120000ms);
    m_target.reset();
}

QString TestHostileServers::serve(const Misbehaviour &misbehaviour)
{
    m_server = std::make_unique<FakeOllamaServer>();
    m_handler = nullptr;
    const QString baseURL = m_server->baseURL();
    if (misbehaviour.redirect) {
        m_target = std::make_unique<FakeOllamaServer>();
        FakeOllamaServer::Model embedder{"nomic-embed-text:latest"};
        embedder.capabilities = std::vector<std::string>{"embedding"};
        m_target->setModels({FakeOllamaServer::Model{"llama3.2:latest"}, embedder});
        // As a real server redirects: 301 for a GET, 307 (same method and
        // body) for anything else.
        m_handler = [target = m_target->baseURL().toStdString()](const FakeOllamaServer::Request &r) {
            Reply moved = Reply::text(r.method == "GET" ? 301 : 307, "");
            moved.headers.emplace("Location", target + r.path);
            return std::optional<Reply>(moved);
        };
    } else if (misbehaviour.reply) {
        m_handler = [reply = *misbehaviour.reply](const FakeOllamaServer::Request &) { return std::optional(reply); };
    } else {
        m_server.reset(); // the port is closed again
    }
    return baseURL;
}

void TestHostileServers::everyCaller_data()
{
    QTest::addColumn<Misbehaviour>("misbehaviour");
    QTest::addColumn<int>("score");     // -1: a failure; 0: any score
    QTest::addColumn<bool>("similar");  // whether a similarity comes back
    QTest::addColumn<int>("listed");    // models the catalogue publishes; -1: an error
    QTest::addColumn<QString>("hint");  // in the failures' descriptions

    auto json = [](const std::string &body, int status = 200) { return Misbehaviour{Reply::json(body, status)}; };
    const std::string everything = R"({"models":[],"response":"4","embeddings":[[1,0]]})";
    Reply stall = Reply::json("");
    stall.stall = true;
    Reply headersThenStall = Reply::json(everything);
    headersThenStall.stallAfterHeaders = true;
    Reply midBody = Reply::json(R"({"response":"4","embeddings":[[1,0]],"x":")" + std::string(4096, 'x') + "\"}");
    midBody.closeMidBody = true;
    const QString notJSON = QStringLiteral("not valid JSON");
    const QString invalid = QStringLiteral("Invalid response from Ollama");

    QTest::newRow("connection refused") << Misbehaviour{} << -1 << false << -1 << QString();
    QTest::newRow("stalls before answering") << Misbehaviour{stall} << -1 << false << -1 << "did not answer in time";
    QTest::newRow("stalls after the headers") << Misbehaviour{headersThenStall} << -1 << false << -1
                                              << "did not answer in time";
    QTest::newRow("closes mid-body") << Misbehaviour{midBody} << -1 << false << -1 << QString();
    QTest::newRow("HTML page with status 200")
        << Misbehaviour{Reply::text(200, "<!DOCTYPE html><html><body>502 Bad Gateway</body></html>")} << -1 << false
        << -1 << notJSON;
    QTest::newRow("invalid UTF-8") << json("{\"response\":\"\xff\xfe\",\"models\":[],\"embeddings\":[[1]]}") << -1
                                   << false << -1 << notJSON;
    QTest::newRow("nesting 100000 deep") << json(std::string(100000, '[') + std::string(100000, ']')) << -1 << false
                                         << -1 << QString();
    QTest::newRow("100 MB reply") << json("{\"padding\":\"" + std::string(100u * 1024 * 1024, 'a') + "\"}") << -1
                                  << false << -1 << "larger than";
    QTest::newRow("duplicate keys")
        << json(R"({"response":"1","response":"5","embeddings":[[1,0]],"embeddings":[[0,1]]})") << 0 << true << -1
        << QString();
    QTest::newRow("embeddings [null]") << json(R"({"response":"x","embeddings":[null]})") << 3 << false << -1
                                       << invalid;
    QTest::newRow("number 1e400") << json(R"({"response":"4","embeddings":[[1e400]]})") << -1 << false << -1 << notJSON;
    QTest::newRow("number beyond float") << json(R"({"response":"4","embeddings":[[1e39,1]]})") << 4 << false << -1
                                         << invalid;
    // An error status is no transport failure: its body is the reply, also
    // for statuses that Qt reports as errors of their own.
    // Without a body the status is all there is to report.
    QTest::newRow("403 with an empty body") << Misbehaviour{Reply::text(403, "")} << -1 << false << -1
                                            << "HTTP 403 Forbidden";
    QTest::newRow("502 with only a line break")
        << Misbehaviour{Reply::text(502, "\r\n")} << -1 << false << -1 << "HTTP 502 Bad Gateway";
    QTest::newRow("407 with a JSON body") << json(everything, 407) << 4 << true << 0 << QString();
    // Text from the server is escaped in the diagnostic lines.
    QTest::newRow("control characters in a model name")
        << json(R"({"models":[{"name":"red\u001b[31m\r\nfake line"}],"capabilities":1,"response":"4",)"
                R"("embeddings":[[1]]})")
        << 4 << true << 1 << QString();
    QTest::newRow("redirect to another server") << Misbehaviour{std::nullopt, true} << 0 << true << 2 << QString();
}

void TestHostileServers::everyCaller()
{
    QFETCH(Misbehaviour, misbehaviour);
    QFETCH(int, score);
    QFETCH(bool, similar);
    QFETCH(int, listed);
    QFETCH(QString, hint);

    TestSettings prefs;
    prefs.settings().setOllamaURL(serve(misbehaviour));
    // Each caller's first request waits at the server until the main
    // thread's heartbeat has beaten a few times with it held; the beats that
    // release them, one caller after the other, can only come while the
    // callers wait without blocking the event loop. (How long the loop may
    // stall is measured by the benchmarks.)
    const std::vector<std::string> held{"/api/generate", "/api/embed", "/api/tags"};
    std::map<std::string, std::shared_ptr<ReplyGate>> gates;
    std::vector<GateOpener> openers;
    for (const std::string &path : held)
        openers.push_back({gates[path] = ReplyGate::make()});
    if (m_server)
        m_server->setHandler([gates, answer = m_handler](const FakeOllamaServer::Request &r) {
            if (const auto it = gates.find(r.path); it != gates.end())
                it->second->wait();
            return answer(r);
        });
    int beats = 0;
    size_t opened = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, this, [&] {
        if (opened < held.size() && gates[held[opened]]->arrivals() > 0 && ++beats % 3 == 0)
            gates[held[opened++]]->open();
    });
    heartbeat.start(10);
    StdoutCapture output;
    QObject context;
    // Whether the heartbeat had released each caller's request when its result came.
    bool released = true;
    const auto arrived = [&](const std::string &path) { released = released && (!m_server || gates[path]->isOpen()); };
    std::optional<Result<int>> sentiment;
    fetchSentimentScore(QStringLiteral("Lovely day"), QStringLiteral("llama3.2"), &context,
                        [&](const Result<int> &r) { sentiment = r; arrived("/api/generate"); }, prefs.settings(), m_http);
    std::optional<Result<float>> similarity;
    computeSimilarity(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), &context,
                      [&](const Result<float> &r) { similarity = r; arrived("/api/embed"); }, prefs.settings(), m_http);
    OllamaService service(prefs.settings(), m_http);
    service.fetchModels();
    const bool ended = QTest::qWaitFor([&] { return sentiment && similarity && !service.isLoadingModels(); }, 150000);
    arrived("/api/tags");
    if (m_server)
        m_server->releaseStalled();
    const QByteArray printed = output.stop(); // before any comparison, so that a failure prints its reason

    QVERIFY(ended);
    QVERIFY2(released, "a result came before the heartbeat had released every caller");
    QCOMPARE(sentiment->ok(), score >= 0);
    if (score > 0)
        QCOMPARE(sentiment->value(), score);
    else if (score == 0)
        QVERIFY(sentiment->value() >= 1 && sentiment->value() <= 5);
    else
        QVERIFY2(sentiment->error().description.contains(hint), qPrintable(sentiment->error().description));
    QVERIFY2(similarity->ok() == similar, similarity->ok() ? "" : qPrintable(similarity->error().description));
    if (!similar)
        QVERIFY2(similarity->error().description.contains(hint), qPrintable(similarity->error().description));

    // A server can neither add lines nor send terminal sequences.
    QVERIFY2(!printed.contains('\x1b') && !printed.contains('\r') && !printed.contains("\nfake"),
             printed.constData());

    const QString error = service.modelError().value_or(QString());
    QCOMPARE(service.availableModels().size(), std::max(listed, 0));
    QVERIFY2(error.isEmpty() == (listed >= 0), qPrintable(error));
    // Without a "models" member the hint is about the demos' replies.
    if (listed < 0)
        QVERIFY2(error.startsWith("Failed to fetch models: ") && (score >= 0 || error.contains(hint)),
                 qPrintable(error));

    if (m_target) {
        // The redirected calls reach the second server as sent: POSTs with
        // their JSON bodies, the second sentence after the first.
        const auto generate = m_target->requests("/api/generate");
        QVERIFY(generate.size() == 1 && generate[0].method == "POST");
        QVERIFY(generate[0].body.find("Lovely day") != std::string::npos);
        const auto embed = m_target->requests("/api/embed");
        QCOMPARE(embed.size(), size_t(2));
        QCOMPARE(nlohmann::json::parse(embed[1].body).value("input", ""), "b");
    }
}

QTEST_GUILESS_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
