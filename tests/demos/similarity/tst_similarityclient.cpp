#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "TestSettings.h"
#include "catalogue/BackgroundWork.h"
#include "catalogue/HttpClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QCoreApplication>
#include <QTest>

#include <limits>
#include <memory>

// The similarity client: cosine and descriptions in 32-bit float, and the
// embed requests and replies as the server sees them.
namespace {

struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    std::optional<Result<SimilarityReading>> outcome;
    int calls = 0;

    Rig() { prefs.settings().setOllamaURL(server.baseURL()); }
    void compute(const QString &first, const QString &second, QObject *context)
    {
        computeSimilarityDetails(first, second, QStringLiteral("nomic-embed-text"), context,
                                 [this](const Result<SimilarityReading> &r) {
            outcome = r;
            ++calls;
        }, prefs.settings(), http);
    }
    bool computed(const QString &first, const QString &second)
    {
        calls = 0;
        compute(first, second, &http);
        return QTest::qWaitFor([this] { return calls > 0; }, 30000);
    }
    QString error() const { return outcome && !outcome->ok() ? outcome->error().domain : QString(); }
};

} // namespace

class TestSimilarityClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cosineAndDescription();
    void sendsTwoRequestsInOrder();
    void readsReply_data();
    void readsReply();
    void laterFailures();
    void settingsBetweenTheRequests();
};

void TestSimilarityClient::cosineAndDescription()
{
    // Exact where 32-bit arithmetic decides: summed in index order in float,
    // 1e8 + 1 is 1e8 and the dot product below is exactly 0 (1 in double).
    const QList<std::tuple<EmbeddingVector, EmbeddingVector, float>> cosines{
        {{1, 2, 3}, {1, 2, 3}, 1.0f},          {{1, 0}, {0, 1}, 0.0f},    {{1, 0}, {-1, 0}, -1.0f},
        {{1, 0}, {1, 1}, 0.70710677f},         {{1, 2}, {1, 2, 3}, 0.0f}, {{0, 0}, {1, 1}, 0.0f},
        {{}, {}, 0.0f},                        {{1e-30f, 0}, {1, 0}, 0.0f}, // the norm underflows to 0
        {{1e8f, 1, -1e8f}, {1, 1, 1}, 0.0f},
    };
    for (const auto &[a, b, expected] : cosines) {
        const float cosine = cosineSimilarity(a, b);
        QVERIFY2(qAbs(cosine - expected) <= (expected == 0 ? 0.0f : 1e-6f), qPrintable(QString::number(cosine)));
        QCOMPARE(similarityArithmetic(a, b).cosine, cosine); // the details explain the very value shown
    }

    // The percentage is the hundredfold in float, cut off: 0.7f is 69.99999 in
    // double but 70 in float.
    const QString identical = QStringLiteral("These sentences are nearly identical in meaning.");
    const QString similar = QStringLiteral("These sentences are quite similar.");
    const QString different = QStringLiteral("These sentences are quite different.");
    const QList<std::pair<float, QString>> descriptions{
        {1.0f, identical},   {0.9f, identical},   {0.899f, similar},   {0.7f, similar},
        {0.69f, QStringLiteral("These sentences have moderate similarity.")},
        {0.5f, QStringLiteral("These sentences have moderate similarity.")},
        {0.3f, QStringLiteral("These sentences have some similarity.")},
        {0.299f, different}, {0.0f, different}, {-0.001f, different}, {1.005f, identical},
        {-0.01f, QString()}, {1.01f, QString()}, {std::numeric_limits<float>::quiet_NaN(), QString()},
        {std::numeric_limits<float>::infinity(), QString()},
    };
    for (const auto &[similarity, description] : descriptions)
        QCOMPARE(similarityDescription(similarity), description);
}

void TestSimilarityClient::sendsTwoRequestsInOrder()
{
    Rig rig;
    rig.server.setEmbedding("The cat sat on the mat", {0.1, 0.0});
    rig.server.setEmbedding("A \"feline\"\nrested", {1.0, 1.0});
    QVERIFY(rig.computed(QStringLiteral("The cat sat on the mat"), QStringLiteral("A \"feline\"\nrested")));

    const auto requests = rig.server.requests();
    QCOMPARE(requests.size(), size_t(2));
    for (const auto &request : requests)
        QCOMPARE(request.method + " " + request.path + " " + request.header("Content-Type"),
                 std::string("POST /api/embed application/json"));
    QCOMPARE(requests[0].body, std::string(R"({"input":"The cat sat on the mat","model":"nomic-embed-text"})"));
    const std::string second = R"({"input":"A \"feline\"\nrested","model":"nomic-embed-text"})";
    QCOMPARE(requests[1].body, second);
    QVERIFY(rig.outcome->ok());
    // Doubles from the server become the nearest floats.
    QCOMPARE(rig.outcome->value().first, (EmbeddingVector{0.1f, 0.0f}));
    QVERIFY(qAbs(rig.outcome->value().arithmetic.cosine - 0.70710677f) < 1e-6f);
}

void TestSimilarityClient::readsReply_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("expected"); // the first vector, or the failure's domain

    QTest::newRow("first array used") << 200 << QByteArray(R"({"embeddings":[[1,0],[0,1]],"model":"m"})") << "1,0";
    QTest::newRow("single empty array") << 200 << QByteArray(R"({"embeddings":[[]]})") << "";
    QTest::newRow("any status") << 500 << QByteArray(R"({"embeddings":[[0.5,-0.25]]})") << "0.5,-0.25";
    QTest::newRow("tiny becomes 0") << 200 << QByteArray(R"({"embeddings":[[1e-50]]})") << "0";
    for (const char *body : {R"({"embeddings":[]})", R"({"model":"m"})", R"({"embeddings":null})",
                             R"({"embedding":[1,2]})", R"({"embeddings":[1,2]})", R"({"embeddings":[null]})",
                             R"({"embeddings":[[1,"2"]]})", R"({"embeddings":[[1],[2,true]]})", "[1,2,3]",
                             R"({"error":"model \"x\" not found, try pulling it first"})",
                             R"({"embeddings":[[1e39,1]]})", R"({"embeddings":[[0,-1e39]]})"})
        QTest::addRow("%s", body) << 404 << QByteArray(body) << "Invalid response from Ollama";
    for (const char *body : {"404 page not found", R"("embeddings")", "1", "null", R"({"embeddings":[[1e400]]})"})
        QTest::addRow("not a JSON object or array: %s", body) << 404 << QByteArray(body) << "JSON";
    // An error status without a body is reported as the status.
    QTest::newRow("404 with an empty body") << 404 << QByteArray() << "HTTP";
}

void TestSimilarityClient::readsReply()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, expected);

    Rig rig;
    rig.server.setRoute("POST", "/api/embed", FakeOllamaServer::Reply::json(body.toStdString(), status));
    QVERIFY(rig.computed(QStringLiteral("a"), QStringLiteral("b")));
    if (rig.outcome->ok()) {
        QStringList first;
        for (const float value : rig.outcome->value().first)
            first.append(QString::number(value));
        QCOMPARE(first.join(QLatin1Char(',')), expected);
        return;
    }
    QCOMPARE(rig.error(), expected);
    QCOMPARE(rig.server.requestCount(), size_t(1)); // a failed first request sends no second
    if (expected == QLatin1String("Invalid response from Ollama"))
        QCOMPARE(rig.outcome->error().description,
                 QStringLiteral("The operation could not be completed. (Invalid response from Ollama error -1.)"));
}

void TestSimilarityClient::laterFailures()
{
    // The second request's failure ends the operation too; and a similarity
    // that overflows float is a failure, not a result.
    Rig rig;
    rig.server.setEmbedding("huge", {1e30, 0});
    QVERIFY(rig.computed(QStringLiteral("huge"), QStringLiteral("huge")));
    QCOMPARE(rig.error(), QStringLiteral("Invalid response from Ollama"));
    rig.server.enqueue("POST", "/api/embed", FakeOllamaServer::Reply::json(R"({"embeddings":[[1]]})"));
    rig.server.enqueue("POST", "/api/embed", FakeOllamaServer::Reply::json(R"({"error":"runner terminated"})", 500));
    QVERIFY(rig.computed(QStringLiteral("a"), QStringLiteral("b")));
    QCOMPARE(rig.error(), QStringLiteral("Invalid response from Ollama"));
}

void TestSimilarityClient::settingsBetweenTheRequests()
{
    Rig rig;
    FakeOllamaServer other;
    rig.server.setEmbedding("a", {1, 0});
    other.setEmbedding("b", {0, 1});
    auto first = ReplyGate::make();
    GateOpener opener{first};
    rig.server.setHandler(ReplyGate::holding(first));

    // A URL saved while the first request is out applies to the second.
    rig.compute(QStringLiteral("a"), QStringLiteral("b"), &rig.http);
    QVERIFY(QTest::qWaitFor([&] { return first->arrivals() == 1; }, 30000));
    rig.prefs.settings().setOllamaURL(other.baseURL());
    first->open();
    QVERIFY(QTest::qWaitFor([&] { return rig.calls > 0; }, 30000));
    QCOMPARE(rig.outcome->ok() ? rig.outcome->value().arithmetic.cosine : -2.0f, 0.0f);
    QCOMPARE(other.requests("/api/embed").at(0).body, std::string(R"({"input":"b","model":"nomic-embed-text"})"));

    // Settings gone while the first request is out: the second is never
    // sent, and nothing reads the freed settings.
    auto second = ReplyGate::make();
    GateOpener secondOpener{second};
    rig.server.setHandler(ReplyGate::holding(second));
    auto gone = std::make_unique<TestSettings>();
    gone->settings().setOllamaURL(rig.server.baseURL());
    computeSimilarityDetails(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("nomic-embed-text"), nullptr,
                             [&rig](const Result<SimilarityReading> &) { ++rig.calls; }, gone->settings(), rig.http);
    QVERIFY(QTest::qWaitFor([&] { return second->arrivals() == 1; }, 30000));
    gone.reset();
    second->open();
    // The first vector is read on the worker; the second request would be
    // sent once it is back.
    QVERIFY(QTest::qWaitFor([&] { return rig.http.requestsInFlight() == 0; }, 30000));
    BackgroundWork::pool().waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(rig.http.requestsInFlight(), 0);
    QCOMPARE(rig.server.requests("/api/embed").size(), size_t(2));
}

QTEST_GUILESS_MAIN(TestSimilarityClient)
#include "tst_similarityclient.moc"
