#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/ClientError.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "demos/similarity/SimilarityClient.h"
#include "widgets/CircularProgressGauge.h"

#include <QApplication>
#include <QLabel>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QVBoxLayout>

#include <nlohmann/json.hpp>

#include <cmath>
#include <atomic>
#include <limits>
#include <memory>
#include <thread>

namespace {

const QString model = QStringLiteral("nomic-embed-text");
const QString first = QStringLiteral("The cat sat on the mat");
const QString second = QStringLiteral("A feline rested on the rug");

QString closedPortURL()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}

// Types as a user would; a line break is the Return key.
void typeText(QWidget *widget, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(widget, Qt::Key_Return);
        QTest::keyClicks(widget, lines.at(i));
    }
}

// A unit vector at the given cosine to (1, 0).
std::vector<double> atCosine(double cosine)
{
    return {cosine, std::sqrt(1.0 - cosine * cosine)};
}

// The screen in a window of its own, over a fake server and test settings.
struct Screen
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    OllamaService service{prefs.settings(), http};
    std::shared_ptr<std::atomic<bool>> released = std::make_shared<std::atomic<bool>>(false);
    QWidget window;
    QPointer<SentenceSimilarityView> view = new SentenceSimilarityView(service, prefs.settings(), http);

    explicit Screen(bool withModel = true)
    {
        settings().setOllamaURL(server.baseURL());
        if (withModel)
            settings().setSelectedEmbeddingModel(model);
        server.setEmbedding(first.toStdString(), {1.0, 0.0});
        server.setEmbedding(second.toStdString(), atCosine(0.7));
        (new QVBoxLayout(&window))->addWidget(view);
        window.resize(700, 640);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    ~Screen() { *released = true; }

    AppSettings &settings() { return prefs.settings(); }

    // From now on, the embed request with the given number (1 or 2) is
    // answered only once release() is called.
    void holdRequest(int number)
    {
        auto seen = std::make_shared<std::atomic<int>>(0);
        server.setHandler([released = released, seen, number](const FakeOllamaServer::Request &request)
                              -> std::optional<FakeOllamaServer::Reply> {
            if (request.path == "/api/embed" && ++*seen == number) {
                while (!*released)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return std::nullopt;
        });
    }
    void release() { *released = true; }
    size_t embedRequests() const { return server.requests("/api/embed").size(); }

    QPlainTextEdit *editor(int n) const
    {
        return view->findChild<QPlainTextEdit *>(QStringLiteral("sentence%1Editor").arg(n));
    }
    QPushButton *button() const { return view->findChild<QPushButton *>(QStringLiteral("calculateButton")); }
    CircularProgressGauge *gauge() const
    {
        return view->findChild<CircularProgressGauge *>(QStringLiteral("similarityGauge"));
    }
    QLabel *label(const char *name) const { return view->findChild<QLabel *>(QString::fromLatin1(name)); }
    bool shows(const char *name) const
    {
        return view->findChild<QWidget *>(QString::fromLatin1(name))->isVisibleTo(view);
    }
    // What the gauge draws in its centre.
    QString gaugeText() const { return CircularProgressGauge::percentageText(gauge()->progress()); }

    void enter(const QString &one, const QString &two)
    {
        typeText(editor(1), one);
        typeText(editor(2), two);
    }
    bool showResult(const QString &one = first, const QString &two = second)
    {
        enter(one, two);
        QTest::mouseClick(button(), Qt::LeftButton);
        return QTest::qWaitFor([this] { return !view->isCalculating(); });
    }
};

} // namespace

class TestSentenceSimilarityView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idleScreenFollowsSentencesAndModel_data();
    void idleScreenFollowsSentencesAndModel();
    void sendsTrimmedSentencesInOrder();
    void gaugeAndDescriptionForResult_data();
    void gaugeAndDescriptionForResult();
    void failureReplacesResultWithErrorLine();
    void nonFiniteEmbeddingIsAnErrorNotAFullGauge();
    void warningFollowsSettingsLive();
    void pressingAgainShowsBusyThenNewResult();
    void actionStartsNothingWithoutModelOrText_data();
    void actionStartsNothingWithoutModelOrText();
    void ctrlReturnFiresOnlyWhenEnabled_data();
    void ctrlReturnFiresOnlyWhenEnabled();
    void tabMovesThroughEditorsToButton();
    void lateReplyAfterScreenIsGoneIsDropped_data();
    void lateReplyAfterScreenIsGoneIsDropped();
    void clampedSimilarity_data();
    void clampedSimilarity();
};

void TestSentenceSimilarityView::idleScreenFollowsSentencesAndModel_data()
{
    QTest::addColumn<QString>("one");
    QTest::addColumn<QString>("two");
    QTest::addColumn<bool>("withModel");
    QTest::addColumn<bool>("hint1");
    QTest::addColumn<bool>("hint2");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("fresh") << QString() << QString() << true << true << true << false;
    QTest::newRow("fresh, no model") << QString() << QString() << false << true << true << false;
    QTest::newRow("a space in the first") << QStringLiteral(" ") << QString() << true << false << true << false;
    QTest::newRow("first only") << first << QString() << true << false << true << false;
    QTest::newRow("second blank") << first << QStringLiteral(" \n ") << true << false << false << false;
    QTest::newRow("both") << first << second << true << false << false << true;
    QTest::newRow("both padded") << QStringLiteral("  a\n") << QStringLiteral(" b ") << true << false << false << true;
    QTest::newRow("both, no model") << first << second << false << false << false << false;
}

void TestSentenceSimilarityView::idleScreenFollowsSentencesAndModel()
{
    QFETCH(QString, one);
    QFETCH(QString, two);
    QFETCH(bool, withModel);
    QFETCH(bool, hint1);
    QFETCH(bool, hint2);
    QFETCH(bool, enabled);
    Screen s(withModel);
    s.enter(one, two);
    QCOMPARE(s.view->sentence1(), one);
    QCOMPARE(s.view->sentence2(), two);
    QCOMPARE(s.shows("sentence1Hint"), hint1);
    QCOMPARE(s.shows("sentence2Hint"), hint2);
    QCOMPARE(s.button()->isEnabled(), enabled);
    QCOMPARE(s.button()->text(), QStringLiteral("Calculate Similarity"));
    QVERIFY(!s.shows("busyIndicator"));
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(!s.shows("errorLabel"));
    QCOMPARE(s.shows("warningCard"), !withModel);
}

void TestSentenceSimilarityView::sendsTrimmedSentencesInOrder()
{
    Screen s;
    const QString typed1 = QStringLiteral("  ") + first + QStringLiteral("\n");
    const QString typed2 = second + QStringLiteral("   ");
    QVERIFY(s.showResult(typed1, typed2));
    QVERIFY(s.view->hasCalculated());

    const auto requests = s.server.requests("/api/embed");
    QCOMPARE(requests.size(), size_t(2));
    const QStringList expected{first, second};
    for (size_t i = 0; i < requests.size(); ++i) {
        const auto body = nlohmann::json::parse(requests[i].body);
        QCOMPARE(body.size(), size_t(2));
        QCOMPARE(QString::fromStdString(body["model"].get<std::string>()), model);
        QCOMPARE(QString::fromStdString(body["input"].get<std::string>()), expected.at(qsizetype(i)));
    }
    QCOMPARE(s.editor(1)->toPlainText(), typed1);
    QCOMPARE(s.editor(2)->toPlainText(), typed2);
}

void TestSentenceSimilarityView::gaugeAndDescriptionForResult_data()
{
    QTest::addColumn<std::vector<double>>("vector1");
    QTest::addColumn<std::vector<double>>("vector2");
    QTest::addColumn<QString>("gaugeText");
    QTest::addColumn<QString>("description");
    QTest::newRow("0.7") << std::vector<double>{1, 0} << atCosine(0.7) << QStringLiteral("70%")
                         << QStringLiteral("These sentences are quite similar.");
    // The gauge rounds 89.7 to 90; the description truncates it to 89.
    QTest::newRow("89.7 percent") << std::vector<double>{1, 0} << atCosine(0.897) << QStringLiteral("90%")
                                  << QStringLiteral("These sentences are quite similar.");
    QTest::newRow("identical") << std::vector<double>{0.3, 0.5, 0.81} << std::vector<double>{0.3, 0.5, 0.81}
                               << QStringLiteral("100%")
                               << QStringLiteral("These sentences are nearly identical in meaning.");
    QTest::newRow("negative") << std::vector<double>{1, 0} << atCosine(-0.4) << QStringLiteral("0%")
                              << QStringLiteral("These sentences are quite different.");
    QTest::newRow("orthogonal") << std::vector<double>{1, 0} << std::vector<double>{0, 1} << QStringLiteral("0%")
                                << QStringLiteral("These sentences are quite different.");
}

void TestSentenceSimilarityView::gaugeAndDescriptionForResult()
{
    QFETCH(std::vector<double>, vector1);
    QFETCH(std::vector<double>, vector2);
    QFETCH(QString, gaugeText);
    QFETCH(QString, description);
    Screen s;
    s.server.setEmbedding("one", vector1);
    s.server.setEmbedding("two", vector2);
    QVERIFY(s.showResult(QStringLiteral("one"), QStringLiteral("two")));

    QVERIFY(s.view->similarity() >= 0.0f && s.view->similarity() <= 1.0f);
    QVERIFY(s.shows("resultCard"));
    QCOMPARE(s.gauge()->progress(), s.view->similarity());
    QCOMPARE(s.gaugeText(), gaugeText);
    QCOMPARE(s.gauge()->accessibleName(), QStringLiteral("Similarity %1 percent").arg(gaugeText.chopped(1)));
    QCOMPARE(s.label("similarityDescriptionLabel")->text(), description);
}

void TestSentenceSimilarityView::failureReplacesResultWithErrorLine()
{
    Screen s;
    QVERIFY(s.showResult());
    const float previous = s.view->similarity();

    s.settings().setOllamaURL(closedPortURL());
    // What the client itself reports for this failure.
    std::optional<Result<float>> direct;
    QObject context;
    computeSimilarity(first, second, model, &context, [&](const Result<float> &r) { direct = r; }, s.settings(),
                      s.http);
    QTRY_VERIFY(direct.has_value() && !direct->ok());

    QTest::mouseClick(s.button(), Qt::LeftButton);
    QTRY_VERIFY(!s.view->isCalculating());
    const QString expected = QStringLiteral("Error: ") + direct->error().description;
    QCOMPARE(s.view->errorMessage(), std::optional<QString>(expected));
    QVERIFY(s.shows("errorLabel"));
    QCOMPARE(s.label("errorLabel")->text(), expected);
    QVERIFY(!s.view->hasCalculated());
    QVERIFY(!s.shows("resultCard"));
    QCOMPARE(s.view->similarity(), previous);
}

void TestSentenceSimilarityView::nonFiniteEmbeddingIsAnErrorNotAFullGauge()
{
    Screen s;
    // 1e39 is beyond the range of a 32-bit float.
    s.server.setEmbedding(second.toStdString(), {1e39, 0.0});
    QVERIFY(s.showResult());
    QCOMPARE(s.view->errorMessage(),
             std::optional<QString>(QStringLiteral("Error: ") + ClientError::invalidResponse().description));
    QVERIFY(s.shows("errorLabel"));
    QVERIFY(!s.view->hasCalculated());
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(s.gaugeText() != QStringLiteral("100%"));
}

void TestSentenceSimilarityView::warningFollowsSettingsLive()
{
    Screen s;
    QVERIFY(s.showResult());
    QVERIFY(!s.shows("warningCard"));

    s.settings().setSelectedEmbeddingModel(std::nullopt);
    QVERIFY(s.shows("warningCard"));
    QCOMPARE(s.label("warningTitleLabel")->text(), QStringLiteral("No embedding model selected"));
    QCOMPARE(s.label("warningTextLabel")->text(),
             QStringLiteral("Please select an embedding model in Settings to use this demo."));
    QVERIFY(s.shows("resultCard"));
    QVERIFY(!s.button()->isEnabled());

    // An empty name counts as a selection.
    s.settings().setSelectedEmbeddingModel(QString(""));
    QVERIFY(!s.shows("warningCard"));
    QVERIFY(s.shows("resultCard"));
    QVERIFY(s.button()->isEnabled());
}

void TestSentenceSimilarityView::pressingAgainShowsBusyThenNewResult()
{
    Screen s;
    QVERIFY(s.showResult());
    s.server.setEmbedding(second.toStdString(), {1.0, 0.0});
    s.holdRequest(2);
    QTest::mouseClick(s.button(), Qt::LeftButton);

    // The old card goes at once; the button turns busy.
    QVERIFY(s.view->isCalculating());
    QVERIFY(!s.view->hasCalculated());
    QVERIFY(!s.shows("resultCard"));
    QVERIFY(s.shows("busyIndicator"));
    QCOMPARE(s.button()->text(), QStringLiteral("Calculating..."));
    QVERIFY(!s.button()->isEnabled());
    QTRY_COMPARE(s.embedRequests(), size_t(4));
    QVERIFY(s.view->isCalculating());

    s.release();
    QTRY_VERIFY(!s.view->isCalculating());
    QVERIFY(s.shows("resultCard"));
    QCOMPARE(s.gaugeText(), QStringLiteral("100%"));
    QVERIFY(!s.shows("busyIndicator"));
    QCOMPARE(s.button()->text(), QStringLiteral("Calculate Similarity"));
    QVERIFY(s.button()->isEnabled());
}

void TestSentenceSimilarityView::actionStartsNothingWithoutModelOrText_data()
{
    QTest::addColumn<bool>("clearModel");
    QTest::addColumn<QString>("two");
    QTest::addColumn<std::optional<QString>>("error");
    QTest::newRow("no model") << true << second
                              << std::optional<QString>(QStringLiteral("Please select an embedding model in Settings"));
    QTest::newRow("blank second sentence") << false << QStringLiteral(" \n ") << std::optional<QString>();
}

void TestSentenceSimilarityView::actionStartsNothingWithoutModelOrText()
{
    QFETCH(bool, clearModel);
    QFETCH(QString, two);
    QFETCH(std::optional<QString>, error);
    Screen s;
    QVERIFY(s.showResult());
    if (clearModel)
        s.settings().setSelectedEmbeddingModel(std::nullopt);
    s.editor(2)->clear();
    typeText(s.editor(2), two);

    s.view->calculateSimilarity();
    QCOMPARE(s.view->errorMessage(), error);
    QCOMPARE(s.shows("errorLabel"), error.has_value());
    QCOMPARE(s.label("errorLabel")->text(), error.value_or(QString()));
    // Whatever was shown stays.
    QVERIFY(!s.view->isCalculating());
    QVERIFY(s.view->hasCalculated());
    QVERIFY(s.shows("resultCard"));
    QCOMPARE(s.embedRequests(), size_t(2));
}

void TestSentenceSimilarityView::ctrlReturnFiresOnlyWhenEnabled_data()
{
    QTest::addColumn<QString>("two");
    QTest::addColumn<bool>("withModel");
    QTest::addColumn<bool>("alreadyBusy");
    QTest::addColumn<bool>("fires");
    QTest::newRow("both sentences and model") << second << true << false << true;
    QTest::newRow("second blank") << QStringLiteral("  ") << true << false << false;
    QTest::newRow("no model") << second << false << false << false;
    QTest::newRow("busy") << second << true << true << false;
}

void TestSentenceSimilarityView::ctrlReturnFiresOnlyWhenEnabled()
{
    QFETCH(QString, two);
    QFETCH(bool, withModel);
    QFETCH(bool, alreadyBusy);
    QFETCH(bool, fires);
    Screen s(withModel);
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.holdRequest(1);
    s.enter(first, two);
    s.editor(2)->setFocus();
    if (alreadyBusy) {
        QTest::keyClick(s.editor(2), Qt::Key_Return, Qt::ControlModifier);
        QVERIFY(s.view->isCalculating());
        QTRY_COMPARE(s.embedRequests(), size_t(1));
    }

    QTest::keyClick(s.editor(2), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(s.view->isCalculating(), fires || alreadyBusy);
    QVERIFY(!s.view->errorMessage());
    QCOMPARE(s.editor(2)->toPlainText(), two);

    s.release();
    QTRY_VERIFY(!s.view->isCalculating());
    QCOMPARE(s.embedRequests(), size_t(fires || alreadyBusy ? 2 : 0));
}

void TestSentenceSimilarityView::tabMovesThroughEditorsToButton()
{
    Screen s;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.editor(1)->setFocus();
    QTest::keyClicks(s.editor(1), first);
    QTest::keyClick(s.editor(1), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.editor(2));
    QTest::keyClicks(s.editor(2), second);
    QTest::keyClick(s.editor(2), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.button());
    QCOMPARE(s.view->sentence1(), first);
    QCOMPARE(s.view->sentence2(), second);
    QCOMPARE(s.editor(1)->accessibleName(), QStringLiteral("First Sentence:"));
    QCOMPARE(s.editor(2)->accessibleName(), QStringLiteral("Second Sentence:"));
}

void TestSentenceSimilarityView::lateReplyAfterScreenIsGoneIsDropped_data()
{
    QTest::addColumn<int>("heldRequest");
    QTest::addColumn<size_t>("requestsSent");
    // Gone during the first request: the second is still sent.
    QTest::newRow("first request") << 1 << size_t(2);
    QTest::newRow("second request") << 2 << size_t(2);
}

void TestSentenceSimilarityView::lateReplyAfterScreenIsGoneIsDropped()
{
    QFETCH(int, heldRequest);
    QFETCH(size_t, requestsSent);
    Screen s;
    s.holdRequest(heldRequest);
    s.enter(first, second);
    QTest::mouseClick(s.button(), Qt::LeftButton);
    QTRY_COMPARE(s.embedRequests(), size_t(heldRequest));

    delete s.view.data();
    QVERIFY(s.view.isNull());
    s.release();
    QTRY_VERIFY(s.http.findChildren<QNetworkReply *>().isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(s.embedRequests(), requestsSent);
}

void TestSentenceSimilarityView::clampedSimilarity_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<std::optional<float>>("stored");
    QTest::newRow("inside") << 0.7f << std::optional<float>(0.7f);
    QTest::newRow("just above 1") << std::nextafter(1.0f, 2.0f) << std::optional<float>(1.0f);
    QTest::newRow("negative") << -0.4f << std::optional<float>(0.0f);
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << std::optional<float>();
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << std::optional<float>();
}

void TestSentenceSimilarityView::clampedSimilarity()
{
    QFETCH(float, value);
    QFETCH(std::optional<float>, stored);
    QCOMPARE(SentenceSimilarityView::clampedSimilarity(value), stored);
}

QTEST_MAIN(TestSentenceSimilarityView)
#include "tst_sentencesimilarityview.moc"
