#include "FakeOllamaServer.h"
#include "ReplyGate.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentScore.h"

#include <QCoreApplication>
#include <QTest>

#include <nlohmann/json.hpp>

#include <limits>

// The sentiment client: the lenient reading of an answer, the words of each
// score, and the generate request and reply as the server sees them.
namespace {

using Reply = FakeOllamaServer::Reply;

struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    QObject context;
    std::optional<Result<SentimentReading>> outcome;
    int calls = 0;

    Rig() { prefs.settings().setOllamaURL(server.baseURL()); }

    void fetch(const QString &text, QObject *receiver, const QString &model = QStringLiteral("llama3.2:latest"))
    {
        fetchSentimentDetails(text, model, receiver, [this](const Result<SentimentReading> &r) {
            outcome = r;
            ++calls;
        }, prefs.settings(), http);
    }
    bool fetched(const QString &text)
    {
        fetch(text, &context);
        return QTest::qWaitFor([this] { return calls > 0; }, 30000);
    }
};

} // namespace

class TestSentimentClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsAnswer_data();
    void readsAnswer();
    void scoreWordsAndOutcomes();
    void sendsPromptAsServerReceivesIt();
    void readsReply_data();
    void readsReply();
    void refusedURLAndGoneScreen();
};

void TestSentimentClient::readsAnswer_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("stripped"); // what is left to read of the first line

    // The answer's own number.
    QTest::newRow("bare digit") << "4" << 4 << "4";
    QTest::newRow("spaces, full stop, line feed") << "  4.\n" << 4 << "4";
    QTest::newRow("double quotes") << "\"5\"" << 5 << "5";
    QTest::newRow("apostrophes and comma") << "'2'," << 2 << "2";
    QTest::newRow("plus sign") << "+4" << 4 << "+4";
    QTest::newRow("leading zeros beyond 64 bits") << "0000000000000000000000001" << 1 << "0000000000000000000000001";
    QTest::newRow("only the first line counts") << "4\nThe text is upbeat." << 4 << "4";
    QTest::newRow("leading line feeds") << "\n\n2" << 2 << "2";
    QTest::newRow("CRLF ends the line") << "1\r\nVery negative" << 1 << "1";
    QTest::newRow("other line breaks") << "\u2029\f5\u0085\v" << 5 << "5";
    QTest::newRow("no-break and ideographic spaces") << "\u00A0\u30004\u3000" << 4 << "4";
    QTest::newRow("tab trimmed, then space and mark stripped") << "\t4 !" << 4 << "4";
    // The neutral fallback: nothing but a whole number from 1 to 5 is read.
    QTest::newRow("empty") << "" << 3 << "";
    QTest::newRow("only punctuation") << " ... ?! " << 3 << "";
    QTest::newRow("tab is not stripped") << "4\t." << 3 << "4\t";
    QTest::newRow("number on the second line") << "Sure!\n4" << 3 << "Sure";
    for (const char *answer : {"0", "6", "-1", "Rating: 4", "4/5", "3.5", "four", "**4**", "99999999999999999999", "+-4",
                               "\uFF14"})
        QTest::addRow("%s", answer) << QString::fromUtf8(answer) << 3 << QString::fromUtf8(answer);
}

void TestSentimentClient::readsAnswer()
{
    QFETCH(QString, answer);
    QFETCH(int, score);
    QFETCH(QString, stripped);

    QCOMPARE(parseSentimentScore(answer), score);
    // The steps the details show explain that very score.
    const SentimentSteps steps = SentimentReadingText::readSteps(answer);
    QCOMPARE(steps.stripped, stripped);
    QCOMPARE(steps.score, score);
}

void TestSentimentClient::scoreWordsAndOutcomes()
{
    const QList<std::tuple<int, QString, QString>> rows{
        {1, QStringLiteral("Very Negative"), QStringLiteral("This text expresses strong negative emotions or opinions.")},
        {2, QStringLiteral("Negative"), QStringLiteral("This text leans toward negative sentiment.")},
        {3, QStringLiteral("Neutral"), QStringLiteral("This text is neutral, with balanced or factual tone.")},
        {4, QStringLiteral("Positive"), QStringLiteral("This text leans toward positive sentiment.")},
        {5, QStringLiteral("Very Positive"), QStringLiteral("This text expresses strong positive emotions or opinions.")},
    };
    for (const auto &[score, label, description] : rows) {
        QCOMPARE(sentimentLabel(score), label);
        QCOMPARE(sentimentDescription(score), description);
    }
    for (const int score : {0, 6, -1, std::numeric_limits<int>::min()})
        QVERIFY(sentimentLabel(score).isEmpty() && sentimentDescription(score).isEmpty());

    // The last reading step in words; an answer of exactly 3 is read, not assumed.
    const QList<std::pair<QString, QString>> outcomes{
        {QStringLiteral("3"), QStringLiteral("read as 3")},
        {QStringLiteral("7"), QStringLiteral("not a whole number from 1 to 5, so the neutral fallback 3 was used")},
        {QStringLiteral("\"...\""), QStringLiteral("nothing is left to read, so the neutral fallback 3 was used")},
    };
    for (const auto &[answer, outcome] : outcomes)
        QCOMPARE(SentimentReadingText::outcome(SentimentReadingText::readSteps(answer)), outcome);
}

void TestSentimentClient::sendsPromptAsServerReceivesIt()
{
    Rig rig;
    rig.server.setGenerateResponse("\"5\"\nA glowing review.");
    const QString text = QStringLiteral("She said \"great\"\nthen\tleft");
    QVERIFY(rig.fetched(text));

    const auto requests = rig.server.requests();
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].method + " " + requests[0].path + " " + requests[0].header("Content-Type"),
             std::string("POST /api/generate application/json"));
    QCOMPARE(requests[0].body,
             std::string(R"({"model":"llama3.2:latest","prompt":"Analyze the sentiment of the following text and )"
                         R"(respond with ONLY A SINGLE NUMBER from 1 to 5:\n\n1 = Very Negative\n2 = Negative\n3 = )"
                         R"(Neutral\n4 = Positive\n5 = Very Positive\n\nDo not include any explanation, )"
                         R"(justification, or additional text. Respond with just the number.\n\nText: \"She said )"
                         R"(\"great\"\nthen\tleft\"\n\nRating:","stream":false})"));

    // The details carry what was sent and what came back.
    QVERIFY(rig.outcome->ok());
    const SentimentReading &reading = rig.outcome->value();
    QCOMPARE(reading.prompt.toStdString(), nlohmann::json::parse(requests[0].body).at("prompt").get<std::string>());
    QCOMPARE(QStringList({QString::number(reading.score), reading.text, reading.model, reading.rawResponse, reading.firstLine}),
             QStringList({"5", text, "llama3.2:latest", "\"5\"\nA glowing review.", "\"5\""}));
}

void TestSentimentClient::readsReply_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    // "score N; timing" on success, else the failure's domain.
    QTest::addColumn<QString>("expected");

    QTest::newRow("a real server's reply")
        << 200 << QByteArray(R"({"model":"llama3.2","response":"4","done":true,"context":[1,2],)"
                             R"("total_duration":5043500667,"load_duration":5025959,"eval_count":290})")
        << "score 4; Total 5.04 s, model load 5.0 ms, 290 tokens generated";
    QTest::newRow("a warm model has no load figure")
        << 200 << QByteArray(R"({"response":"2","total_duration":800,"eval_count":1})")
        << "score 2; Total 800 ns, 1 token generated";
    QTest::newRow("figures of other shapes are ignored")
        << 200 << QByteArray(R"({"response":"1","total_duration":-1,"load_duration":"5","eval_count":2.5})")
        << "score 1; ";
    QTest::newRow("any status with a response") << 500 << QByteArray(R"({"response":"5"})") << "score 5; ";
    QTest::newRow("404 error object") << 404 << QByteArray(R"({"error":"model 'x' not found"})")
                                      << "Invalid response from Ollama";
    for (const char *body : {R"({"response":4})", R"({"response":null})", R"([{"response":"4"}])"})
        QTest::addRow("%s", body) << 200 << QByteArray(body) << "Invalid response from Ollama";
    for (const char *body : {R"("4")", "4", "null", "404 page not found", "{\"response\":\"4\"}\n{\"response\":\"\"}\n"})
        QTest::addRow("not a JSON object or array: %s", body) << 404 << QByteArray(body) << "JSON";
    // An error status without a body is reported as the status.
    QTest::newRow("404 with an empty body") << 404 << QByteArray() << "HTTP";
}

void TestSentimentClient::readsReply()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, expected);

    Rig rig;
    rig.server.setRoute("POST", "/api/generate", Reply::json(body.toStdString(), status));
    QVERIFY(rig.fetched(QStringLiteral("some text")));
    QCOMPARE(rig.calls, 1);
    const Result<SentimentReading> &result = *rig.outcome;
    if (result.ok()) {
        QCOMPARE(QStringLiteral("score %1; ").arg(result.value().score)
                     + SentimentReadingText::serverTiming(result.value()),
                 expected);
        return;
    }
    QCOMPARE(result.error().domain, expected);
    QVERIFY(!result.error().description.isEmpty());
    if (expected == QLatin1String("Invalid response from Ollama"))
        QCOMPARE(result.error().description,
                 QStringLiteral("The operation could not be completed. (Invalid response from Ollama error -1.)"));
}

void TestSentimentClient::refusedURLAndGoneScreen()
{
    Rig rig;
    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    rig.server.setHandler(ReplyGate::holding(gate));

    // Gone while the reply is outstanding: the reply ends and is freed, unheard.
    auto screen = std::make_unique<QObject>();
    rig.fetch(QStringLiteral("text"), screen.get());
    QVERIFY(QTest::qWaitFor([&] { return gate->arrivals() == 1; }, 30000));
    screen.reset();
    gate->open();
    QVERIFY(QTest::qWaitFor([&] { return rig.http.requestsInFlight() == 0; }, 30000));
    QCoreApplication::processEvents();
    QCOMPARE(rig.calls, 0);

    // A refused URL sends nothing and fails from the event loop, never from
    // inside the call; a screen gone by then hears nothing.
    rig.prefs.settings().setOllamaURL(QStringLiteral("localhost:11434"));
    screen = std::make_unique<QObject>();
    rig.fetch(QStringLiteral("text"), screen.get());
    screen.reset();
    QVERIFY(rig.fetched(QStringLiteral("text")));
    QCOMPARE(rig.calls, 1);
    QCOMPARE(rig.outcome->error().description, QStringLiteral("The operation could not be completed. (Invalid URL error -1.)"));
    QCOMPARE(rig.server.requestCount(), size_t(1));
}

QTEST_GUILESS_MAIN(TestSentimentClient)
#include "tst_sentimentclient.moc"
