#include "DemoScreenRig.h"
#include "demos/similarity/SentenceSimilarityView.h"
#include "widgets/CircularProgressGauge.h"

namespace {

using Rig = DemoScreenRig<SentenceSimilarityView>;
const QString model = QStringLiteral("nomic-embed-text");
const QString first = QStringLiteral("The cat sat on the mat");
const QString second = QStringLiteral("A feline rested on the rug");

// A screen with a model, the two sentences at cosine 0.7 on the server, and
// optionally a finished calculation.
void prepare(Rig &s, bool calculate)
{
    s.settings().setSelectedEmbeddingModel(model);
    s.server.setEmbedding(first.toStdString(), {1.0, 0.0});
    s.server.setEmbedding(second.toStdString(), {0.7, 0.71414284285428499}); // cosine 0.7
    s.view->setSentences(first, second);
    if (calculate) {
        s.view->calculateSimilarity();
        QVERIFY(QTest::qWaitFor([&] { return !s.view->isCalculating(); }));
    }
}

struct Inputs { QString one, two; bool withModel; };
struct Shown { bool hint1, hint2, enabled; };

} // namespace

Q_DECLARE_METATYPE(Inputs)
Q_DECLARE_METATYPE(Shown)

class TestSentenceSimilarityView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void visibleTexts_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << "fresh" << "titleLabel" << "Sentence Similarity Demo";
        QTest::newRow("intro") << "fresh" << "introLabel"
                               << "This demo uses embeddings to measure how similar two sentences are. Embeddings convert "
                                  "text into numerical vectors, and cosine similarity measures the angle between these "
                                  "vectors (0% = completely different, 100% = identical).";
        QTest::newRow("first label") << "fresh" << "sentence1Label" << "First Sentence:";
        QTest::newRow("first editor") << "fresh" << "sentence1Editor" << "First Sentence:";
        QTest::newRow("first hint") << "fresh" << "sentence1Hint" << "Example: \"The cat sat on the mat\"";
        QTest::newRow("second label") << "fresh" << "sentence2Label" << "Second Sentence:";
        QTest::newRow("second editor") << "fresh" << "sentence2Editor" << "Second Sentence:";
        QTest::newRow("second hint") << "fresh" << "sentence2Hint" << "Example: \"A feline rested on the rug\"";
        QTest::newRow("button") << "fresh" << "calculateButton" << "Calculate Similarity";
        QTest::newRow("warning title") << "fresh" << "warningTitleLabel" << "No embedding model selected";
        QTest::newRow("warning text") << "fresh" << "warningTextLabel"
                                      << "Please select an embedding model in Settings to use this demo.";
        QTest::newRow("busy button") << "busy" << "calculateButton" << "Calculating...";
        QTest::newRow("card title") << "result" << "resultTitleLabel" << "Similarity Score:";
        QTest::newRow("gauge") << "result" << "similarityGauge" << "Similarity 70 percent";
        QTest::newRow("description") << "result" << "similarityDescriptionLabel" << "These sentences are quite similar.";
        QTest::newRow("details toggle") << "result" << "detailsToggle" << "How was this computed?";
        QTest::newRow("refused") << "refused" << "errorLabel" << "Please select an embedding model in Settings";
    }

    void visibleTexts()
    {
        QFETCH(QString, state);
        QFETCH(QString, widget);
        QFETCH(QString, text);
        Rig s;
        if (state != QLatin1String("fresh"))
            prepare(s, state == QLatin1String("result"));
        if (state == QLatin1String("busy")) {
            s.hold("/api/embed");
            s.view->calculateSimilarity();
        } else if (state == QLatin1String("refused")) {
            s.settings().setSelectedEmbeddingModel(std::nullopt);
            s.view->calculateSimilarity();
        }
        QVERIFY(s.shows(widget));
        QCOMPARE(s.text(widget), text);
    }

    void buttonFollowsSentencesAndModel_data()
    {
        // Sentences typed, whether a model is selected, then whether each hint
        // shows and whether the button (and Ctrl+Return) starts a calculation.
        QTest::addColumn<Inputs>("in");
        QTest::addColumn<Shown>("out");
        QTest::newRow("fresh") << Inputs{"", "", true} << Shown{true, true, false};
        QTest::newRow("a space in the first") << Inputs{" ", "", true} << Shown{false, true, false};
        QTest::newRow("second blank") << Inputs{"a", " \n ", true} << Shown{false, false, false};
        QTest::newRow("both padded") << Inputs{"  a\n", " b ", true} << Shown{false, false, true};
        QTest::newRow("both, no model") << Inputs{"a", "b", false} << Shown{false, false, false};
    }

    void buttonFollowsSentencesAndModel()
    {
        QFETCH(Inputs, in);
        QFETCH(Shown, out);
        Rig s;
        if (in.withModel)
            s.settings().setSelectedEmbeddingModel(QString()); // an empty name counts as a selection
        typeText(s.child("sentence1Editor"), in.one);
        typeText(s.child("sentence2Editor"), in.two);
        QCOMPARE(s.shows("sentence1Hint"), out.hint1);
        QCOMPARE(s.shows("sentence2Hint"), out.hint2);
        QCOMPARE(s.button()->isEnabled(), out.enabled);
        QCOMPARE(s.shows("warningCard"), !in.withModel);
        QTest::keyClick(s.child("sentence2Editor"), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.view->isCalculating(), out.enabled);
    }

    void sendsBothSentencesAsTyped()
    {
        Rig s;
        s.settings().setSelectedEmbeddingModel(model);
        typeText(s.child("sentence1Editor"), QStringLiteral("  Le chat\u00a0: assis\u2028ici\n"));
        typeText(s.child("sentence2Editor"), QStringLiteral("Un chat\u2029couché !  "));
        QTest::mouseClick(s.button(), Qt::LeftButton);
        QTRY_COMPARE(s.history.size(), 1);

        const auto bodies = s.bodies("/api/embed");
        QCOMPARE(bodies.size(), size_t(2));
        const QStringList sent{QStringLiteral("Le chat\u00a0: assis\u2028ici"), QStringLiteral("Un chat\ncouché !")};
        for (size_t i = 0; i < bodies.size(); ++i) {
            QCOMPARE(bodies[i].size(), size_t(2));
            QCOMPARE(QString::fromStdString(bodies[i]["model"].get<std::string>()), model);
            QCOMPARE(QString::fromStdString(bodies[i]["input"].get<std::string>()), sent.at(qsizetype(i)));
        }
        // The editors keep what was typed.
        QCOMPARE(s.view->sentence1(), QStringLiteral("  Le chat\u00a0: assis\u2028ici\n"));
        QCOMPARE(s.view->sentence2(), QStringLiteral("Un chat\ncouché !  "));
    }

    void busyThenFailureReplacesResult()
    {
        Rig s;
        prepare(s, true);
        const float previous = s.view->similarity();
        auto gate = s.hold("/api/embed", 2);
        s.button()->click();
        // The old result goes at once; the button turns busy until the second
        // reply, which fails.
        QVERIFY(s.view->isCalculating() && !s.shows("resultCard") && s.shows("busyIndicator") && !s.button()->isEnabled());
        QTRY_COMPARE(gate->arrivals(), 1);
        s.server.setRoute("POST", "/api/embed", FakeOllamaServer::Reply::text(500, "boom"));
        gate->open();
        QTRY_VERIFY(!s.view->isCalculating());
        QVERIFY(s.text("errorLabel").startsWith(QLatin1String("Error: ")) && s.shows("errorLabel") && !s.shows("resultCard"));
        QCOMPARE(s.view->similarity(), previous);
        QCOMPARE(s.history.entries().first().error, s.view->errorMessage());
    }

    void nonFiniteEmbeddingIsAnErrorNotAFullGauge()
    {
        Rig s;
        prepare(s, false);
        // 1e39 is beyond the range of a 32-bit float.
        s.server.setEmbedding(second.toStdString(), {1e39, 0.0});
        s.view->calculateSimilarity();
        QTRY_VERIFY(!s.view->isCalculating());
        QCOMPARE(s.text("errorLabel"), QStringLiteral("Error: The operation could not be completed. (Invalid response from Ollama error -1.)"));
        QVERIFY(!s.shows("resultCard"));
    }

    void columnsCentredAndEditorsGrow()
    {
        Rig s;
        s.window.resize(640, 300);
        typeText(s.child("sentence1Editor"), QStringLiteral("x"));
        QTRY_COMPARE(s.window.height(), 300);
        const auto centres = [&] { return s.child("sentence1Column")->geometry().center().y() - s.child("sentence2Column")->geometry().center().y(); };
        QCOMPARE(centres(), 0);
        QCOMPARE(s.child("sentence2Editor")->height(), 100);
        s.window.resize(640, 900);
        QTRY_VERIFY(s.child("sentence2Editor")->height() > 300);
        QCOMPARE(centres(), 0);
    }

    void panelShowsTheArithmetic_data()
    {
        QTest::addColumn<std::vector<double>>("a");
        QTest::addColumn<std::vector<double>>("b");
        QTest::addColumn<QStringList>("lines"); // dims a, components a, |a|, |b|, dot, cosine, clamped
        QTest::addColumn<QString>("truncated");
        QTest::addColumn<QString>("gauge");
        QTest::addColumn<QString>("guard");

        QTest::newRow("known pair") << std::vector<double>{1, 2, 2} << std::vector<double>{2, 1, 2}
                                    << QStringList{"3 dimensions", "1, 2, 2", "3", "3", "8", "0.8888889", "0.8888889"}
                                    << "88 → These sentences are quite similar." << "89%" << QString();
        QTest::newRow("opposite, clamped to 0") << std::vector<double>{1, 0} << std::vector<double>{-1, 0}
                                                << QStringList{"2 dimensions", "1, 0", "1", "1", "-1", "-1", "0"}
                                                << "0 → These sentences are quite different." << "0%" << QString();
        QTest::newRow("lengths differ")
            << std::vector<double>{3, 4} << std::vector<double>{1, 2, 2}
            << QStringList{"2 dimensions", "3, 4", "5", "3", "not taken", "0", "0"}
            << "0 → These sentences are quite different." << "0%"
            << "The vectors have different lengths (2 and 3), so they cannot be compared and the cosine is taken as 0.";
        // Exact halves: the gauge and the details both round them to even.
        QTest::newRow("cosine 0.125, rounds down to even")
            << std::vector<double>{1, 0, 0, 0, 0} << std::vector<double>{1, 7, 3, 2, 1}
            << QStringList{"5 dimensions", "1, 0, 0, 0, 0", "1", "8", "1", "0.125", "0.125"}
            << "12 → These sentences are quite different." << "12%" << QString();
        QTest::newRow("cosine 0.375, rounds up to even")
            << std::vector<double>{1, 0, 0, 0, 0} << std::vector<double>{3, 7, 2, 1, 1}
            << QStringList{"5 dimensions", "1, 0, 0, 0, 0", "1", "8", "3", "0.375", "0.375"}
            << "37 → These sentences have some similarity." << "38%" << QString();
        QTest::newRow("long vectors")
            << std::vector<double>(10, 1.0) << std::vector<double>(10, 1.0)
            << QStringList{"10 dimensions", "1, 1, 1, 1, 1, 1, 1, 1, …", "3.1622777", "3.1622777", "10", "1", "1"}
            << "100 → These sentences are nearly identical in meaning." << "100%" << QString();
    }

    void panelShowsTheArithmetic()
    {
        QFETCH(std::vector<double>, a);
        QFETCH(std::vector<double>, b);
        QFETCH(QStringList, lines);
        QFETCH(QString, truncated);
        QFETCH(QString, gauge);
        QFETCH(QString, guard);
        Rig s;
        s.settings().setSelectedEmbeddingModel(QStringLiteral("nomic-embed-text"));
        s.server.setEmbedding("first", a);
        s.server.setEmbedding("second", b);
        s.view->setShowingDetails(true);
        QVERIFY(!s.shows("detailsToggle"));
        s.view->setSentences(QStringLiteral("first"), QStringLiteral("second"));
        s.view->calculateSimilarity();
        QTRY_VERIFY(s.view->hasCalculated());
        QVERIFY(s.shows("detailsPanel"));

        const QList<std::pair<const char *, QString>> fixed = {
            {"detailsPanel", "How the similarity was computed"},
            {"detailsModelCaption", "Model"},
            {"detailsModel", "nomic-embed-text"},
            {"detailsVectorsCaption", "The two vectors"},
            {"detailsFirstCaption", "First sentence, a"},
            {"detailsSecondCaption", "Second sentence, b"},
            {"detailsArithmeticCaption", "The arithmetic"},
            {"detailsNormACaption", "Length of a, ‖a‖"},
            {"detailsNormBCaption", "Length of b, ‖b‖"},
            {"detailsDotCaption", "Dot product, a · b"},
            {"detailsCosineCaption", "Cosine, a · b ÷ (‖a‖ × ‖b‖)"},
            {"detailsClampedCaption", "Kept within 0 to 1"},
            {"detailsTruncatedCaption", "Percentage, cut off (picks the description)"},
            {"detailsRoundedCaption", "Percentage, rounded (shown on the gauge)"},
            {"detailsTruncated", truncated},
            {"detailsRounded", gauge},
            {"detailsGuardNote", guard},
        };
        for (const auto &[name, text] : fixed)
            QCOMPARE(s.text(name), text);
        const QStringList shown = {s.text("detailsFirstDimensions"), s.text("detailsFirstComponents"),
                                   s.text("detailsNormA"), s.text("detailsNormB"), s.text("detailsDot"),
                                   s.text("detailsCosine"), s.text("detailsClamped")};
        QCOMPARE(shown, lines);
        QCOMPARE(s.shows("detailsGuardNote"), !guard.isEmpty());
        // What the details call the gauge's percentage is what the gauge shows,
        // and what the history records with the description.
        QCOMPARE(CircularProgressGauge::percentageText(s.child<CircularProgressGauge>("similarityGauge")->progress()),
                 gauge);
        const QString description = truncated.section(QStringLiteral("→ "), 1);
        QCOMPARE(s.text("similarityDescriptionLabel"), description);
        QCOMPARE(s.text("similarityGauge"), "Similarity " + gauge.chopped(1) + " percent");
        QCOMPARE(s.history.entries().first().result, gauge + " (" + description + ")");
    }
};

QTEST_MAIN(TestSentenceSimilarityView)
#include "tst_sentencesimilarityview.moc"
