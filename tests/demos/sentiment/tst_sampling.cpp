#include "FakeOllamaServer.h"
#include "StandinServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/sentiment/SamplingLab.h"
#include "demos/sentiment/SamplingMath.h"
#include "demos/sentiment/SentimentClient.h"
#include "demos/sentiment/SentimentDetailsPanel.h"
#include "demos/sentiment/TokenProbabilitiesSection.h"
#include "history/SessionHistory.h"

#include <QAccessible>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

#include <atomic>
#include <cmath>
#include <set>

using nlohmann::json;
using Odds = QList<double>; // ratings 1 to 5, then no rating
using Candidates = QList<QPair<QString, double>>;

namespace {

// The worked example: the server listed these six for the rating's token.
const Candidates worked{{"4", 0.78}, {"5", 0.12}, {"3", 0.05}, {" 4", 0.03}, {"\n", 0.01}, {"2", 0.01}};

QList<TokenCandidate> candidates(const Candidates &pairs)
{
    QList<TokenCandidate> list;
    for (const auto &[token, p] : pairs)
        list.append({token, std::log(p)});
    return list;
}

QStringList childNames(QWidget *widget)
{
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(widget);
    QStringList names;
    for (int i = 0; i < chart->childCount(); ++i)
        names << chart->child(i)->text(QAccessible::Name);
    return names;
}

// A generate reply whose answer is `response`, with the worked example's
// candidates when asked for probabilities.
FakeOllamaServer::Reply generateReply(const std::string &response, bool withCandidates)
{
    json body = {{"model", "llama3.2"}, {"response", response}, {"done", true}};
    if (withCandidates) {
        json top = json::array();
        for (const auto &[token, p] : worked)
            top.push_back({{"token", token.toStdString()}, {"logprob", std::log(p)}});
        body["logprobs"] = json::array({{{"token", "4"}, {"logprob", std::log(0.78)}, {"top_logprobs", top}}});
    }
    return FakeOllamaServer::Reply::json(body.dump());
}

} // namespace

class TestSampling : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appliesTheRule_data();
    void appliesTheRule();
    void startsFromTheModel_data();
    void startsFromTheModel();
    void asksManyTimes();
    void standinDrawsFromItsOdds();
};

void TestSampling::appliesTheRule_data()
{
    QTest::addColumn<Candidates>("listed");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<int>("topK"); // 0: off
    QTest::addColumn<double>("topP");
    QTest::addColumn<Odds>("odds");
    QTest::addColumn<int>("kept");

    QTest::newRow("worked, temperature 1") << worked << 1.0 << 0 << 1.0 << Odds{0, 0.01, 0.05, 0.81, 0.12, 0.01} << 6;
    QTest::newRow("worked, temperature 2")
        << worked << 2.0 << 0 << 1.0 << Odds{0, 0.05475, 0.12243, 0.5784, 0.18967, 0.05475} << 6;
    QTest::newRow("worked, temperature 0.5")
        << worked << 0.5 << 0 << 1.0 << Odds{0, 0.00016, 0.00399, 0.9727, 0.02299, 0.00016} << 6;
    QTest::newRow("lowest temperature takes the top") << worked << 0.05 << 0 << 1.0 << Odds{0, 0, 0, 1, 0, 0} << 6;
    QTest::newRow("temperature below its range is clamped") << worked << 0.0 << 0 << 1.0 << Odds{0, 0, 0, 1, 0, 0} << 6;
    QTest::newRow("top-k 1") << worked << 2.0 << 1 << 1.0 << Odds{0, 0, 0, 1, 0, 0} << 1;
    QTest::newRow("top-k 2 renormalises") << worked << 1.0 << 2 << 1.0 << Odds{0, 0, 0, 0.86667, 0.13333, 0} << 2;
    QTest::newRow("top-k above 20 keeps all")
        << worked << 1.0 << 40 << 1.0 << Odds{0, 0.01, 0.05, 0.81, 0.12, 0.01} << 6;
    QTest::newRow("top-p keeps one") << worked << 1.5 << 0 << 0.5 << Odds{0, 0, 0, 1, 0, 0} << 1;
    // 0.78 + 0.12 reaches 0.9 exactly, whatever the rounding.
    QTest::newRow("top-p reached exactly") << worked << 1.0 << 0 << 0.9 << Odds{0, 0, 0, 0.86667, 0.13333, 0} << 2;
    QTest::newRow("top-p after top-k")
        << worked << 1.0 << 3 << 0.95 << Odds{0, 0, 0.05263, 0.82105, 0.12632, 0} << 3;
    QTest::newRow("no rating among them")
        << Candidates{{"Sure", 0.6}, {"The", 0.3}} << 1.0 << 0 << 1.0 << Odds{0, 0, 0, 0, 0, 1} << 2;
    QTest::newRow("nothing listed") << Candidates{} << 1.0 << 0 << 1.0 << Odds{0, 0, 0, 0, 0, 0} << 0;
}

void TestSampling::appliesTheRule()
{
    QFETCH(Candidates, listed);
    QFETCH(int, topK);
    QFETCH(double, temperature);
    QFETCH(double, topP);
    QFETCH(Odds, odds);
    const SamplingSettings settings{temperature, topK > 0 ? std::optional<int>(topK) : std::nullopt, topP};
    const SampledOdds result = SamplingMath::apply(candidates(listed), settings);
    for (int i = 0; i < 5; ++i)
        QVERIFY2(qAbs(result.ratings[size_t(i)] - odds.at(i)) < 1e-4, qPrintable(QString::number(result.ratings[size_t(i)])));
    QVERIFY(qAbs(result.noRating - odds.at(5)) < 1e-4);
    QTEST(int(result.kept.size()), "kept");
    // The rule written out names the top rating's share as the chart shows it.
    const QString text = SamplingText::arithmetic(result, settings);
    if (const auto top = result.topRating())
        QVERIFY2(text.endsWith(TokenProbabilityText::percent(result.ratings[size_t(*top - 1)]) + u'.'), qPrintable(text));
    else
        QVERIFY(text.startsWith(QStringLiteral("No candidate")));
}

void TestSampling::startsFromTheModel_data()
{
    QTest::addColumn<QString>("parameters"); // "-": no parameters member
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("sentence");

    QTest::newRow("no parameters") << "-" << "temperature 0.80, top-k 40, top-p 0.90"
                                   << "Starting from the server's defaults (temperature 0.80, top-k 40, top-p 0.90): "
                                      "the model lists no settings of its own. A top-k of 40 keeps every listed "
                                      "candidate, the same as off.";
    QTest::newRow("all three, among others")
        << "stop                           \"<|eot_id|>\"\ntemperature                    0.6\ntop_k   20\ntop_p 0.95"
        << "temperature 0.60, top-k 20, top-p 0.95" << "Starting from the model's own settings: temperature 0.60, "
                                                        "top-k 20, top-p 0.95.";
    QTest::newRow("temperature only; unreadable top-p")
        << "temperature 1.2\ntop_p warm\ntop_k 2.5"
        << "temperature 1.20, top-k 40, top-p 0.90"
        << "Starting from the model's own temperature and the server's default top-k and top-p: temperature 1.20, "
           "top-k 40, top-p 0.90. A top-k of 40 keeps every listed candidate, the same as off.";
}

void TestSampling::startsFromTheModel()
{
    QFETCH(QString, parameters);
    const SamplingStart start =
        SamplingMath::startFrom(parameters == u"-" ? std::nullopt : std::optional<QString>(parameters));
    QTEST(SamplingText::settingsLine(start.settings), "start");
    QTEST(SamplingText::startSentence(start), "sentence");
}

void TestSampling::asksManyTimes()
{
    FakeOllamaServer server;
    server.setModels({{.name = "llama3.2"}});
    server.setRoute("POST", "/api/show",
                    FakeOllamaServer::Reply::json(R"({"parameters":"temperature 0.6\ntop_k 20","details":{}})"));
    // Sampled requests get these answers in turn; the probabilities request
    // gets the worked example.
    const std::vector<std::string> answers{"4", "4", "5", "4", "Sure", "4", " 4", "3", "4", "4"};
    std::atomic<int> sampled = 0;
    std::atomic<int> failAt = -1;
    std::atomic<bool> stall = false;
    server.setHandler([&](const FakeOllamaServer::Request &request) -> std::optional<FakeOllamaServer::Reply> {
        if (request.path != "/api/generate")
            return std::nullopt;
        const json body = json::parse(request.body);
        if (body.contains("logprobs"))
            return generateReply("4", true);
        const int n = sampled++;
        if (stall) {
            FakeOllamaServer::Reply reply;
            reply.stall = true;
            return reply;
        }
        if (n == failAt)
            return FakeOllamaServer::Reply::error(500, "model runner has unexpectedly stopped");
        return generateReply(answers[size_t(n) % answers.size()], false);
    });

    TestSettings prefs;
    prefs.settings().setOllamaURL(server.baseURL());
    HttpClient http;
    http.setMaxConnectionsPerHost(1);
    SessionHistory history;
    QWidget window;
    auto *panel = new SentimentDetailsPanel;
    (new QVBoxLayout(&window))->addWidget(panel);
    TokenProbabilitiesSection *section = panel->probabilitiesSection();
    section->setServices(prefs.settings(), http);
    SamplingLab *lab = section->samplingLab();
    lab->setHistory(&history);
    SentimentReading reading;
    reading.text = QStringLiteral("Lovely room, rude staff");
    reading.model = QStringLiteral("llama3.2");
    panel->setReading(reading);
    window.show();

    section->findChild<QPushButton *>(QStringLiteral("probabilitiesButton"))->click();
    QTRY_VERIFY(section->probabilities().has_value());
    // The model's own temperature and top-k, the server's top-p.
    QTRY_COMPARE(lab->sampling(), (SamplingSettings{0.6, 20, 0.9}));

    // Typed settings redraw the odds without a request.
    const size_t before = server.requestCount();
    lab->findChild<QDoubleSpinBox *>(QStringLiteral("samplingTemperature"))->setValue(2.0);
    lab->findChild<QSpinBox *>(QStringLiteral("samplingTopK"))->setValue(0);
    lab->findChild<QDoubleSpinBox *>(QStringLiteral("samplingTopP"))->setValue(1.0);
    QCOMPARE(server.requestCount(), before);
    auto *oddsChart = lab->findChild<QWidget *>(QStringLiteral("samplingOddsChart"));
    QCOMPARE(childNames(oddsChart).at(3), QStringLiteral("Rating 4 with these settings: 58 percent"));

    auto *ask = lab->findChild<QPushButton *>(QStringLiteral("samplingAskButton"));
    QCOMPARE(ask->text(), QStringLiteral("Ask 10 Times"));
    ask->click();
    QTRY_VERIFY(!lab->run()->isRunning());

    // Ten requests: the demo's prompt and model, no thinking, the settings,
    // a short answer and a seed of their own.
    const auto requests = server.requests("/api/generate");
    const json demo = json::parse(SentimentClient::generateRequestBody(reading.text, reading.model).toStdString());
    std::set<std::uint64_t> seeds;
    int count = 0;
    for (const auto &request : requests) {
        json body = json::parse(request.body);
        if (body.contains("logprobs"))
            continue;
        ++count;
        seeds.insert(body["options"]["seed"].get<std::uint64_t>());
        body["options"].erase("seed");
        QCOMPARE(body["options"].dump(), std::string(R"({"num_predict":8,"temperature":2.0,"top_p":1.0})"));
        QVERIFY(body["think"] == false);
        QVERIFY(body["prompt"] == demo["prompt"]);
        QVERIFY(body["model"] == demo["model"]);
    }
    QCOMPARE(count, 10);
    QCOMPARE(seeds.size(), size_t(10));

    auto *answersChart = lab->findChild<QWidget *>(QStringLiteral("samplingAnswersChart"));
    QCOMPARE(childNames(answersChart),
             QStringList({"Rating 1: 0 of 10", "Rating 2: 0 of 10", "Rating 3: 1 of 10", "Rating 4: 7 of 10",
                          "Rating 5: 1 of 10", "No number: 1 of 10"}));
    QCOMPARE(lab->findChild<QLabel *>(QStringLiteral("samplingAnswersSummary"))->text(),
             QStringLiteral("7 of 10 answers were 4; the odds said 58 %."));
    // One history entry for the run.
    QCOMPARE(history.size(), 1);
    QCOMPARE(history.entries().first().result,
             QStringLiteral("Asked 10 times with temperature 2.00, top-k off, top-p 1.00: 3 ×1, 4 ×7, 5 ×1, no number ×1"));

    // A failure ends the run with an error line; the answers before it stay.
    sampled = 0;
    failAt = 2;
    lab->findChild<QSpinBox *>(QStringLiteral("samplingTopK"))->setValue(5);
    ask->click();
    QTRY_VERIFY(!lab->run()->isRunning());
    QVERIFY(lab->run()->error().startsWith(QStringLiteral("Error: ")));
    QCOMPARE(childNames(answersChart).at(3), QStringLiteral("Rating 4: 2 of 2"));
    QCOMPARE(history.size(), 2);
    QVERIFY(history.entries().first().isFailure());
    QVERIFY(json::parse(server.requests("/api/generate").back().body)["options"]["top_k"] == 5);

    // Stop: the request in flight is dropped and no other is sent.
    stall = true;
    const int sent = sampled;
    ask->click();
    QTRY_COMPARE(int(sampled), sent + 1);
    lab->findChild<QPushButton *>(QStringLiteral("samplingStopButton"))->click();
    QVERIFY(!lab->run()->isRunning());
    server.releaseStalled();
    // With one connection, a later request ends only after the stalled one
    // has been handled.
    bool probed = false;
    http.get(QUrl(server.baseURL() + QStringLiteral("/api/tags")), nullptr, [&](const auto &) { probed = true; });
    QTRY_VERIFY(probed);
    QCOMPARE(int(sampled), sent + 1);
    QVERIFY(lab->run()->error().isEmpty());
    QCOMPARE(lab->findChild<QLabel *>(QStringLiteral("samplingProgress"))->text(), QStringLiteral("Stopped at 0 of 10"));
    QCOMPARE(history.size(), 2);
}

void TestSampling::standinDrawsFromItsOdds()
{
    json request = json::parse(SentimentClient::generateRequestBody(
        QStringLiteral("The room was lovely, but the staff were rude."), QStringLiteral("standin-sentiment")).toStdString());
    const auto answer = [&](const json &options) {
        request["options"] = options;
        return json::parse(StandinServer::answer("POST", "/api/generate", request.dump()).body)["response"]
            .get<std::string>();
    };
    // Without sampling options the stand-in keeps its single answer.
    QCOMPARE(answer(json::object({{"num_predict", 8}})), std::string("2"));
    std::set<std::string> hot;
    for (int seed = 0; seed < 40; ++seed) {
        const json options = {{"temperature", 2.0}, {"top_p", 1.0}, {"seed", seed}};
        const std::string drawn = answer(options);
        QCOMPARE(answer(options), drawn); // the same seed, the same answer
        hot.insert(drawn);
        QCOMPARE(answer({{"temperature", 0.05}, {"seed", seed}}), std::string("2"));
        QCOMPARE(answer({{"temperature", 2.0}, {"top_k", 1}, {"seed", seed}}), std::string("2"));
    }
    QVERIFY2(hot.size() >= 4, "a high temperature should bring up other answers");
}

QTEST_MAIN(TestSampling)
#include "tst_sampling.moc"
