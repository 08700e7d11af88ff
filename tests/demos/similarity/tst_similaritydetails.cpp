#include "FakeOllamaServer.h"
#include "TestSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "demos/similarity/SimilarityDetailsPanel.h"
#include "demos/similarity/VectorStripView.h"
#include "history/SessionHistory.h"
#include "widgets/CircularProgressGauge.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <atomic>
#include <memory>
#include <thread>

namespace {

const QString model = QStringLiteral("nomic-embed-text");

QString closedPortURL()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return QStringLiteral("http://127.0.0.1:%1").arg(probe.serverPort());
}

// The screen in an active window of its own, over a fake server, test
// settings and a history of its own.
struct Screen
{
    FakeOllamaServer server;
    TestSettings prefs;
    HttpClient http;
    OllamaService service{prefs.settings(), http};
    SessionHistory history;
    std::shared_ptr<std::atomic<bool>> released = std::make_shared<std::atomic<bool>>(false);
    QWidget window;
    QPointer<SentenceSimilarityView> view = new SentenceSimilarityView(service, prefs.settings(), http);

    Screen()
    {
        prefs.settings().setOllamaURL(server.baseURL());
        prefs.settings().setSelectedEmbeddingModel(model);
        view->setHistory(&history);
        (new QVBoxLayout(&window))->addWidget(view);
        window.resize(700, 640);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    ~Screen() { *released = true; }

    // From now on, the second embed request waits for release().
    void holdSecondRequest()
    {
        *released = false;
        auto seen = std::make_shared<std::atomic<int>>(0);
        server.setHandler([released = released, seen](const FakeOllamaServer::Request &request)
                              -> std::optional<FakeOllamaServer::Reply> {
            if (request.path == "/api/embed" && ++*seen == 2) {
                while (!*released)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return std::nullopt;
        });
    }
    void release() { *released = true; }

    QPushButton *button() const { return view->findChild<QPushButton *>(QStringLiteral("calculateButton")); }
    QToolButton *toggle() const { return view->findChild<QToolButton *>(QStringLiteral("detailsToggle")); }
    SimilarityDetailsPanel *panel() const { return view->findChild<SimilarityDetailsPanel *>(); }
    QString text(const char *name) const { return panel()->findChild<QLabel *>(QString::fromLatin1(name))->text(); }
    bool shows(QWidget *widget) const { return widget->isVisibleTo(view); }
    QString gaugeText() const
    {
        return CircularProgressGauge::percentageText(
            view->findChild<CircularProgressGauge *>(QStringLiteral("similarityGauge"))->progress());
    }

    bool calculate(const QString &one, const QString &two)
    {
        view->setSentences(one, two);
        QTest::mouseClick(button(), Qt::LeftButton);
        return QTest::qWaitFor([this] { return !view->isCalculating(); });
    }
};

} // namespace

class TestSimilarityDetails : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offeredOnlyWithAResult_data();
    void offeredOnlyWithAResult();
    void panelShowsTheArithmetic_data();
    void panelShowsTheArithmetic();
    void keyboardReachesToggle();
    void historyGetsEveryEndedCalculation();
};

void TestSimilarityDetails::offeredOnlyWithAResult_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("offered");
    QTest::newRow("fresh") << "fresh" << false;
    QTest::newRow("calculating") << "calculating" << false;
    QTest::newRow("failed") << "failed" << false;
    QTest::newRow("result") << "result" << true;
}

void TestSimilarityDetails::offeredOnlyWithAResult()
{
    QFETCH(QString, state);
    QFETCH(bool, offered);
    Screen s;
    s.server.setEmbedding("a", {1, 0});
    s.server.setEmbedding("b", {1, 1});
    s.view->setShowingDetails(true);
    if (state == QLatin1String("calculating")) {
        s.holdSecondRequest();
        s.view->setSentences(QStringLiteral("a"), QStringLiteral("b"));
        s.view->calculateSimilarity();
        QTRY_COMPARE(s.server.requests("/api/embed").size(), size_t(2));
        QVERIFY(s.view->isCalculating());
    } else if (state == QLatin1String("failed")) {
        s.prefs.settings().setOllamaURL(closedPortURL());
        QVERIFY(s.calculate(QStringLiteral("a"), QStringLiteral("b")));
        QVERIFY(s.view->errorMessage());
    } else if (state == QLatin1String("result")) {
        QVERIFY(s.calculate(QStringLiteral("a"), QStringLiteral("b")));
    }

    QCOMPARE(s.view->reading().has_value(), offered);
    QCOMPARE(s.shows(s.toggle()), offered);
    QCOMPARE(s.shows(s.panel()), offered);
    s.release();
    QTRY_VERIFY(!s.view->isCalculating());
    // Still open after the calculation that was held ends.
    QVERIFY(s.view->isShowingDetails());
}

void TestSimilarityDetails::panelShowsTheArithmetic_data()
{
    QTest::addColumn<std::vector<double>>("a");
    QTest::addColumn<std::vector<double>>("b");
    QTest::addColumn<QStringList>("lines"); // dims a, components a, |a|, |b|, dot, cosine, clamped
    QTest::addColumn<QString>("truncated");
    QTest::addColumn<QString>("gauge");
    QTest::addColumn<QString>("guard");

    QTest::newRow("known pair")
        << std::vector<double>{1, 2, 2} << std::vector<double>{2, 1, 2}
        << QStringList{"3 dimensions", "1, 2, 2", "3", "3", "8", "0.8888889", "0.8888889"}
        << "88 → These sentences are quite similar." << "89%" << QString();
    QTest::newRow("opposite, clamped to 0")
        << std::vector<double>{1, 0} << std::vector<double>{-1, 0}
        << QStringList{"2 dimensions", "1, 0", "1", "1", "-1", "-1", "0"}
        << "0 → These sentences are quite different." << "0%" << QString();
    QTest::newRow("lengths differ")
        << std::vector<double>{3, 4} << std::vector<double>{1, 2, 2}
        << QStringList{"2 dimensions", "3, 4", "5", "3", "not taken", "0", "0"}
        << "0 → These sentences are quite different." << "0%"
        << "The vectors have different lengths (2 and 3), so they cannot be compared and the cosine is taken as 0.";
    QTest::newRow("long vectors")
        << std::vector<double>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1} << std::vector<double>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}
        << QStringList{"10 dimensions", "1, 1, 1, 1, 1, 1, 1, 1, …", "3.1622777", "3.1622777", "10", "1", "1"}
        << "100 → These sentences are nearly identical in meaning." << "100%" << QString();
}

void TestSimilarityDetails::panelShowsTheArithmetic()
{
    QFETCH(std::vector<double>, a);
    QFETCH(std::vector<double>, b);
    QFETCH(QStringList, lines);
    QFETCH(QString, truncated);
    QFETCH(QString, gauge);
    QFETCH(QString, guard);
    Screen s;
    s.server.setEmbedding("first", a);
    s.server.setEmbedding("second", b);
    QVERIFY(s.calculate(QStringLiteral("first"), QStringLiteral("second")));
    QVERIFY(s.view->hasCalculated());
    QVERIFY(!s.shows(s.panel()));
    QTest::mouseClick(s.toggle(), Qt::LeftButton);
    QVERIFY(s.shows(s.panel()));

    QCOMPARE(s.text("detailsModel"), model);
    const QStringList shown = {s.text("detailsFirstDimensions"), s.text("detailsFirstComponents"),
                               s.text("detailsNormA"),           s.text("detailsNormB"),
                               s.text("detailsDot"),             s.text("detailsCosine"),
                               s.text("detailsClamped")};
    QCOMPARE(shown, lines);
    QCOMPARE(s.text("detailsTruncated"), truncated);
    QCOMPARE(s.text("detailsRounded"), gauge);
    // What the details call the gauge's percentage is what the gauge shows.
    QCOMPARE(s.gaugeText(), gauge);
    auto *strips = s.panel()->findChild<VectorStripView *>();
    QCOMPARE(strips->first().size(), qsizetype(a.size()));
    QCOMPARE(strips->accessibleDescription(), VectorStripView::describe(strips->first(), strips->second()));
    auto *guardNote = s.panel()->findChild<QLabel *>(QStringLiteral("detailsGuardNote"));
    QCOMPARE(s.shows(guardNote), !guard.isEmpty());
    QCOMPARE(guardNote->text(), guard);
}

void TestSimilarityDetails::keyboardReachesToggle()
{
    Screen s;
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
    s.server.setEmbedding("a", {1, 0});
    s.server.setEmbedding("b", {0, 1});
    QVERIFY(s.calculate(QStringLiteral("a"), QStringLiteral("b")));
    s.button()->setFocus();
    QTest::keyClick(s.button(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.toggle());
    QTest::keyClick(s.toggle(), Qt::Key_Space);
    QVERIFY(s.view->isShowingDetails());
    QVERIFY(s.shows(s.panel()));
    QTest::keyClick(s.toggle(), Qt::Key_Space);
    QVERIFY(!s.view->isShowingDetails());
}

void TestSimilarityDetails::historyGetsEveryEndedCalculation()
{
    Screen s;
    s.server.setEmbedding("The film was good.", {1, 2, 2});
    s.server.setEmbedding("The film was not good.", {2, 1, 2});
    QVERIFY(s.calculate(QStringLiteral(" The film was good.\n"), QStringLiteral("The film was not good.")));
    QCOMPARE(s.history.size(), 1);
    HistoryEntry entry = s.history.entries().first();
    QCOMPARE(entry.demo, DemoType::sentenceSimilarity);
    QCOMPARE(entry.model, model);
    QCOMPARE(entry.texts, (QStringList{QStringLiteral("The film was good."), QStringLiteral("The film was not good.")}));
    QCOMPARE(entry.value, std::optional<double>(8.0f / 9.0f));
    QCOMPARE(entry.result, QStringLiteral("89% (These sentences are quite similar.)"));

    s.prefs.settings().setOllamaURL(closedPortURL());
    QVERIFY(s.calculate(QStringLiteral("x"), QStringLiteral("y")));
    QCOMPARE(s.history.size(), 2);
    entry = s.history.entries().first();
    QVERIFY(entry.isFailure());
    QCOMPARE(entry.texts, (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
    QCOMPARE(entry.error, s.view->errorMessage());
}

QTEST_MAIN(TestSimilarityDetails)
#include "tst_similaritydetails.moc"
