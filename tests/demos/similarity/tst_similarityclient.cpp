#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include <nlohmann/json.hpp>

#include <atomic>
#include <cmath>
#include <limits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace {

using namespace std::chrono_literals;
using Reply = FakeOllamaServer::Reply;

enum class Ending { value, invalidResponse, invalidURL, readerError, transportError };

template <typename T>
Ending endingOf(const Result<T> &result)
{
    if (result.ok())
        return Ending::value;
    const QString &domain = result.error().domain;
    if (domain == ClientError::invalidResponseDomain)
        return Ending::invalidResponse;
    if (domain == ClientError::invalidURLDomain)
        return Ending::invalidURL;
    if (domain == QLatin1String("JSON"))
        return Ending::readerError;
    return Ending::transportError;
}

// A gate that server handlers wait at until the test opens it; bounded so a
// failing test cannot hang the server.
struct Gate
{
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;

    void release()
    {
        {
            std::lock_guard lock(mutex);
            open = true;
        }
        changed.notify_all();
    }
    void wait()
    {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, 30s, [this] { return open; });
    }
};

struct GateOpener
{
    std::shared_ptr<Gate> gate;
    ~GateOpener() { gate->release(); }
};

struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    QObject context;

    std::optional<Result<float>> similarity;
    std::optional<Result<EmbeddingVector>> embedding;
    int calls = 0;

    Rig() { prefs.settings().setOllamaURL(server.baseURL()); }

    void compute(const QString &first, const QString &second, QObject *receiver = nullptr)
    {
        computeSimilarity(
            first, second, QStringLiteral("nomic-embed-text"), receiver ? receiver : &context,
            [this](const Result<float> &r) {
                similarity = r;
                ++calls;
            },
            prefs.settings(), http);
    }

    void fetch(const QString &text)
    {
        fetchEmbedding(
            text, QStringLiteral("nomic-embed-text"), &context,
            [this](const Result<EmbeddingVector> &r) {
                embedding = r;
                ++calls;
            },
            prefs.settings(), http);
    }

    bool waitForOutcome() { return QTest::qWaitFor([this] { return calls > 0; }, 15000); }

    QNetworkAccessManager *manager() { return http.findChild<QNetworkAccessManager *>(); }

    // Whether the client still has a request under way.
    bool busy()
    {
        for (QNetworkReply *reply : manager()->findChildren<QNetworkReply *>()) {
            if (reply->isRunning())
                return true;
        }
        return false;
    }
};

QString inputOf(const FakeOllamaServer::Request &request)
{
    return QString::fromStdString(nlohmann::json::parse(request.body).at("input").get<std::string>());
}

} // namespace

Q_DECLARE_METATYPE(Ending)
Q_DECLARE_METATYPE(std::vector<double>)

class TestSimilarityClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sendsTwoRequestsInOrder();
    void firstFailureSendsNoSecond_data();
    void firstFailureSendsNoSecond();
    void secondFailureEndsOperation();
    void readsEmbedReply_data();
    void readsEmbedReply();
    void neverReportsNonFiniteSimilarity_data();
    void neverReportsNonFiniteSimilarity();
    void refusesInvalidURL();
    void refusedConnectionFails();
    void usesURLSavedBetweenRequests();
    void dropsResultForDestroyedContext_data();
    void dropsResultForDestroyedContext();
    void deliversWithoutContext();
};

void TestSimilarityClient::sendsTwoRequestsInOrder()
{
    Rig rig;
    rig.server.setEmbedding("The cat sat on the mat", {1.0, 0.0});
    rig.server.setEmbedding("A \"feline\"\nrested", {1.0, 1.0});

    rig.compute(QStringLiteral("The cat sat on the mat"), QStringLiteral("A \"feline\"\nrested"));
    QVERIFY(rig.waitForOutcome());
    QVERIFY(rig.similarity->ok());
    QVERIFY(std::fabs(rig.similarity->value() - 0.70710677f) < 1e-6f);

    const auto requests = rig.server.requests();
    QCOMPARE(requests.size(), size_t(2));
    QCOMPARE(inputOf(requests[0]), QStringLiteral("The cat sat on the mat"));
    QCOMPARE(inputOf(requests[1]), QStringLiteral("A \"feline\"\nrested"));
    for (const auto &request : requests) {
        QCOMPARE(request.method, std::string("POST"));
        QCOMPARE(request.path, std::string("/api/embed"));
        QCOMPARE(request.header("Content-Type"), std::string("application/json"));
        const nlohmann::json body = nlohmann::json::parse(request.body);
        // Exactly the model and one input string, written compactly.
        QCOMPARE(body.size(), size_t(2));
        QVERIFY(body.at("model") == "nomic-embed-text");
        QVERIFY(body.at("input").is_string());
        QCOMPARE(request.body, body.dump());
    }
}

void TestSimilarityClient::firstFailureSendsNoSecond_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Ending>("ending");

    QTest::newRow("model missing") << 404 << QByteArray(R"({"error":"model \"x\" not found, try pulling it first"})")
                                   << Ending::invalidResponse;
    QTest::newRow("no embeddings") << 200 << QByteArray(R"({"embeddings":[]})") << Ending::invalidResponse;
    QTest::newRow("plain text") << 404 << QByteArray("404 page not found") << Ending::readerError;
}

void TestSimilarityClient::firstFailureSendsNoSecond()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(Ending, ending);

    Rig rig;
    rig.server.enqueue("POST", "/api/embed", Reply::json(body.toStdString(), status));
    rig.compute(QStringLiteral("first"), QStringLiteral("second"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.similarity), ending);

    QVERIFY(!rig.busy());
    QCoreApplication::processEvents();
    QCOMPARE(rig.calls, 1);
    QCOMPARE(rig.server.requestCount(), size_t(1));
}

void TestSimilarityClient::secondFailureEndsOperation()
{
    Rig rig;
    rig.server.setHandler([](const FakeOllamaServer::Request &request) -> std::optional<Reply> {
        if (inputOf(request) == QLatin1String("second"))
            return Reply::error(500, "llama runner process has terminated");
        return std::nullopt;
    });
    rig.compute(QStringLiteral("first"), QStringLiteral("second"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.similarity), Ending::invalidResponse);
    QCOMPARE(rig.server.requestCount(), size_t(2));
}

void TestSimilarityClient::readsEmbedReply_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<EmbeddingVector>("vector");

    const EmbeddingVector none;
    QTest::newRow("first array used") << 200 << QByteArray(R"({"embeddings":[[1,0],[0,1]]})") << Ending::value
                                      << EmbeddingVector{1, 0};
    QTest::newRow("other members ignored")
        << 200 << QByteArray(R"({"model":"m","embeddings":[[0.5,-0.25]],"total_duration":14143917})") << Ending::value
        << EmbeddingVector{0.5f, -0.25f};
    QTest::newRow("doubles rounded to float") << 200 << QByteArray(R"({"embeddings":[[0.1,0.010071029]]})")
                                              << Ending::value << EmbeddingVector{0.1f, 0.010071029f};
    QTest::newRow("float maximum") << 200 << QByteArray(R"({"embeddings":[[3.4028234663852886e38]]})")
                                   << Ending::value << EmbeddingVector{std::numeric_limits<float>::max()};
    QTest::newRow("tiny value becomes 0") << 200 << QByteArray(R"({"embeddings":[[1e-50]]})") << Ending::value
                                          << EmbeddingVector{0.0f};
    QTest::newRow("single empty array") << 200 << QByteArray(R"({"embeddings":[[]]})") << Ending::value << none;
    QTest::newRow("status ignored") << 500 << QByteArray(R"({"embeddings":[[1]]})") << Ending::value
                                    << EmbeddingVector{1};

    QTest::newRow("no embeddings") << 200 << QByteArray(R"({"embeddings":[]})") << Ending::invalidResponse << none;
    QTest::newRow("embeddings missing") << 200 << QByteArray(R"({"model":"m"})") << Ending::invalidResponse << none;
    QTest::newRow("embeddings null") << 200 << QByteArray(R"({"embeddings":null})") << Ending::invalidResponse
                                     << none;
    QTest::newRow("old single vector member") << 200 << QByteArray(R"({"embedding":[1,2]})")
                                              << Ending::invalidResponse << none;
    QTest::newRow("flat numbers") << 200 << QByteArray(R"({"embeddings":[1,2]})") << Ending::invalidResponse << none;
    QTest::newRow("null inner array") << 200 << QByteArray(R"({"embeddings":[null]})") << Ending::invalidResponse
                                      << none;
    QTest::newRow("string element") << 200 << QByteArray(R"({"embeddings":[[1,"2"]]})") << Ending::invalidResponse
                                    << none;
    QTest::newRow("bool element") << 200 << QByteArray(R"({"embeddings":[[1,true]]})") << Ending::invalidResponse
                                  << none;
    QTest::newRow("null element") << 200 << QByteArray(R"({"embeddings":[[1,null]]})") << Ending::invalidResponse
                                  << none;
    QTest::newRow("bad element in a later array") << 200 << QByteArray(R"({"embeddings":[[1],[2,"x"]]})")
                                                  << Ending::invalidResponse << none;
    QTest::newRow("404 error object") << 404 << QByteArray(R"({"error":"model \"x\" not found, try pulling it first"})")
                                      << Ending::invalidResponse << none;
    QTest::newRow("top-level array of numbers") << 200 << QByteArray("[1,2,3]") << Ending::invalidResponse << none;
    QTest::newRow("top-level array of arrays") << 200 << QByteArray("[[1,2]]") << Ending::invalidResponse << none;
    QTest::newRow("beyond float range") << 200 << QByteArray(R"({"embeddings":[[1e39,1]]})")
                                        << Ending::invalidResponse << none;
    QTest::newRow("beyond float range, negative") << 200 << QByteArray(R"({"embeddings":[[0,-1e39]]})")
                                                  << Ending::invalidResponse << none;

    QTest::newRow("plain text") << 404 << QByteArray("404 page not found") << Ending::readerError << none;
    QTest::newRow("bare string") << 200 << QByteArray(R"("embeddings")") << Ending::readerError << none;
    QTest::newRow("bare number") << 200 << QByteArray("1") << Ending::readerError << none;
    QTest::newRow("bare null") << 200 << QByteArray("null") << Ending::readerError << none;
    QTest::newRow("empty body") << 200 << QByteArray() << Ending::readerError << none;
    QTest::newRow("number beyond double range") << 200 << QByteArray(R"({"embeddings":[[1e400]]})")
                                                << Ending::readerError << none;
}

void TestSimilarityClient::readsEmbedReply()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(Ending, ending);
    QFETCH(EmbeddingVector, vector);

    Rig rig;
    rig.server.setRoute("POST", "/api/embed", Reply::json(body.toStdString(), status));
    rig.fetch(QStringLiteral("sentence"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(rig.calls, 1);

    const Result<EmbeddingVector> &result = *rig.embedding;
    QCOMPARE(endingOf(result), ending);
    if (result.ok()) {
        QCOMPARE(result.value(), vector);
        return;
    }
    const ClientError &error = result.error();
    QVERIFY(!error.description.isEmpty());
    if (ending == Ending::invalidResponse) {
        QCOMPARE(error.code, -1);
        QVERIFY2(error.description.contains(QLatin1String("Invalid response from Ollama")),
                 qPrintable(error.description));
        QVERIFY2(error.description.contains(QLatin1String("-1")), qPrintable(error.description));
    }
}

void TestSimilarityClient::neverReportsNonFiniteSimilarity_data()
{
    QTest::addColumn<std::vector<double>>("first");
    QTest::addColumn<std::vector<double>>("second");
    QTest::addColumn<Ending>("ending");

    QTest::newRow("value beyond float range") << std::vector<double>{1e39, 0} << std::vector<double>{1, 0}
                                              << Ending::invalidResponse;
    // Every value fits a float, but their products overflow it.
    QTest::newRow("products overflow") << std::vector<double>{1e30, 0} << std::vector<double>{1e30, 0}
                                       << Ending::invalidResponse;
    QTest::newRow("ordinary") << std::vector<double>{0.6, 0.8} << std::vector<double>{0.8, 0.6} << Ending::value;
    QTest::newRow("lengths differ give 0") << std::vector<double>{1, 0} << std::vector<double>{1, 0, 0}
                                           << Ending::value;
}

void TestSimilarityClient::neverReportsNonFiniteSimilarity()
{
    QFETCH(std::vector<double>, first);
    QFETCH(std::vector<double>, second);
    QFETCH(Ending, ending);

    Rig rig;
    rig.server.setEmbedding("first", first);
    rig.server.setEmbedding("second", second);
    rig.compute(QStringLiteral("first"), QStringLiteral("second"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.similarity), ending);
    if (rig.similarity->ok())
        QVERIFY(std::isfinite(rig.similarity->value()));
}

void TestSimilarityClient::refusesInvalidURL()
{
    Rig rig;
    QSignalSpy replies(rig.manager(), &QNetworkAccessManager::finished);
    rig.prefs.settings().setOllamaURL(QStringLiteral("ftp://x"));
    rig.compute(QStringLiteral("a"), QStringLiteral("b"));
    QCOMPARE(rig.calls, 0);
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.similarity), Ending::invalidURL);
    QCOMPARE(rig.similarity->error().code, -1);
    QVERIFY(rig.similarity->error().description.contains(QLatin1String("Invalid URL")));
    QCOMPARE(rig.server.requestCount(), size_t(0));
    QCOMPARE(replies.size(), 0);
}

void TestSimilarityClient::refusedConnectionFails()
{
    Rig rig;
    int deadPort = 0;
    {
        FakeOllamaServer gone;
        deadPort = gone.port();
    }
    rig.prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:%1").arg(deadPort));
    rig.compute(QStringLiteral("a"), QStringLiteral("b"));
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.similarity), Ending::transportError);
    QCOMPARE(rig.similarity->error().code, int(QNetworkReply::ConnectionRefusedError));
}

void TestSimilarityClient::usesURLSavedBetweenRequests()
{
    Rig rig;
    FakeOllamaServer other;
    rig.server.setEmbedding("a", {1, 0});
    other.setEmbedding("b", {0, 1});
    auto gate = std::make_shared<Gate>();
    GateOpener opener{gate};
    rig.server.setHandler([gate](const FakeOllamaServer::Request &) -> std::optional<Reply> {
        gate->wait();
        return std::nullopt;
    });

    rig.compute(QStringLiteral("a"), QStringLiteral("b"));
    QVERIFY(QTest::qWaitFor([&] { return rig.server.requestCount() == 1; }, 15000));
    rig.prefs.settings().setOllamaURL(other.baseURL());
    gate->release();
    QVERIFY(rig.waitForOutcome());

    QVERIFY(rig.similarity->ok());
    QCOMPARE(rig.similarity->value(), 0.0f);
    QCOMPARE(rig.server.requestCount(), size_t(1));
    const auto second = other.requests("/api/embed");
    QCOMPARE(second.size(), size_t(1));
    QCOMPARE(inputOf(second.front()), QStringLiteral("b"));
}

void TestSimilarityClient::dropsResultForDestroyedContext_data()
{
    QTest::addColumn<int>("destroyDuring");
    QTest::newRow("first request") << 1;
    QTest::newRow("second request") << 2;
}

void TestSimilarityClient::dropsResultForDestroyedContext()
{
    QFETCH(int, destroyDuring);

    Rig rig;
    auto gate = std::make_shared<Gate>();
    GateOpener opener{gate};
    auto seen = std::make_shared<std::atomic<int>>(0);
    rig.server.setHandler([gate, seen, destroyDuring](const FakeOllamaServer::Request &) -> std::optional<Reply> {
        if (++*seen == destroyDuring)
            gate->wait();
        return std::nullopt;
    });
    QSignalSpy replies(rig.manager(), &QNetworkAccessManager::finished);

    auto screen = std::make_unique<QObject>();
    rig.compute(QStringLiteral("a"), QStringLiteral("b"), screen.get());
    QVERIFY(QTest::qWaitFor([&] { return rig.server.requestCount() == size_t(destroyDuring); }, 15000));
    screen.reset();
    gate->release();

    QVERIFY(QTest::qWaitFor([&] { return replies.size() == 2; }, 15000));
    QCoreApplication::processEvents();
    QVERIFY(!rig.busy());
    QCOMPARE(rig.calls, 0);
    // Nothing is cancelled: the second request is sent even when the screen
    // went during the first; only the result is dropped.
    QCOMPARE(rig.server.requestCount(), size_t(2));
}

void TestSimilarityClient::deliversWithoutContext()
{
    // With nothing to guard, both requests are made and the result arrives.
    Rig rig;
    computeSimilarity(
        QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), nullptr,
        [&rig](const Result<float> &r) {
            rig.similarity = r;
            ++rig.calls;
        },
        rig.prefs.settings(), rig.http);
    QVERIFY(rig.waitForOutcome());
    QVERIFY(rig.similarity->ok());
    QCOMPARE(rig.server.requestCount(), size_t(2));

    // Also when the URL is refused before anything is sent.
    rig.calls = 0;
    rig.prefs.settings().setOllamaURL(QString());
    computeSimilarity(
        QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), nullptr,
        [&rig](const Result<float> &r) {
            rig.similarity = r;
            ++rig.calls;
        },
        rig.prefs.settings(), rig.http);
    QVERIFY(rig.waitForOutcome());
    QCOMPARE(endingOf(*rig.similarity), Ending::invalidURL);
}

QTEST_GUILESS_MAIN(TestSimilarityClient)
#include "tst_similarityclient.moc"
