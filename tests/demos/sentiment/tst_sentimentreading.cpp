#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentReading.h"
#include "demos/sentiment/SentimentScore.h"

#include <QTcpServer>
#include <QTest>

#include <nlohmann/json.hpp>

#include <optional>

namespace {

using OptionalCount = std::optional<qint64>;

// A sentiment client wired to its own settings and HTTP client, calling both
// the plain and the detailed operation.
struct Rig
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    QObject context;
    std::optional<Result<int>> score;
    std::optional<Result<SentimentReading>> details;

    Rig() { prefs.settings().setOllamaURL(server.baseURL()); }

    bool fetchBoth(const QString &text, const QString &model)
    {
        fetchSentimentScore(text, model, &context, [this](const Result<int> &r) { score = r; }, prefs.settings(),
                            http);
        fetchSentimentDetails(text, model, &context, [this](const Result<SentimentReading> &r) { details = r; },
                              prefs.settings(), http);
        return QTest::qWaitFor([this] { return score && details; }, 15000);
    }
};

QString closedPortURL()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}

QByteArray generateReply(const nlohmann::json &extra)
{
    nlohmann::json body = {{"model", "llama3.2"}, {"response", "4"}, {"done", true}};
    body.update(extra);
    return QByteArray::fromStdString(body.dump());
}

} // namespace

class TestSentimentReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsStepByStep_data();
    void readsStepByStep();
    void outcomeInWords_data();
    void outcomeInWords();
    void durationInHumanUnits_data();
    void durationInHumanUnits();
    void serverTimingNamesOnlyWhatCame_data();
    void serverTimingNamesOnlyWhatCame();
    void replyDetailsCarryRawAnswerAndCounts_data();
    void replyDetailsCarryRawAnswerAndCounts();
    void detailedFetchMatchesScoreFetch_data();
    void detailedFetchMatchesScoreFetch();
};

void TestSentimentReading::readsStepByStep_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("stripped");
    QTest::addColumn<int>("score");
    QTest::addColumn<bool>("fallback");

    QTest::newRow("bare digit") << "4" << "4" << "4" << 4 << false;
    QTest::newRow("spaces, full stop, explanation") << "  4.\nIt is upbeat." << "4." << "4" << 4 << false;
    QTest::newRow("double quotes") << "\"5\"" << "\"5\"" << "5" << 5 << false;
    QTest::newRow("apostrophes and comma") << "'2'," << "'2'," << "2" << 2 << false;
    QTest::newRow("leading line breaks") << "\n\n2" << "2" << "2" << 2 << false;
    QTest::newRow("CRLF ends the first line") << "1\r\nVery negative" << "1" << "1" << 1 << false;
    QTest::newRow("tab trimmed, inner space stripped") << "\t4 !" << "4 !" << "4" << 4 << false;
    QTest::newRow("a real 3 is no fallback") << "3" << "3" << "3" << 3 << false;
    QTest::newRow("plus sign") << "+4" << "+4" << "+4" << 4 << false;
    QTest::newRow("empty") << "" << "" << "" << 3 << true;
    QTest::newRow("only punctuation") << " ... ?! " << "... ?!" << "" << 3 << true;
    QTest::newRow("zero") << "0" << "0" << "0" << 3 << true;
    QTest::newRow("six") << "6" << "6" << "6" << 3 << true;
    QTest::newRow("negative") << "-1" << "-1" << "-1" << 3 << true;
    QTest::newRow("label before number") << "Rating: 4" << "Rating: 4" << "Rating: 4" << 3 << true;
    QTest::newRow("fraction") << "4/5" << "4/5" << "4/5" << 3 << true;
    QTest::newRow("decimal") << "3.5" << "3.5" << "3.5" << 3 << true;
    QTest::newRow("bold markup") << "**4**" << "**4**" << "**4**" << 3 << true;
    QTest::newRow("too large for 64 bits") << "99999999999999999999" << "99999999999999999999"
                                           << "99999999999999999999" << 3 << true;
    QTest::newRow("number on the second line only") << "Sure!\n4" << "Sure!" << "Sure" << 3 << true;
}

void TestSentimentReading::readsStepByStep()
{
    QFETCH(QString, reply);
    QFETCH(QString, firstLine);
    QFETCH(QString, stripped);
    QFETCH(int, score);
    QFETCH(bool, fallback);

    const SentimentSteps steps = SentimentReadingText::readSteps(reply);
    QCOMPARE(steps.firstLine, firstLine);
    QCOMPARE(steps.stripped, stripped);
    QCOMPARE(steps.score, score);
    QCOMPARE(steps.usedFallback, fallback);
    // The score the demo shows is the one these steps explain.
    QCOMPARE(parseSentimentScore(reply), score);
}

void TestSentimentReading::outcomeInWords_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("read") << "4." << "read as 4";
    QTest::newRow("three read, not assumed") << "3" << "read as 3";
    QTest::newRow("out of range") << "7" << "not a whole number from 1 to 5, so the neutral fallback 3 was used";
    QTest::newRow("words") << "four" << "not a whole number from 1 to 5, so the neutral fallback 3 was used";
    QTest::newRow("nothing left") << "\"...\"" << "nothing is left to read, so the neutral fallback 3 was used";
}

void TestSentimentReading::outcomeInWords()
{
    QFETCH(QString, reply);
    QFETCH(QString, outcome);
    QCOMPARE(SentimentReadingText::outcome(SentimentReadingText::readSteps(reply)), outcome);
}

void TestSentimentReading::durationInHumanUnits_data()
{
    QTest::addColumn<qint64>("nanoseconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0 ns";
    QTest::newRow("negative") << qint64(-5) << "0 ns";
    QTest::newRow("below a microsecond") << qint64(999) << "999 ns";
    QTest::newRow("one microsecond") << qint64(1000) << "1.0 µs";
    QTest::newRow("microseconds") << qint64(12'345) << "12.3 µs";
    QTest::newRow("rounds up into milliseconds") << qint64(999'950) << "1.0 ms";
    QTest::newRow("model load") << qint64(5'025'959) << "5.0 ms";
    QTest::newRow("seconds") << qint64(5'043'500'667) << "5.04 s";
    QTest::newRow("just under a minute") << qint64(59'994'000'000) << "59.99 s";
    QTest::newRow("rounds up to a minute") << qint64(59'996'000'000) << "1 min 0 s";
    QTest::newRow("minutes") << qint64(125'400'000'000) << "2 min 5 s";
}

void TestSentimentReading::durationInHumanUnits()
{
    QFETCH(qint64, nanoseconds);
    QFETCH(QString, text);
    QCOMPARE(SentimentReadingText::duration(nanoseconds), text);
}

void TestSentimentReading::serverTimingNamesOnlyWhatCame_data()
{
    QTest::addColumn<OptionalCount>("total");
    QTest::addColumn<OptionalCount>("load");
    QTest::addColumn<OptionalCount>("tokens");
    QTest::addColumn<QString>("text");
    QTest::newRow("all three") << OptionalCount(5'043'500'667) << OptionalCount(5'025'959) << OptionalCount(290)
                               << "Total 5.04 s, model load 5.0 ms, 290 tokens generated";
    QTest::newRow("none") << OptionalCount() << OptionalCount() << OptionalCount() << "";
    QTest::newRow("load only") << OptionalCount() << OptionalCount(1'019'500) << OptionalCount()
                               << "Model load 1.0 ms";
    QTest::newRow("one token") << OptionalCount(800) << OptionalCount() << OptionalCount(1)
                               << "Total 800 ns, 1 token generated";
}

void TestSentimentReading::serverTimingNamesOnlyWhatCame()
{
    QFETCH(OptionalCount, total);
    QFETCH(OptionalCount, load);
    QFETCH(OptionalCount, tokens);
    QFETCH(QString, text);
    SentimentReading reading;
    reading.totalDuration = total;
    reading.loadDuration = load;
    reading.evalCount = tokens;
    QCOMPARE(SentimentReadingText::serverTiming(reading), text);
}

void TestSentimentReading::replyDetailsCarryRawAnswerAndCounts_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<OptionalCount>("total");
    QTest::addColumn<OptionalCount>("load");
    QTest::addColumn<OptionalCount>("tokens");

    QTest::newRow("server's full reply")
        << generateReply({{"response", " 4.\n"},
                          {"total_duration", 5043500667LL},
                          {"load_duration", 5025959},
                          {"eval_count", 290}})
        << " 4.\n" << OptionalCount(5043500667LL) << OptionalCount(5025959) << OptionalCount(290);
    QTest::newRow("no figures") << generateReply(nlohmann::json::object()) << "4" << OptionalCount() << OptionalCount() << OptionalCount();
    QTest::newRow("zero tokens") << generateReply({{"eval_count", 0}}) << "4" << OptionalCount() << OptionalCount()
                                 << OptionalCount(0);
    QTest::newRow("negative, text, fraction, null are ignored")
        << generateReply({{"total_duration", -1}, {"load_duration", "5"}, {"eval_count", 2.5}}) << "4"
        << OptionalCount() << OptionalCount() << OptionalCount();
    QTest::newRow("beyond 64-bit signed is ignored")
        << generateReply({{"total_duration", 18446744073709551615ULL}, {"eval_count", nullptr}}) << "4"
        << OptionalCount() << OptionalCount() << OptionalCount();
    QTest::newRow("error status body with a response")
        << QByteArray(R"({"response":"I cannot rate that.","error":"partial"})") << "I cannot rate that."
        << OptionalCount() << OptionalCount() << OptionalCount();
}

void TestSentimentReading::replyDetailsCarryRawAnswerAndCounts()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, raw);
    QFETCH(OptionalCount, total);
    QFETCH(OptionalCount, load);
    QFETCH(OptionalCount, tokens);

    const Result<SentimentReading> reading = SentimentClient::readGenerateReplyDetails(body);
    QVERIFY(reading.ok());
    QCOMPARE(reading.value().rawResponse, raw);
    QCOMPARE(reading.value().totalDuration, total);
    QCOMPARE(reading.value().loadDuration, load);
    QCOMPARE(reading.value().evalCount, tokens);
    const SentimentSteps steps = SentimentReadingText::readSteps(raw);
    QCOMPARE(reading.value().firstLine, steps.firstLine);
    QCOMPARE(reading.value().stripped, steps.stripped);
    QCOMPARE(reading.value().usedFallback, steps.usedFallback);
    QCOMPARE(reading.value().score, steps.score);
    // The figures never change the score.
    QCOMPARE(SentimentClient::readGenerateReply(body).value(), steps.score);
}

void TestSentimentReading::detailedFetchMatchesScoreFetch_data()
{
    QTest::addColumn<QString>("baseURL"); // empty: the fake server
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("reply") << QString() << true;
    QTest::newRow("nothing listening") << closedPortURL() << false;
    QTest::newRow("invalid URL") << QStringLiteral("localhost:11434") << false;
}

void TestSentimentReading::detailedFetchMatchesScoreFetch()
{
    QFETCH(QString, baseURL);
    QFETCH(bool, succeeds);
    Rig rig;
    if (!baseURL.isEmpty())
        rig.prefs.settings().setOllamaURL(baseURL);
    rig.server.setGenerateResponse("\"5\"\nA glowing review.");
    const QString text = QStringLiteral("A \"perfect\" week\nby the sea");
    QVERIFY(rig.fetchBoth(text, QStringLiteral("llama3.2")));

    QCOMPARE(rig.details->ok(), succeeds);
    QCOMPARE(rig.score->ok(), succeeds);
    if (!succeeds) {
        QCOMPARE(rig.details->error(), rig.score->error());
        return;
    }
    // Both sent the same request.
    const auto requests = rig.server.requests("/api/generate");
    QCOMPARE(requests.size(), size_t(2));
    QCOMPARE(requests[0].body, requests[1].body);

    const SentimentReading &reading = rig.details->value();
    QCOMPARE(reading.score, rig.score->value());
    QCOMPARE(reading.score, 5);
    QCOMPARE(reading.text, text);
    QCOMPARE(reading.model, QStringLiteral("llama3.2"));
    QCOMPARE(reading.prompt, SentimentScore::sentimentPrompt(text));
    QCOMPARE(QString::fromStdString(nlohmann::json::parse(requests[0].body)["prompt"].get<std::string>()),
             reading.prompt);
    QCOMPARE(reading.rawResponse, QStringLiteral("\"5\"\nA glowing review."));
    QCOMPARE(reading.firstLine, QStringLiteral("\"5\""));
    QCOMPARE(reading.stripped, QStringLiteral("5"));
    QVERIFY(!reading.usedFallback);
    QCOMPARE(SentimentReadingText::serverTiming(reading),
             QStringLiteral("Total 5.04 s, model load 5.0 ms, 290 tokens generated"));
}

QTEST_MAIN(TestSentimentReading)
#include "tst_sentimentreading.moc"
