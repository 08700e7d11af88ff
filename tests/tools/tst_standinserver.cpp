#include "StandinServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QObject>
#include <QTest>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <thread>

using nlohmann::json;

// JSON values compare through their compact text, which also reads well in a
// failure message.
#define QCOMPARE_JSON(actual, expected) \
    QCOMPARE(QString::fromStdString(json(actual).dump()), QString::fromStdString(json(expected).dump()))

namespace {

// The stand-in serving on 127.0.0.1, on a port of its own choosing, from a
// thread of its own.
class RunningStandin
{
public:
    explicit RunningStandin(std::chrono::milliseconds latency = {})
        : m_server(std::make_unique<StandinServer>(StandinServer::Options{"127.0.0.1", 0, latency}))
    {
        std::string error;
        if (!m_server->bind(error))
            qFatal("cannot start the stand-in: %s", error.c_str());
        // The socket listens from bind() on, so requests queue up even before
        // the thread gets to serve them.
        m_thread = std::thread([this] { m_server->serve(); });
    }
    ~RunningStandin()
    {
        m_server->stop();
        m_thread.join();
    }

    StandinServer &server() { return *m_server; }
    int port() const { return m_server->port(); }
    QString baseURL() const { return QString::fromStdString(m_server->baseURL()); }
    httplib::Client client() const { return httplib::Client("127.0.0.1", port()); }

private:
    std::unique_ptr<StandinServer> m_server;
    std::thread m_thread;
};

} // namespace

// The stand-in, running, driven by Quillmere's own clients and by plain HTTP.
class TestStandinServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void catalogueListsEveryModelWithItsFlags();
    void sentimentClientGetsRatings_data();
    void sentimentClientGetsRatings();
    void similarityOfParaphrasesBeatsUnrelatedSentences();
    void clientsReportServerErrors_data();
    void clientsReportServerErrors();

    void answersErrorsLikeARealServer_data();
    void answersErrorsLikeARealServer();
    void everyModelSaysItIsAStandin();
    void streamsWhenStreamIsNotFalse();
    void embedsEveryInputOfAList_data();
    void embedsEveryInputOfAList();
    void nonRatingPromptsGetTheStandinSentence();

    void stopCutsShortALatencyWait();
    void secondServerOnATakenPortFailsToBind();

private:
    std::unique_ptr<RunningStandin> m_standin;
};

void TestStandinServer::initTestCase()
{
    m_standin = std::make_unique<RunningStandin>();
}

void TestStandinServer::catalogueListsEveryModelWithItsFlags()
{
    TestSettings prefs;
    prefs.settings().setOllamaURL(m_standin->baseURL());
    HttpClient http;
    OllamaService service(prefs.settings(), http);

    service.fetchModels();
    QTRY_VERIFY(!service.isLoadingModels());
    QVERIFY2(!service.modelError(), qPrintable(service.modelError().value_or(QString())));
    QCOMPARE(service.availableModels().size(), 3);

    struct Expected
    {
        ModelCapabilities flags;
        bool found = false;
    };
    std::map<QString, Expected> expected = {
        {QStringLiteral("standin-sentiment:latest"), {{false, false, false, false}}},
        {QStringLiteral("standin-embedding:latest"), {{false, false, false, true}}},
        // Vision and tools together: the app keeps vision and drops tools.
        {QStringLiteral("standin-vision:latest"), {{false, true, false, false}}},
    };
    for (const OllamaModel &model : service.availableModels()) {
        auto it = expected.find(model.name);
        QVERIFY2(it != expected.end(), qPrintable(model.name));
        QVERIFY2(!it->second.found, qPrintable(model.name));
        it->second.found = true;
        QCOMPARE(model.capabilities, it->second.flags);
        QVERIFY(model.size.has_value());
        QVERIFY(model.details.has_value());
        QCOMPARE(model.details->family, std::optional<QString>(QStringLiteral("standin")));
    }
}

void TestStandinServer::sentimentClientGetsRatings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");

    const QString sentiment = QStringLiteral("standin-sentiment:latest");
    QTest::newRow("clearly negative") << "This was a terrible, awful experience. I hated it." << sentiment << 1 << 2;
    QTest::newRow("neutral") << "The train leaves at nine from platform two." << sentiment << 3 << 3;
    QTest::newRow("clearly positive") << "What a wonderful day, I love it!" << sentiment << 4 << 5;
    QTest::newRow("not good is not positive") << "The food was not good." << sentiment << 1 << 3;
    QTest::newRow("quotes and lines in the text") << "She said \"great\"\nand smiled." << sentiment << 4 << 5;
    QTest::newRow("name without tag") << "I love it" << "standin-sentiment" << 4 << 5;
}

void TestStandinServer::sentimentClientGetsRatings()
{
    QFETCH(QString, text);
    QFETCH(QString, model);
    QFETCH(int, lowest);
    QFETCH(int, highest);

    TestSettings prefs;
    prefs.settings().setOllamaURL(m_standin->baseURL());
    HttpClient http;
    QObject context;
    std::optional<Result<int>> outcome;
    fetchSentimentScore(text, model, &context, [&](const Result<int> &result) { outcome = result; },
                        prefs.settings(), http);
    QTRY_VERIFY(outcome.has_value());
    QVERIFY2(outcome->ok(), outcome->ok() ? "" : qPrintable(outcome->error().description));
    QVERIFY2(outcome->value() >= lowest && outcome->value() <= highest, qPrintable(QString::number(outcome->value())));
}

void TestStandinServer::similarityOfParaphrasesBeatsUnrelatedSentences()
{
    TestSettings prefs;
    prefs.settings().setOllamaURL(m_standin->baseURL());
    HttpClient http;
    QObject context;
    const QString model = QStringLiteral("standin-embedding:latest");

    auto similarity = [&](const QString &first, const QString &second) -> float {
        std::optional<Result<float>> outcome;
        computeSimilarity(first, second, model, &context, [&](const Result<float> &result) { outcome = result; },
                          prefs.settings(), http);
        if (!QTest::qWaitFor([&] { return outcome.has_value(); }) || !outcome->ok())
            return -2.0f;
        return outcome->value();
    };

    const float paraphrase =
        similarity(QStringLiteral("The cat sat on the mat"), QStringLiteral("A feline rested on the rug"));
    const float unrelated =
        similarity(QStringLiteral("The cat sat on the mat"), QStringLiteral("Interest rates rose again in March"));
    const float same = similarity(QStringLiteral("The cat sat on the mat"), QStringLiteral("The cat sat on the mat"));
    QVERIFY2(paraphrase > unrelated + 0.3f, qPrintable(QStringLiteral("%1 vs %2").arg(paraphrase).arg(unrelated)));
    QVERIFY(unrelated > -1.5f);
    QVERIFY(qAbs(same - 1.0f) < 1e-4f);
}

void TestStandinServer::clientsReportServerErrors_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("model");

    // The error replies carry no "response" and no "embeddings", so the app
    // reports them instead of showing a made-up result.
    QTest::newRow("rate with an unknown model") << "rate" << "nope";
    QTest::newRow("rate with the embedding model") << "rate" << "standin-embedding:latest";
    QTest::newRow("embed with an unknown model") << "embed" << "nope";
    QTest::newRow("embed with the sentiment model") << "embed" << "standin-sentiment:latest";
}

void TestStandinServer::clientsReportServerErrors()
{
    QFETCH(QString, call);
    QFETCH(QString, model);

    TestSettings prefs;
    prefs.settings().setOllamaURL(m_standin->baseURL());
    HttpClient http;
    QObject context;
    std::optional<ClientError> error;
    bool done = false;
    if (call == QLatin1String("rate")) {
        fetchSentimentScore(QStringLiteral("I love it"), model, &context, [&](const Result<int> &result) {
            done = true;
            if (!result.ok())
                error = result.error();
        }, prefs.settings(), http);
    } else {
        fetchEmbedding(QStringLiteral("I love it"), model, &context, [&](const Result<EmbeddingVector> &result) {
            done = true;
            if (!result.ok())
                error = result.error();
        }, prefs.settings(), http);
    }
    QTRY_VERIFY(done);
    QVERIFY(error.has_value());
    QCOMPARE(error->domain, ClientError::invalidResponseDomain);
}

void TestStandinServer::answersErrorsLikeARealServer_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    // A JSON error's text, or the whole body of a plain-text reply.
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("isJSON");

    QTest::newRow("show unknown model") << "POST" << "/api/show" << QByteArray(R"({"name":"nope"})") << 404
                                        << "model 'nope:latest' not found" << true;
    QTest::newRow("generate unknown model")
        << "POST" << "/api/generate" << QByteArray(R"({"model":"nope","prompt":"hi","stream":false})") << 404
        << "model 'nope' not found" << true;
    QTest::newRow("embed unknown model") << "POST" << "/api/embed" << QByteArray(R"({"model":"nope","input":"x"})")
                                         << 404 << "model \"nope\" not found, try pulling it first" << true;
    QTest::newRow("embedding model asked to generate")
        << "POST" << "/api/generate"
        << QByteArray(R"({"model":"standin-embedding:latest","prompt":"hi","stream":false})") << 400
        << "\"standin-embedding:latest\" does not support generate" << true;
    QTest::newRow("body not JSON") << "POST" << "/api/generate" << QByteArray("hello") << 400
                                   << "invalid character 'h' looking for beginning of value" << true;
    QTest::newRow("body cut short") << "POST" << "/api/embed" << QByteArray(R"({"model":)") << 400
                                    << "unexpected EOF" << true;
    QTest::newRow("empty body") << "POST" << "/api/show" << QByteArray() << 400 << "missing request body" << true;
    QTest::newRow("body an array") << "POST" << "/api/generate" << QByteArray("[]") << 400
                                   << "json: cannot unmarshal array into Go value of type api.GenerateRequest"
                                   << true;
    QTest::newRow("model of the wrong type")
        << "POST" << "/api/generate" << QByteArray(R"({"model":5})") << 400
        << "json: cannot unmarshal number into Go struct field GenerateRequest.model of type string" << true;
    QTest::newRow("no model") << "POST" << "/api/embed" << QByteArray(R"({"input":"x"})") << 400
                              << "model is required" << true;
    QTest::newRow("unknown path") << "GET" << "/api/nothing" << QByteArray() << 404 << "404 page not found" << false;
    QTest::newRow("wrong method") << "GET" << "/api/generate" << QByteArray() << 405 << "405 method not allowed"
                                  << false;
    QTest::newRow("post to tags") << "POST" << "/api/tags" << QByteArray("{}") << 405 << "405 method not allowed"
                                  << false;
}

void TestStandinServer::answersErrorsLikeARealServer()
{
    QFETCH(QString, method);
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(bool, isJSON);

    httplib::Client client = m_standin->client();
    const httplib::Result result = method == QLatin1String("GET")
        ? client.Get(path.toStdString())
        : client.Post(path.toStdString(), body.toStdString(), "application/json");
    QVERIFY(result);
    QCOMPARE(result->status, status);
    if (isJSON) {
        QVERIFY(result->get_header_value("Content-Type").starts_with("application/json"));
        const json reply = json::parse(result->body);
        QCOMPARE(reply.size(), size_t(1));
        QCOMPARE(QString::fromStdString(reply.at("error").get<std::string>()), message);
    } else {
        QVERIFY(result->get_header_value("Content-Type").starts_with("text/plain"));
        QCOMPARE(QString::fromStdString(result->body), message);
    }
}

void TestStandinServer::everyModelSaysItIsAStandin()
{
    httplib::Client client = m_standin->client();
    const auto tags = client.Get("/api/tags");
    QVERIFY(tags);
    const json list = json::parse(tags->body).at("models");
    QCOMPARE(list.size(), size_t(3));
    for (const json &entry : list) {
        for (const char *key : {"name", "model", "modified_at", "size", "digest", "details"})
            QVERIFY2(entry.contains(key), key);
        QCOMPARE(entry.at("digest").get<std::string>().size(), size_t(64));

        const auto show = client.Post("/api/show", json{{"name", entry.at("name")}}.dump(), "application/json");
        QVERIFY(show);
        QCOMPARE(show->status, 200);
        const json details = json::parse(show->body);
        for (const char *key : {"license", "modelfile", "template", "details", "model_info", "capabilities",
                                "modified_at"})
            QVERIFY2(details.contains(key), key);
        QVERIFY(details.at("license").get<std::string>().find("not a language model") != std::string::npos);
    }
}

void TestStandinServer::streamsWhenStreamIsNotFalse()
{
    httplib::Client client = m_standin->client();
    // "stream" left out means a stream, as on a real server.
    const auto result = client.Post("/api/generate", R"({"model":"standin-sentiment","prompt":"hello"})",
                                    "application/json");
    QVERIFY(result);
    QCOMPARE(result->status, 200);
    QVERIFY(result->get_header_value("Content-Type").starts_with("application/x-ndjson"));
    std::string text;
    json last;
    size_t from = 0;
    for (size_t end = result->body.find('\n'); end != std::string::npos; end = result->body.find('\n', from)) {
        last = json::parse(result->body.substr(from, end - from));
        text += last.at("response").get<std::string>();
        from = end + 1;
    }
    QCOMPARE_JSON(last.at("done"), json(true));
    QCOMPARE(QString::fromStdString(text), QString::fromStdString(StandinServer::standinReply));
}

void TestStandinServer::embedsEveryInputOfAList_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("vectors");

    QTest::newRow("one text") << QByteArray(R"("a cat")") << 1;
    QTest::newRow("empty text") << QByteArray(R"("")") << 0;
    QTest::newRow("no input") << QByteArray("null") << 0;
    QTest::newRow("list") << QByteArray(R"(["a cat","a dog","a car"])") << 3;
    QTest::newRow("empty list") << QByteArray("[]") << 0;
}

void TestStandinServer::embedsEveryInputOfAList()
{
    QFETCH(QByteArray, input);
    QFETCH(int, vectors);

    httplib::Client client = m_standin->client();
    const std::string body = R"({"model":"standin-embedding","input":)" + input.toStdString() + "}";
    const auto result = client.Post("/api/embed", body, "application/json");
    QVERIFY(result);
    QCOMPARE(result->status, 200);
    const json reply = json::parse(result->body);
    QCOMPARE_JSON(reply.at("model"), json("standin-embedding"));
    QCOMPARE(reply.at("embeddings").size(), size_t(vectors));
    for (const json &vector : reply.at("embeddings"))
        QCOMPARE(vector.size(), size_t(384));
}

void TestStandinServer::nonRatingPromptsGetTheStandinSentence()
{
    httplib::Client client = m_standin->client();
    const auto result = client.Post("/api/generate",
                                    R"({"model":"standin-vision","prompt":"Describe this image","stream":false})",
                                    "application/json");
    QVERIFY(result);
    QCOMPARE(result->status, 200);
    const json reply = json::parse(result->body);
    QCOMPARE(reply.at("response").get<std::string>(), StandinServer::standinReply);
    QCOMPARE_JSON(reply.at("done"), json(true));
    for (const char *key : {"created_at", "done_reason", "total_duration", "load_duration", "prompt_eval_count",
                            "eval_count", "eval_duration"})
        QVERIFY2(reply.contains(key), key);
}

void TestStandinServer::stopCutsShortALatencyWait()
{
    // A latency far longer than the test may take: if stop() did not cut the
    // wait short, the request below would never end.
    auto slow = std::make_unique<RunningStandin>(std::chrono::hours(1));
    std::atomic<bool> answered = false;
    std::atomic<int> status = 0;
    std::thread request([&] {
        httplib::Client client = slow->client();
        if (auto result = client.Get("/api/tags"))
            status = result->status;
        answered = true;
    });
    QTRY_VERIFY(slow->server().port() > 0);
    // The request may not have arrived yet; stop() must also cut short a wait
    // that starts after it, which waitOrStopped() checks first.
    QTest::qWait(50);
    slow.reset();
    request.join();
    QVERIFY(answered);
    QVERIFY(status != 200);
}

void TestStandinServer::secondServerOnATakenPortFailsToBind()
{
    StandinServer second(StandinServer::Options{"127.0.0.1", m_standin->port(), {}});
    std::string error;
    QVERIFY(!second.bind(error));
    QVERIFY(!error.empty());

    // The first one still answers.
    httplib::Client client = m_standin->client();
    const auto result = client.Get("/api/tags");
    QVERIFY(result);
    QCOMPARE(result->status, 200);
}

QTEST_GUILESS_MAIN(TestStandinServer)
#include "tst_standinserver.moc"
