#include "FakeOllamaServer.h"
#include "ReplyGate.h"
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
    void summarises_data();
    void summarises();
    void showsTokensAndPercentages();
    void extraRequestLeavesTheDemoRequestAlone();
    void sectionShowsChartTableAndMessages();
    void detailsShowReasoningOnRequest();
    void standinAnswersOnlyWhenAsked();
    void thinkingModels_data();
    void thinkingModels();
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
        << reply(json::array({entry("4.", {{"4.", -0.7}, {"45", -1.7}, {"0", -2.2}, {"6", -2.7}, {"\u0664", -3.2},
                                          {"\t1\n", -3.7}})}))
        << "4." << Ratings{0.024724, 0, 0, 0, 0} << 0.975276 << 1.0;
    QTest::newRow("rounding past 1 is scaled back")
        << reply(json::array({entry("3", {{"3", -0.0001}, {" 3", -8.0}, {"4", -9.0}})}))
        << "3" << Ratings{0, 0, 0.999877, 0.000123, 0} << 0.0 << 3.000123;
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
    // Rescaling these would pass off a broken reply as a confident model.
    row("candidates far past 100 %", reply(json::array({entry("3", {{"3", -0.01}, {" 3", -0.02}, {"4", -9.0}})})),
        Problem::TooMuchProbability);
    row("one token listed twice", reply(json::array({entry("4", {{"4", -0.4}, {"4", -0.4}})})),
        Problem::TooMuchProbability);
    // A broken first entry must not hand the first position to the second.
    row("first entry without its token",
        reply(json::array({{{"logprob", -0.1}}, entry("5", {{"5", -0.1}})})), Problem::Malformed);
    row("first entry not an object", reply(json::array({42, entry("5", {{"5", -0.1}})})), Problem::Malformed);
    row("candidate without its token",
        R"({"response":"4","logprobs":[{"token":"4","top_logprobs":[{"logprob":-0.1}]}]})", Problem::Malformed);
    row("a model that kept reasoning",
        R"({"response":"","thinking":"Okay, the user","logprobs":[{"token":"Okay","top_logprobs":[]}]})",
        Problem::Reasoned);
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

void TestTokenProbabilities::summarises_data()
{
    QTest::addColumn<Ratings>("ratings");
    QTest::addColumn<QString>("produced");
    QTest::addColumn<QString>("summary");

    const QString drawn = QStringLiteral("; the answer is drawn from these odds, so the same text can get another "
                                         "rating on another run");
    QTest::newRow("sure") << Ratings{0, 0, 0, 0.95, 0.004} << "4"
                          << "The model gave 4 a probability of 95 % and the other ratings almost none: it was sure "
                             "of its answer.";
    QTest::newRow("a runner-up at 3 % is not sure")
        << Ratings{0, 0, 0.03, 0.95, 0} << "4" << "The model gave 4 a probability of 95 % and 3 a probability of 3 %"
                                                      + drawn + ".";
    QTest::newRow("90 % elsewhere is not sure")
        << Ratings{0, 0, 0, 0.1, 0} << "4"
        << "The model gave 4 a probability of 10 % and the other ratings almost none. 90 % of the probability went "
           "to tokens that are not ratings, so the answer might not have been a rating at all.";
    QTest::newRow("21 % elsewhere is said")
        << Ratings{0, 0, 0.09, 0.7, 0} << "4"
        << "The model gave 4 a probability of 70 % and 3 a probability of 9 %" + drawn
               + ". 21 % of the probability went to tokens that are not ratings, so the answer might not have been a "
                 "rating at all.";
}

void TestTokenProbabilities::summarises()
{
    QFETCH(Ratings, ratings);
    TokenProbabilities p;
    QFETCH(QString, produced);
    p.producedToken = produced;
    std::copy(ratings.cbegin(), ratings.cend(), p.ratings.begin());
    QTEST(TokenProbabilityText::summary(p), "summary");
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
    QCOMPARE(tableLogprob(-0.10536051565782628), QStringLiteral("-0.11"));
}

void TestTokenProbabilities::extraRequestLeavesTheDemoRequestAlone()
{
    // A thinking model: it reasons before the rating, and not when asked
    // for the probabilities.
    FakeOllamaServer server;
    FakeOllamaServer::Model thinker{"llama3.2:latest"};
    thinker.capabilities = std::vector<std::string>{"completion", "thinking"};
    server.setModels({thinker});
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;
    const QString text = QStringLiteral("Nice \"view\",\nawful bed");
    std::optional<Result<SentimentReading>> reading;
    std::optional<Result<TokenProbabilityReading>> probabilities;
    fetchSentimentDetails(text, "llama3.2", nullptr, [&](const auto &r) { reading = r; }, prefs.settings(), http);
    fetchTokenProbabilities(text, "llama3.2", nullptr, [&](const auto &r) { probabilities = r; }, prefs.settings(),
                            http);
    QTRY_VERIFY(reading && probabilities);
    QVERIFY(reading->value().thinking.startsWith(QStringLiteral("Okay, the user wants a rating")));
    QCOMPARE(std::get<TokenProbabilities>(probabilities->value()).producedToken, QStringLiteral("4"));
    json demo, extra;
    for (const auto &request : server.requests("/api/generate"))
        (request.body.find("logprobs") == std::string::npos ? demo : extra) = json::parse(request.body);
    QVERIFY(demo["prompt"].get<std::string>().ends_with("Text: \"Nice \"view\",\nawful bed\"\n\nRating:"));
    QVERIFY(extra["prompt"] == demo["prompt"]);
    demo.erase("prompt");
    extra.erase("prompt");
    QCOMPARE(demo.dump(), std::string(R"({"model":"llama3.2","stream":false})"));
    QCOMPARE(extra.dump(), std::string(R"({"logprobs":true,"model":"llama3.2","options":{"num_predict":8},)"
                                       R"("stream":false,"think":false,"top_logprobs":20})"));
}

void TestTokenProbabilities::sectionShowsChartTableAndMessages()
{
    FakeOllamaServer server;
    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;
    QWidget window;
    // Stands for the demo switch at the top: the next stop after the
    // section's button, wrapping round.
    auto *demoSwitch = new QPushButton(QStringLiteral("Switch"));
    int switches = 0;
    connect(demoSwitch, &QPushButton::clicked, this, [&switches] { ++switches; });
    auto *panel = new SentimentDetailsPanel;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(demoSwitch);
    layout->addWidget(panel);
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

    auto gate = ReplyGate::make();
    GateOpener opener{gate};
    server.setHandler([gate](const FakeOllamaServer::Request &) -> std::optional<FakeOllamaServer::Reply> {
        gate->wait();
        return FakeOllamaServer::Reply::json(
            reply(json::array({entry("2", {{"2", -0.5}, {" 4", -1.4}, {"4", -2.9}, {"\n", -4.6}})})).toStdString());
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTRY_COMPARE(gate->arrivals(), 1);
    // While the button is disabled the focus waits in the section, named
    // like it, and the button says what it does now.
    QCOMPARE(QApplication::focusWidget(), section);
    QCOMPARE(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name), QStringLiteral("Asking the model…"));
    gate->open();
    QTRY_VERIFY(section->probabilities().has_value());
    QCOMPARE(QApplication::focusWidget(), button);
    auto *result = section->findChild<QWidget *>(QStringLiteral("probabilitiesResult"));

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
    QCOMPARE(row, QStringList({"␣4", "-1.40", "24.7 %"}));
    QCOMPARE(table->item(1, 1)->toolTip(), QStringLiteral("-1.4"));
    const QString summary = QStringLiteral("The model gave 2 a probability of 61 % and 4 a probability of 30 %; the "
                                           "answer is drawn from these odds, so the same text can get another rating "
                                           "on another run.");
    QCOMPARE(section->findChild<QLabel *>(QStringLiteral("probabilitiesSummary"))->text(), summary);
    QCOMPARE(QAccessible::queryAccessibleInterface(result)->text(QAccessible::Name), summary);
    QCOMPARE(section->lastAnnouncement(), summary);

    // Space again asks again, from where the focus stayed; the switch is
    // never pressed. A server without probabilities, then no server: a
    // message, announced, no chart.
    server.setHandler([](const FakeOllamaServer::Request &) -> std::optional<FakeOllamaServer::Reply> {
        return FakeOllamaServer::Reply::json(reply(nullptr).toStdString());
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QTRY_VERIFY(!section->message().isEmpty());
    QCOMPARE(server.requests("/api/generate").size(), size_t(2));
    QCOMPARE(switches, 0);
    QVERIFY(section->message().startsWith(QStringLiteral("This server does not send token probabilities.")));
    QVERIFY(!result->isVisibleTo(&window));
    QCOMPARE(section->lastAnnouncement(), section->message());
    prefs.settings().setOllamaURL(QStringLiteral("http://127.0.0.1:1"));
    button->click();
    QTRY_VERIFY(section->message().startsWith(QStringLiteral("Error: ")));
    QCOMPARE(section->lastAnnouncement(), section->message());
}

void TestTokenProbabilities::detailsShowReasoningOnRequest()
{
    SentimentDetailsPanel panel;
    SentimentReading reading;
    reading.text = QStringLiteral("Lovely room");
    reading.model = QStringLiteral("qwen3");
    reading.rawResponse = QStringLiteral("4");
    reading.thinking = QStringLiteral("Okay, the user wants a rating.\nLovely is positive.");
    panel.setReading(reading);
    panel.show();
    QApplication::setActiveWindow(&panel);
    auto *section = panel.findChild<QWidget *>(QStringLiteral("detailsThinkingSection"));
    auto *box = panel.findChild<QTextEdit *>(QStringLiteral("detailsThinking"));
    QVERIFY(section->isVisible());
    QVERIFY(!box->isVisible()); // closed until asked for

    // From the prompt, Tab reaches the toggle; Space opens the reasoning,
    // plain text that the keyboard can select.
    panel.findChild<QTextEdit *>(QStringLiteral("detailsPrompt"))->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("detailsThinkingToggle"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(panel.isShowingThinking() && box->isVisible());
    QCOMPARE(box->toPlainText(), reading.thinking);
    QVERIFY(box->isReadOnly() && box->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));

    // A model that did not reason shows no such section.
    reading.thinking.clear();
    panel.setReading(reading);
    QVERIFY(!section->isVisible() && !panel.isShowingThinking());
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

void TestTokenProbabilities::thinkingModels_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("request"); // "rating", "probabilities", or "probabilities, think left out"
    QTest::addColumn<QString>("firstToken"); // of the reply's "logprobs"
    QTest::addColumn<QString>("outcome");    // the score and the reasoning, the token read, or the problem

    QTest::newRow("a thinking model reasons before its rating")
        << "standin-thinking" << "rating" << ""
        << "2 after “I weigh the positive and negative words of the text";
    QTest::newRow("a plain model does not") << "standin-sentiment" << "rating" << "" << "2 after “”";
    QTest::newRow("asked not to, it answers at once") << "standin-thinking" << "probabilities" << "2" << "2";
    QTest::newRow("without think, num_predict ends in the reasoning")
        << "standin-thinking" << "probabilities, think left out" << "<think>" << "reasoned";
}

void TestTokenProbabilities::thinkingModels()
{
    QFETCH(QString, model);
    QFETCH(QString, request);
    const QString text = QStringLiteral("The room was lovely, but the staff were rude.");
    const bool rating = request == QLatin1String("rating");
    json body = json::parse((rating ? SentimentClient::generateRequestBody(text, model)
                                    : SentimentClient::probabilitiesRequestBody(text, model))
                                .toStdString());
    if (request.endsWith(QLatin1String("left out")))
        body.erase("think");
    const auto answer = QByteArray::fromStdString(StandinServer::answer("POST", "/api/generate", body.dump()).body);

    const json replied = json::parse(answer.toStdString());
    QTEST(QString::fromStdString(replied.value("logprobs", json::array({{{"token", ""}}}))[0]["token"].get<std::string>()), "firstToken");
    QString got;
    if (const auto reading = SentimentClient::readGenerateReplyDetails(answer); rating && reading) {
        got = QStringLiteral("%1 after “%2”").arg(reading.value().score).arg(reading.value().thinking);
    } else if (const auto read = TokenProbabilityText::readReply(answer); !rating && read) {
        const auto *p = std::get_if<TokenProbabilities>(&read.value());
        got = p ? p->producedToken : std::get<Problem>(read.value()) == Problem::Reasoned ? "reasoned" : "other";
    }
    QFETCH(QString, outcome);
    QVERIFY2(got.startsWith(outcome), qPrintable(got));
}

QTEST_MAIN(TestTokenProbabilities)
#include "tst_tokenprobabilities.moc"
