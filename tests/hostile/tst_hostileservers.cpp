// Points every client and the catalogue at servers that misbehave, and checks
// that each stays responsive, ends in a clear error or the documented fallback,
// never crashes and changes no setting.
#include "FakeOllamaServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTest>
#include <QTimer>

#include <nlohmann/json.hpp>

#include <chrono>
#include <optional>

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;

namespace {

enum class Outcome {
    Error,       // a failure with a description
    Fallback,    // a sentiment score of 3 from an unreadable answer
    Result,      // an ordinary result
};

// What one misbehaving server does, for every path.
struct Misbehaviour
{
    std::function<Reply(const std::string &path)> reply;
    bool refuse = false; // nobody listens
};

std::string deepNesting(int depth)
{
    return std::string(static_cast<size_t>(depth), '[') + std::string(static_cast<size_t>(depth), ']');
}

const char *const htmlPage = "<!DOCTYPE html><html><body><h1>502 Bad Gateway</h1></body></html>";

} // namespace

Q_DECLARE_METATYPE(Misbehaviour)
Q_DECLARE_METATYPE(Outcome)

class TestHostileServers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void clients_data();
    void clients();

    void catalogue_data();
    void catalogue();

    void diagnosticsEscapeServerText_data();
    void diagnosticsEscapeServerText();

private:
    void addRows();
    std::unique_ptr<FakeOllamaServer> serve(const Misbehaviour &misbehaviour, QString &baseURL);

    HttpClient m_http;
};

void TestHostileServers::init()
{
    // A short time-out for the servers that go silent, so they are given up
    // on quickly; a generous one for the others, whose replies must arrive.
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const bool silent = tag.contains(QLatin1String("never answers")) || tag.contains(QLatin1String("stalls"));
    m_http.setTransferTimeout(silent ? 400ms : 20000ms);
    m_http.setMaxReplyBytes(HttpClient::defaultMaxReplyBytes);
}

void TestHostileServers::addRows()
{
    QTest::addColumn<Misbehaviour>("misbehaviour");
    QTest::addColumn<Outcome>("sentiment");
    QTest::addColumn<Outcome>("similarity");
    QTest::addColumn<QString>("errorHint");

    auto all = [](Reply reply) { return Misbehaviour{[reply](const std::string &) { return reply; }}; };
    auto json = [&](const std::string &body) { return all(Reply::json(body)); };

    Reply stall;
    stall.stall = true;
    Reply headersThenStall;
    headersThenStall.stallAfterHeaders = true;
    Reply midBody = Reply::json(R"({"models":[],"response":"4","embeddings":[[1,0]],"padding":")" + std::string(4096, 'x') + "\"}");
    midBody.closeMidBody = true;

    QTest::newRow("connection refused") << Misbehaviour{{}, true} << Outcome::Error << Outcome::Error << QString();
    QTest::newRow("accepts, never answers") << all(stall) << Outcome::Error << Outcome::Error
                                             << QStringLiteral("did not answer in time");
    QTest::newRow("headers, then stalls") << all(headersThenStall) << Outcome::Error << Outcome::Error
                                           << QStringLiteral("did not answer in time");
    QTest::newRow("closes mid-body") << all(midBody) << Outcome::Error << Outcome::Error << QString();
    QTest::newRow("HTML page with status 200") << all(Reply::text(200, htmlPage)) << Outcome::Error
                                                << Outcome::Error << QStringLiteral("not valid JSON");
    QTest::newRow("empty body") << json("") << Outcome::Error << Outcome::Error << QStringLiteral("not valid JSON");
    QTest::newRow("invalid UTF-8") << json("{\"response\":\"\xff\xfe\",\"models\":[],\"embeddings\":[[1]]}")
                                   << Outcome::Error << Outcome::Error << QStringLiteral("not valid JSON");
    QTest::newRow("nesting 100000 deep") << json(deepNesting(100000)) << Outcome::Error << Outcome::Error
                                         << QString();
    QTest::newRow("100 MB reply") << json("{\"padding\":\"" + std::string(100u * 1024 * 1024, 'a') + "\"}")
                                  << Outcome::Error << Outcome::Error << QStringLiteral("larger than");
    QTest::newRow("duplicate keys") << json(R"({"response":"1","response":"5","embeddings":[[1,0]],"embeddings":[[0,1]]})")
                                    << Outcome::Result << Outcome::Result << QString();
    QTest::newRow("embeddings [null]") << json(R"({"response":"x","embeddings":[null]})") << Outcome::Fallback
                                       << Outcome::Error << QStringLiteral("Invalid response from Ollama");
    QTest::newRow("number 1e400") << json(R"({"response":"4","embeddings":[[1e400]]})") << Outcome::Error
                                  << Outcome::Error << QStringLiteral("not valid JSON");
    QTest::newRow("number beyond float") << json(R"({"response":"4","embeddings":[[1e39,1]]})")
                                         << Outcome::Result << Outcome::Error
                                         << QStringLiteral("Invalid response from Ollama");

    // A base URL ending in "/" gives "//api/..." paths, which a real server
    // redirects to the single-slash path. A redirected POST arrives as a GET.
    Misbehaviour redirect{[](const std::string &path) {
        if (path.rfind("//", 0) == 0) {
            Reply moved = Reply::text(301, "");
            moved.headers.emplace("Location", path.substr(1));
            return moved;
        }
        return Reply::text(405, "405 method not allowed");
    }};
    QTest::newRow("301 redirect") << redirect << Outcome::Error << Outcome::Error << QString();
}

std::unique_ptr<FakeOllamaServer> TestHostileServers::serve(const Misbehaviour &misbehaviour, QString &baseURL)
{
    auto server = std::make_unique<FakeOllamaServer>();
    baseURL = server->baseURL();
    if (misbehaviour.refuse) {
        server.reset(); // the port is closed again
        return server;
    }
    server->setHandler([reply = misbehaviour.reply](const FakeOllamaServer::Request &request) {
        return std::optional<Reply>(reply(request.path));
    });
    return server;
}

void TestHostileServers::clients_data()
{
    addRows();
}

void TestHostileServers::clients()
{
    QFETCH(Misbehaviour, misbehaviour);
    QFETCH(Outcome, sentiment);
    QFETCH(Outcome, similarity);
    QFETCH(QString, errorHint);

    QString baseURL;
    auto server = serve(misbehaviour, baseURL);
    TestSettings prefs;
    prefs.settings().setOllamaURL(QString(QTest::currentDataTag()) == QLatin1String("301 redirect")
                                      ? baseURL + QLatin1Char('/')
                                      : baseURL);
    prefs.settings().setSelectedLLMModel(QStringLiteral("llama3.2"));
    prefs.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text"));
    prefs.store().sync();
    QFile file(prefs.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray storedBefore = file.readAll();
    file.close();

    // The event loop keeps turning while the clients wait.
    int ticks = 0;
    QTimer heartbeat;
    connect(&heartbeat, &QTimer::timeout, this, [&] { ++ticks; });
    heartbeat.start(10);

    QObject context;
    std::optional<Result<int>> score;
    fetchSentimentScore(QStringLiteral("Lovely day"), QStringLiteral("llama3.2"), &context,
                        [&](const Result<int> &r) { score = r; }, prefs.settings(), m_http);
    std::optional<Result<float>> similar;
    computeSimilarity(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), &context,
                      [&](const Result<float> &r) { similar = r; }, prefs.settings(), m_http);

    QTRY_VERIFY_WITH_TIMEOUT(score.has_value() && similar.has_value(), 30000);
    if (server)
        server->releaseStalled();

    switch (sentiment) {
    case Outcome::Error:
        QVERIFY2(!score->ok(), "expected a failure");
        QVERIFY(!score->error().description.isEmpty());
        if (!errorHint.isEmpty() && similarity == Outcome::Error)
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
    switch (similarity) {
    case Outcome::Error:
        QVERIFY2(!similar->ok(), "expected a failure");
        QVERIFY(!similar->error().description.isEmpty());
        if (!errorHint.isEmpty())
            QVERIFY2(similar->error().description.contains(errorHint), qPrintable(similar->error().description));
        break;
    case Outcome::Fallback:
    case Outcome::Result:
        QVERIFY(similar->ok());
        QVERIFY(std::isfinite(similar->value()));
        break;
    }
    QVERIFY(ticks > 0);

    prefs.store().sync();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), storedBefore);
}

void TestHostileServers::catalogue_data()
{
    addRows();
}

void TestHostileServers::catalogue()
{
    QFETCH(Misbehaviour, misbehaviour);
    QFETCH(QString, errorHint);

    QString baseURL;
    auto server = serve(misbehaviour, baseURL);
    const bool redirect = QString(QTest::currentDataTag()) == QLatin1String("301 redirect");
    TestSettings prefs;
    prefs.settings().setOllamaURL(redirect ? baseURL + QLatin1Char('/') : baseURL);

    StdoutCapture quiet;
    OllamaService service(prefs.settings(), m_http);
    service.fetchModels();
    QTRY_VERIFY_WITH_TIMEOUT(!service.isLoadingModels(), 30000);
    if (server)
        server->releaseStalled();

    if (redirect) {
        // The list request is redirected and then answered with a plain-text
        // 405, which is not a model list.
        QVERIFY(service.modelError().has_value());
        return;
    }
    if (QString(QTest::currentDataTag()) == QLatin1String("duplicate keys")
        || QString(QTest::currentDataTag()) == QLatin1String("embeddings [null]")
        || QString(QTest::currentDataTag()) == QLatin1String("number beyond float")) {
        // No "models" member: the list cannot be read.
        QVERIFY(service.modelError().has_value());
        QVERIFY(service.modelError()->startsWith(QStringLiteral("Failed to fetch models: ")));
        return;
    }
    QVERIFY(service.modelError().has_value());
    QVERIFY2(service.modelError()->startsWith(QStringLiteral("Failed to fetch models: ")),
             qPrintable(*service.modelError()));
    if (!errorHint.isEmpty())
        QVERIFY2(service.modelError()->contains(errorHint), qPrintable(*service.modelError()));
    QVERIFY(service.availableModels().isEmpty());
}

void TestHostileServers::diagnosticsEscapeServerText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("printed");

    QTest::newRow("ordinary") << QStringLiteral("llama3.2:latest") << QByteArray("llama3.2:latest");
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

    FakeOllamaServer server;
    // The show request fails to read for every model, so the name is printed
    // in the "Failed to fetch capabilities" line; a capability of the same
    // text is printed in the "Capabilities from API" line.
    server.setHandler([name](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (request.path == "/api/tags")
            return Reply::json(nlohmann::json{{"models", {{{"name", name.toStdString()}}}}}.dump());
        return Reply::json(R"({"capabilities":1})");
    });
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    OllamaService service(prefs.settings(), m_http);

    StdoutCapture capture;
    service.fetchModels();
    QTRY_COMPARE(service.availableModels().size(), 1);
    const QByteArray out = capture.text();
    QVERIFY2(out.startsWith("Failed to fetch capabilities for " + printed + ": "), out.constData());
    QCOMPARE(out.count('\n'), 1);
    QVERIFY(!out.contains('\x1b'));
    QVERIFY(!out.contains('\r'));

    // The same text as a capability.
    server.setHandler([name](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (request.path == "/api/tags")
            return Reply::json(R"({"models":[{"name":"m"}]})");
        return Reply::json(nlohmann::json{{"capabilities", {name.toStdString()}}}.dump());
    });
    StdoutCapture second;
    service.fetchModels();
    QTRY_VERIFY(!service.isLoadingModels());
    const QByteArray lines = second.text();
    QVERIFY(!lines.contains('\x1b'));
    QVERIFY(!lines.contains('\r'));
    QVERIFY2(lines.startsWith("Capabilities from API: [\""), lines.constData());
}

QTEST_GUILESS_MAIN(TestHostileServers)
#include "tst_hostileservers.moc"
