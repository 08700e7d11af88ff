#include "StandinServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/similarity/SimilarityClient.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <httplib.h>

#include <signal.h>
#include <thread>

using nlohmann::json;

// The offline stand-in answers like an Ollama server: the shapes the app
// reads, the errors a real server gives, and ratings and vectors that make
// the demos meaningful.
class TestStandin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersLikeOllama_data();
    void answersLikeOllama();
    void appClientsGetMeaningfulResults();
    void programStartsServesAndStops();
};

void TestStandin::answersLikeOllama_data()
{
    QTest::addColumn<QString>("request"); // method, path and body
    QTest::addColumn<int>("status");
    // The members of a JSON reply (sorted), its error text, or a text body.
    QTest::addColumn<QString>("reply");

    QTest::newRow("generate, not streamed")
        << R"(POST /api/generate {"model":"standin-sentiment","prompt":"Hi","stream":false})" << 200
        << "created_at done done_reason eval_count eval_duration model prompt_eval_count response total_duration";
    QTest::newRow("embed one input") << R"(POST /api/embed {"model":"standin-embedding","input":"a cat"})" << 200
                                     << "embeddings model prompt_eval_count total_duration";
    QTest::newRow("embed nothing") << R"(POST /api/embed {"model":"standin-embedding","input":""})" << 200
                                   << "embeddings model total_duration";
    QTest::newRow("show") << R"(POST /api/show {"name":"standin-vision"})" << 200
                          << "capabilities details license model_info modelfile modified_at template";
    QTest::newRow("show unknown model") << R"(POST /api/show {"name":"nope"})" << 404 << "model 'nope:latest' not found";
    QTest::newRow("generate unknown model") << R"(POST /api/generate {"model":"nope","prompt":"hi"})" << 404
                                            << "model 'nope' not found";
    QTest::newRow("embed unknown model") << R"(POST /api/embed {"model":"nope","input":"x"})" << 404
                                         << "model \"nope\" not found, try pulling it first";
    QTest::newRow("embedding model asked to generate")
        << R"(POST /api/generate {"model":"standin-embedding:latest","prompt":"hi"})" << 400
        << "\"standin-embedding:latest\" does not support generate";
    QTest::newRow("body not JSON") << "POST /api/generate hello" << 400
                                   << "invalid character 'h' looking for beginning of value";
    QTest::newRow("body cut short") << R"(POST /api/embed {"model":)" << 400 << "unexpected EOF";
    QTest::newRow("empty body") << "POST /api/show " << 400 << "missing request body";
    QTest::newRow("body an array") << "POST /api/generate []" << 400
                                   << "json: cannot unmarshal array into Go value of type api.GenerateRequest";
    QTest::newRow("no model") << R"(POST /api/embed {"input":"x"})" << 400 << "model is required";
    QTest::newRow("unknown path") << "GET /api/nothing " << 404 << "404 page not found";
    QTest::newRow("wrong method") << "GET /api/generate " << 405 << "405 method not allowed";
    QTest::newRow("doubled slash") << "POST //api/show {}" << 301 << "";
}

void TestStandin::answersLikeOllama()
{
    QFETCH(QString, request);
    QFETCH(int, status);
    QFETCH(QString, reply);

    const QStringList parts = request.split(QLatin1Char(' '));
    const std::string body = request.section(QLatin1Char(' '), 2).toStdString();
    const OllamaWire::Reply answer = StandinServer::answer(parts[0].toStdString(), parts[1].toStdString(), body);
    QCOMPARE(answer.status, status);
    const json parsed = json::parse(answer.body, nullptr, false);
    if (!parsed.is_object()) {
        QCOMPARE(QString::fromStdString(answer.body), reply);
        return;
    }
    if (status != 200) {
        QCOMPARE(parsed.size(), size_t(1));
        QCOMPARE(QString::fromStdString(parsed.at("error").get<std::string>()), reply);
        return;
    }
    // Exactly the members a real server sends; none that is zero ("model
    // load 0 ns" would be a made-up figure).
    QStringList members;
    for (const auto &[key, value] : parsed.items()) {
        members.append(QString::fromStdString(key));
        QVERIFY2(!(value.is_number() && value == 0), key.c_str());
    }
    QCOMPARE(members.join(QLatin1Char(' ')), reply);
}

void TestStandin::appClientsGetMeaningfulResults()
{
    StandinServer standin(StandinServer::Options{"127.0.0.1", 0, {}});
    std::string bindError;
    QVERIFY2(standin.bind(bindError), bindError.c_str());
    std::thread serving([&standin] { standin.serve(); });
    const auto stop = qScopeGuard([&] {
        standin.stop();
        serving.join();
    });
    TestSettings prefs;
    prefs.settings().setOllamaURL(QString::fromStdString(standin.baseURL()));
    HttpClient http;

    // The catalogue sees every model with its flags (vision and tools: vision kept).
    OllamaService service(prefs.settings(), http);
    service.fetchModels();
    QTRY_VERIFY(!service.isLoadingModels());
    QMap<QString, bool> embeds, vision;
    for (const OllamaModel &m : service.availableModels()) {
        embeds[m.name] = m.capabilities.supportsEmbedding;
        vision[m.name] = m.capabilities.supportsVision && !m.capabilities.supportsTools;
    }
    QCOMPARE(embeds.keys(), QStringList({"standin-embedding:latest", "standin-sentiment:latest", "standin-vision:latest"}));
    QVERIFY(embeds["standin-embedding:latest"] && vision["standin-vision:latest"]);

    // One rating of each kind.
    const QList<std::pair<const char *, QList<int>>> ratings{
        {"This was a terrible, awful experience. I hated it.", {1, 2}},
        {"The train leaves at nine from platform two.", {3}},
        {"What a wonderful day, I love it!", {4, 5}},
    };
    for (const auto &[text, allowed] : ratings) {
        std::optional<Result<SentimentReading>> rating;
        fetchSentimentDetails(QString::fromUtf8(text), QStringLiteral("standin-sentiment"), &http,
                              [&](const Result<SentimentReading> &r) { rating = r; }, prefs.settings(), http);
        QTRY_VERIFY(rating.has_value());
        QVERIFY2(rating->ok() && allowed.contains(rating->value().score), text);
        QVERIFY(!rating->value().loadDuration.has_value());
    }

    // A paraphrase scores well above an unrelated sentence.
    auto similarity = [&](const char *second) {
        std::optional<Result<SimilarityReading>> result;
        computeSimilarityDetails(QStringLiteral("The cat sat on the mat"), QString::fromUtf8(second),
                                 QStringLiteral("standin-embedding"), &http,
                                 [&](const Result<SimilarityReading> &r) { result = r; }, prefs.settings(), http);
        return QTest::qWaitFor([&] { return result.has_value(); }) && result->ok() ? result->value().arithmetic.cosine
                                                                                  : -2.0f;
    };
    const float paraphrase = similarity("A feline rested on the rug");
    const float unrelated = similarity("Interest rates rose again in March");
    QVERIFY2(paraphrase > unrelated + 0.3f && unrelated > -1.5f, qPrintable(QStringLiteral("%1 %2").arg(paraphrase).arg(unrelated)));
}

void TestStandin::programStartsServesAndStops()
{
    const QString program = QStringLiteral(STANDIN_PROGRAM);
    for (const auto &[arguments, exitCode] : {std::pair{QStringList{"--version"}, 0}, {QStringList{"--bogus"}, 2},
                                             {QStringList{"--port", "70000"}, 2}}) {
        QProcess process;
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), exitCode);
        if (exitCode == 0)
            QCOMPARE(process.readAllStandardOutput().trimmed(), QByteArray("quillmere-standin " STANDIN_VERSION));
    }

    // Port 0: the program prints the port it chose, serves, and stops cleanly on SIGTERM.
    QProcess process;
    process.start(program, {QStringLiteral("--port"), QStringLiteral("0")});
    static const QRegularExpression listening(QStringLiteral("Listening on http://127\\.0\\.0\\.1:(\\d+)"));
    QByteArray output;
    QRegularExpressionMatch match;
    while (!(match = listening.match(QString::fromUtf8(output))).hasMatch() && process.waitForReadyRead(30000))
        output += process.readAllStandardOutput();
    QVERIFY2(match.hasMatch(), output.constData());
    httplib::Client client("127.0.0.1", match.captured(1).toInt());
    const auto tags = client.Get("/api/tags");
    QVERIFY(tags && tags->status == 200);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
