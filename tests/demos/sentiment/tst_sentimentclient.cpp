#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentScore.h"

#include <QObject>
#include <QTest>

#include <nlohmann/json.hpp>

class TestSentimentClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sendsPromptAndReadsScore();
};

void TestSentimentClient::sendsPromptAndReadsScore()
{
    FakeOllamaServer server;
    server.setGenerateResponse("  4.\nBecause it is nice");
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;

    std::optional<Result<int>> outcome;
    QObject context;
    fetchSentimentScore(QStringLiteral("I love \"this\"\nday"), QStringLiteral("llama3.2"), &context,
                        [&](const Result<int> &r) { outcome = r; }, prefs.settings(), http);
    QTRY_VERIFY(outcome.has_value());
    QVERIFY(outcome->ok());
    QCOMPARE(outcome->value(), 4);

    const auto requests = server.requests("/api/generate");
    QCOMPARE(requests.size(), size_t(1));
    QCOMPARE(requests[0].header("Content-Type"), std::string("application/json"));
    const auto body = nlohmann::json::parse(requests[0].body);
    QCOMPARE(body.size(), size_t(3));
    QVERIFY(body["stream"] == false);
    QCOMPARE(QString::fromStdString(body["prompt"].get<std::string>()),
             SentimentScore::promptOpening + QStringLiteral("I love \"this\"\nday") + SentimentScore::promptClosing);
    QCOMPARE(SentimentScore::promptOpening.toUtf8().size(), 276);
    QCOMPARE(SentimentScore::promptClosing.toUtf8().size(), 10);
}

QTEST_GUILESS_MAIN(TestSentimentClient)
#include "tst_sentimentclient.moc"
