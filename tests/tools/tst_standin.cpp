#include "StandinServer.h"

#include <QTest>

using nlohmann::json;

// The offline stand-in answers like an Ollama server: the shapes the app
// reads, the errors a real server gives, and ratings that make the demo
// meaningful.
class TestStandin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersLikeOllama_data();
    void answersLikeOllama();
    void ratesLikeAModel();
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
    QTest::newRow("body an array") << "POST /api/generate []" << 400
                                   << "json: cannot unmarshal array into Go value of type api.GenerateRequest";
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

void TestStandin::ratesLikeAModel()
{
    // The app's own prompt, with one text of each kind.
    const std::string opening =
        "Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER from 1 to 5:\n\n"
        "1 = Very Negative\n2 = Negative\n3 = Neutral\n4 = Positive\n5 = Very Positive\n\n"
        "Do not include any explanation, justification, or additional text. Respond with just the number.\n\nText: \"";
    const QList<std::pair<const char *, std::string>> texts{
        {"This was a terrible, awful experience. I hated it.", "1"},
        {"The train leaves at nine from platform two.", "3"},
        {"What a \"wonderful\" day,\nI love it!", "5"},
    };
    for (const auto &[text, rating] : texts) {
        const json request = {{"model", "standin-sentiment"}, {"prompt", opening + text + "\"\n\nRating:"}, {"stream", false}};
        const OllamaWire::Reply reply = StandinServer::answer("POST", "/api/generate", request.dump());
        QCOMPARE(json::parse(reply.body).value("response", std::string()), rating);
    }
}

QTEST_GUILESS_MAIN(TestStandin)
#include "tst_standin.moc"
