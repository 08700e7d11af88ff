#include "FakeOllamaServer.h"
#include "StandinServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/ProbabilityBarChart.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentDetailsPanel.h"
#include "demos/sentiment/TokenProbabilitiesSection.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

using nlohmann::json;
using Problem = TokenProbabilityProblem;
using Ratings = QList<double>;

Q_DECLARE_METATYPE(TokenProbabilityProblem)

namespace {

// A generate reply with the given "logprobs" member (left out when null).
QByteArray reply(const json &logprobs)
{
    json body = {{"model", "llama3.2"}, {"response", "4"}, {"done", true}};
    if (!logprobs.is_null())
        body["logprobs"] = logprobs;
    return QByteArray::fromStdString(body.dump());
}

// One generated token and its candidates, as {token, logprob} pairs.
json entry(const std::string &token, const std::vector<std::pair<std::string, json>> &candidates)
{
    json top = json::array();
    for (const auto &[text, logprob] : candidates)
        top.push_back({{"token", text}, {"logprob", logprob}, {"bytes", json::array()}});
    return {{"token", token}, {"logprob", -0.1}, {"top_logprobs", top}};
}

} // namespace

class TestTokenProbabilities : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsProbabilities_data();
    void readsProbabilities();
    void reportsWhatIsMissing_data();
    void reportsWhatIsMissing();
    void showsTokensAndPercentages();
    void extraRequestLeavesTheDemoRequestAlone();
    void sectionShowsChartTableAndMessages();
    void standinAnswersOnlyWhenAsked();
};

void TestTokenProbabilities::readsProbabilities_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("produced");
    QTest::addColumn<Ratings>("ratings");
    QTest::addColumn<double>("other");
    QTest::addColumn<double>("expected"); // 0: none

    QTest::newRow("spaced and plain digits add up")
        << reply(json::array({entry("4", {{"4", -0.3}, {" 4", -2.5}, {"5", -2.0}, {"\n", -5.0}})}))
        << "4" << Ratings{0, 0, 0, 0.822903, 0.135335} << 0.041761 << 4.141233;
    QTest::newRow("blank tokens before the rating are passed over")
        << reply(json::array({entry(" ", {{" ", -0.01}}), entry("\n", {{"\n", -0.02}}),
                              entry("2", {{"2", -0.1}, {"3", -2.4}})}))
        << "2" << Ratings{0, 0.904837, 0.090718, 0, 0} << 0.004445 << 2.091123;
    QTest::newRow("a digit counts only with nothing but white space around it")
        << reply(json::array({entry("4.", {{"4.", -0.5}, {"45", -1.5}, {"0", -2.0}, {"6", -2.5}, {"\u0664", -3.0},
                                          {"\t1\n", -3.5}})}))
        << "4." << Ratings{0.030197, 0, 0, 0, 0} << 0.969803 << 1.0;
    QTest::newRow("rounding past 1 is scaled back")
        << reply(json::array({entry("3", {{"3", -0.01}, {" 3", -0.02}, {"4", -9.0}})}))
        << "3" << Ratings{0, 0, 0.999938, 0.000062, 0} << 0.0 << 3.000062;
    QTest::newRow("no rating among the candidates")
        << reply(json::array({entry("Sure", {{"Sure", -0.2}, {"The", -1.8}})}))
        << "Sure" << Ratings{0, 0, 0, 0, 0} << 1.0 << 0.0;
}

void TestTokenProbabilities::readsProbabilities()
{
    QFETCH(QByteArray, body);
    const auto read = TokenProbabilityText::readReply(body);
    QVERIFY(read.ok());
    QVERIFY(std::holds_alternative<TokenProbabilities>(read.value()));
    const auto &p = std::get<TokenProbabilities>(read.value());
    QTEST(p.producedToken, "produced");
    QFETCH(Ratings, ratings);
    for (int i = 0; i < 5; ++i)
        QVERIFY2(qAbs(p.ratings[size_t(i)] - ratings.at(i)) < 1e-6, qPrintable(QString::number(i + 1)));
    QFETCH(double, other);
    QVERIFY(qAbs(p.otherMass() - other) < 1e-6);
    QFETCH(double, expected);
    QCOMPARE(p.expectedRating().has_value(), expected > 0);
    if (expected > 0)
        QVERIFY(qAbs(*p.expectedRating() - expected) < 1e-6);
}

void TestTokenProbabilities::reportsWhatIsMissing_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Problem>("problem");
    QTest::addColumn<QString>("errorDomain"); // a failure instead of a problem

    const auto row = [](const char *name, const QByteArray &body, Problem problem, const QString &domain = {}) {
        QTest::newRow(name) << body << problem << domain;
    };
    const QString invalid = QStringLiteral("Invalid response from Ollama");
    row("older server", reply(nullptr), Problem::NotSent);
    row("empty array", reply(json::array()), Problem::NoTokens);
    row("only blank tokens", reply(json::array({entry(" \n", {{" ", -0.1}})})), Problem::NoTokens);
    row("no candidates", reply(json::array({{{"token", "4"}, {"logprob", -0.1}}})), Problem::NoCandidates);
    row("empty candidates", reply(json::array({entry("4", {})})), Problem::NoCandidates);
    row("text log-probability", reply(json::array({entry("4", {{"4", "-0.1"}})})), Problem::InvalidValue);
    row("probability above 1", reply(json::array({entry("4", {{"4", 0.5}})})), Problem::InvalidValue);
    // JSON has no infinity; a number beyond a double is the reader's failure.
    row("overflowing log-probability",
        R"({"response":"4","logprobs":[{"token":"4","top_logprobs":[{"token":"4","logprob":-1e999}]}]})",
        Problem::NotSent, QStringLiteral("JSON"));
    row("error reply", R"({"error":"model 'x' not found"})", Problem::NotSent, invalid);
    row("logprobs not an array", reply(json::object()), Problem::NotSent, invalid);
}

void TestTokenProbabilities::reportsWhatIsMissing()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, errorDomain);
    const auto read = TokenProbabilityText::readReply(body);
    if (!errorDomain.isEmpty()) {
        QVERIFY(!read.ok());
        QCOMPARE(read.error().domain, errorDomain);
        return;
    }
    QVERIFY(read.ok());
    QVERIFY(std::holds_alternative<Problem>(read.value()));
    QTEST(std::get<Problem>(read.value()), "problem");
}

void TestTokenProbabilities::showsTokensAndPercentages()
{
    using namespace TokenProbabilityText;
    QCOMPARE(visibleToken(QStringLiteral(" 4\n\t\r\u00A0\u200B")), QStringLiteral("␣4↵⇥⟨U+000D⟩⟨U+00A0⟩⟨U+200B⟩"));
    QCOMPARE(visibleToken(QString()), QStringLiteral("(empty)"));
    // Nearly none and nearly all must not read as none and all.
    QCOMPARE(ProbabilityBarChart::accessibleBarName({QString(), 0.004, 2}), QStringLiteral("Rating 2: less than 1 percent"));
    QCOMPARE(ProbabilityBarChart::accessibleBarName({QString(), 0.996, 0}),
             QStringLiteral("Something else: more than 99 percent"));
    QCOMPARE(tablePercent(0.0004), QStringLiteral("<0.1 %"));
}

void TestTokenProbabilities::extraRequestLeavesTheDemoRequestAlone()
{
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;
    const QString text = QStringLiteral("Nice \"view\",\nawful bed");
    int done = 0;
    fetchSentimentDetails(text, "llama3.2", nullptr, [&](const auto &) { ++done; }, prefs.settings(), http);
    fetchTokenProbabilities(text, "llama3.2", nullptr, [&](const auto &) { ++done; }, prefs.settings(), http);
    QTRY_COMPARE(done, 2);
    json demo, extra;
    for (const auto &request : server.requests("/api/generate"))
        (request.body.find("logprobs") == std::string::npos ? demo : extra) = json::parse(request.body);
    QVERIFY(demo["prompt"].get<std::string>().ends_with("Text: \"Nice \"view\",\nawful bed\"\n\nRating:"));
    QVERIFY(extra["prompt"] == demo["prompt"]);
    demo.erase("prompt");
    extra.erase("prompt");
    QCOMPARE(demo.dump(), std::string(R"({"model":"llama3.2","stream":false})"));
    QCOMPARE(extra.dump(), std::string(R"({"logprobs":true,"model":"llama3.2","options":{"num_predict":8},)"
                                       R"("stream":false,"top_logprobs":20})"));
}

void TestTokenProbabilities::sectionShowsChartTableAndMessages()
{
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;
    QWidget window;
    auto *panel = new SentimentDetailsPanel;
    (new QVBoxLayout(&window))->addWidget(panel);
    TokenProbabilitiesSection *section = panel->probabilitiesSection();
    section->setServices(prefs.settings(), http);
    SentimentReading reading;
    reading.text = QStringLiteral("Lovely room, rude staff");
    reading.model = QStringLiteral("llama3.2");
    panel->setReading(reading);
    window.show();
    QApplication::setActiveWindow(&window);

    // Keyboard users reach the button from the answer box.
    auto *button = section->findChild<QPushButton *>(QStringLiteral("probabilitiesButton"));
    panel->findChild<QTextEdit *>(QStringLiteral("detailsRawResponse"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), button);

    server.setHandler([](const FakeOllamaServer::Request &) -> std::optional<FakeOllamaServer::Reply> {
        return FakeOllamaServer::Reply::json(
            reply(json::array({entry("2", {{"2", -0.5}, {" 4", -1.4}, {"4", -2.9}, {"\n", -4.6}})})).toStdString());
    });
    QTest::keyClick(button, Qt::Key_Space);
    QTRY_VERIFY(section->probabilities().has_value());

    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(section->findChild<ProbabilityBarChart *>());
    QStringList names;
    for (int i = 0; i < chart->childCount(); ++i)
        names << chart->child(i)->text(QAccessible::Name);
    QCOMPARE(names, QStringList({"Rating 1: 0 percent", "Rating 2: 61 percent", "Rating 3: 0 percent",
                                 "Rating 4: 30 percent", "Rating 5: 0 percent", "Something else: 9 percent"}));
    auto *table = section->findChild<QTableWidget *>(QStringLiteral("probabilitiesTable"));
    QCOMPARE(table->rowCount(), 4);
    QStringList row;
    for (int column = 0; column < 3; ++column)
        row << table->item(1, column)->text();
    QCOMPARE(row, QStringList({"␣4", "-1.4", "24.7 %"}));
    QCOMPARE(section->findChild<QLabel *>(QStringLiteral("probabilitiesSummary"))->text(),
             QStringLiteral("The model gave 2 a probability of 61 % and 4 a probability of 30 %; the answer is drawn "
                            "from these odds, so the same text can get another rating on another run."));

    // A server without probabilities, then no server: a message, no chart.
    server.setHandler({});
    button->click();
    QTRY_VERIFY(!section->isLoading());
    QVERIFY(section->message().startsWith(QStringLiteral("This server does not send token probabilities.")));
    QVERIFY(!section->findChild<QWidget *>(QStringLiteral("probabilitiesResult"))->isVisibleTo(&window));
    prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
    button->click();
    QTRY_VERIFY(section->message().startsWith(QStringLiteral("Error: ")));
}

void TestTokenProbabilities::standinAnswersOnlyWhenAsked()
{
    const std::string prompt = SentimentClient::generateRequestBody(
        QStringLiteral("The room was lovely, but the staff were rude."), QStringLiteral("standin-sentiment")).toStdString();
    json request = json::parse(prompt);
    QVERIFY(!json::parse(StandinServer::answer("POST", "/api/generate", request.dump()).body).contains("logprobs"));

    request["logprobs"] = true;
    request["top_logprobs"] = 3;
    const json three = json::parse(StandinServer::answer("POST", "/api/generate", request.dump()).body);
    QCOMPARE(three["logprobs"][0]["top_logprobs"].size(), size_t(3));

    request["top_logprobs"] = 50;
    const auto read = TokenProbabilityText::readReply(
        QByteArray::fromStdString(StandinServer::answer("POST", "/api/generate", request.dump()).body));
    QVERIFY(read.ok());
    const auto &p = std::get<TokenProbabilities>(read.value());
    QCOMPARE(p.producedToken, QStringLiteral("2"));
    QCOMPARE(p.candidates.size(), 9);
    const Ratings expected{0.08178, 0.60430, 0.10222, 0.15126, 0.02044};
    for (int i = 0; i < 5; ++i)
        QVERIFY2(qAbs(p.ratings[size_t(i)] - expected.at(i)) < 1e-5, qPrintable(QString::number(p.ratings[size_t(i)])));
    QVERIFY(qAbs(p.otherMass() - 0.04) < 1e-9);
}

QTEST_MAIN(TestTokenProbabilities)
#include "tst_tokenprobabilities.moc"
