#include "demos/similarity/SimilarityMath.h"
#include "demos/similarity/SimilarityReading.h"
#include "demos/similarity/VectorStripView.h"
#include "widgets/CircularProgressGauge.h"
#include "widgets/NamedColors.h"

#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(SimilarityArithmetic::Guard)

using Guard = SimilarityArithmetic::Guard;

class TestSimilarityReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arithmeticStepByStep_data();
    void arithmeticStepByStep();
    void numbersAsShown_data();
    void numbersAsShown();
    void gaugePercentageMatchesTheGauge();
    void percentageNoteUsesThisValue_data();
    void percentageNoteUsesThisValue();
    void stripColumnsAverageWhatTheyCover_data();
    void stripColumnsAverageWhatTheyCover();
    void divergingColours_data();
    void divergingColours();
    void stripScaleAndTextAlternative();
    void stripCellsTakeTheirColours();
};

void TestSimilarityReading::arithmeticStepByStep_data()
{
    QTest::addColumn<EmbeddingVector>("a");
    QTest::addColumn<EmbeddingVector>("b");
    QTest::addColumn<float>("normA");
    QTest::addColumn<float>("normB");
    QTest::addColumn<float>("dot");
    QTest::addColumn<float>("cosine");
    QTest::addColumn<Guard>("guard");

    QTest::newRow("known pair") << EmbeddingVector{1, 2, 2} << EmbeddingVector{2, 1, 2} << 3.0f << 3.0f << 8.0f
                                << 8.0f / 9.0f << Guard::none;
    QTest::newRow("same direction") << EmbeddingVector{3, 4} << EmbeddingVector{6, 8} << 5.0f << 10.0f << 50.0f
                                    << 1.0f << Guard::none;
    QTest::newRow("orthogonal") << EmbeddingVector{1, 0} << EmbeddingVector{0, 1} << 1.0f << 1.0f << 0.0f << 0.0f
                                << Guard::none;
    QTest::newRow("opposite") << EmbeddingVector{1, 0} << EmbeddingVector{-1, 0} << 1.0f << 1.0f << -1.0f << -1.0f
                              << Guard::none;
    QTest::newRow("lengths differ") << EmbeddingVector{3, 4} << EmbeddingVector{1, 2, 2} << 5.0f << 3.0f << 0.0f
                                    << 0.0f << Guard::lengthsDiffer;
    QTest::newRow("zero vector") << EmbeddingVector{0, 0} << EmbeddingVector{3, 4} << 0.0f << 5.0f << 0.0f << 0.0f
                                 << Guard::zeroNorm;
    QTest::newRow("both empty") << EmbeddingVector{} << EmbeddingVector{} << 0.0f << 0.0f << 0.0f << 0.0f
                                << Guard::zeroNorm;
}

void TestSimilarityReading::arithmeticStepByStep()
{
    QFETCH(EmbeddingVector, a);
    QFETCH(EmbeddingVector, b);
    QFETCH(float, normA);
    QFETCH(float, normB);
    QFETCH(float, dot);
    QFETCH(float, cosine);
    QFETCH(Guard, guard);

    const SimilarityArithmetic steps = similarityArithmetic(a, b);
    QCOMPARE(steps.normA, normA);
    QCOMPARE(steps.normB, normB);
    QCOMPARE(steps.dot, dot);
    QCOMPARE(steps.cosine, cosine);
    QCOMPARE(steps.guard, guard);
    // The similarity the demo shows is the cosine these steps explain,
    // to the last bit.
    const float plain = cosineSimilarity(a, b);
    QCOMPARE(std::memcmp(&plain, &steps.cosine, sizeof plain), 0);
}

void TestSimilarityReading::numbersAsShown_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("component");
    QTest::newRow("whole") << 3.0f << "3" << "3";
    QTest::newRow("eight ninths") << 8.0f / 9.0f << "0.8888889" << "0.8889";
    QTest::newRow("negative") << -0.25f << "-0.25" << "-0.25";
    QTest::newRow("small") << 0.0123456f << "0.0123456" << "0.01235";
    QTest::newRow("tiny") << 1e-7f << "1e-07" << "1e-07";
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << "NaN" << "nan";
}

void TestSimilarityReading::numbersAsShown()
{
    QFETCH(float, value);
    QFETCH(QString, number);
    QFETCH(QString, component);
    QCOMPARE(SimilarityReadingText::number(value), number);
    QCOMPARE(SimilarityReadingText::component(value), component);
    // The long form reads back as the very same float.
    if (std::isfinite(value))
        QCOMPARE(number.toFloat(), value);
}

void TestSimilarityReading::gaugePercentageMatchesTheGauge()
{
    // The history and the details state the gauge's number without a gauge;
    // they must never disagree with it, halves included (12.5 shows as 12).
    QList<float> values = {0.0f, 0.125f, 0.135f, 0.5f, 0.885f, 0.895f, 0.897f, 0.995f, 0.9999f, 1.0f};
    for (int i = 0; i <= 2000; ++i)
        values.append(float(i) / 2000.0f);
    for (const float value : std::as_const(values)) {
        QCOMPARE(QStringLiteral("%1%").arg(SimilarityReadingText::gaugePercentage(value)),
                 CircularProgressGauge::percentageText(value));
    }
}

void TestSimilarityReading::percentageNoteUsesThisValue_data()
{
    QTest::addColumn<float>("similarity");
    QTest::addColumn<QString>("note");
    QTest::newRow("differ by one") << 8.0f / 9.0f
                                   << "The description cuts the hundredfold value 88.89 off at 88, while the gauge "
                                      "rounds it to 89, so the two differ by one.";
    QTest::newRow("agree") << 0.5f
                           << "The description cuts the hundredfold value 50.00 off at the whole number and the "
                              "gauge rounds it to the nearest; here both give 50, but they can differ by one.";
}

void TestSimilarityReading::percentageNoteUsesThisValue()
{
    QFETCH(float, similarity);
    QFETCH(QString, note);
    QCOMPARE(SimilarityReadingText::percentageNote(similarity, SimilarityReadingText::gaugePercentage(similarity)),
             note);
}

void TestSimilarityReading::stripColumnsAverageWhatTheyCover_data()
{
    QTest::addColumn<EmbeddingVector>("vector");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<float>>("values");
    QTest::newRow("one column per component") << EmbeddingVector{1, -2, 3} << 3 << QList<float>{1, -2, 3};
    QTest::newRow("room to spare") << EmbeddingVector{1, -2} << 400 << QList<float>{1, -2};
    QTest::newRow("pairs") << EmbeddingVector{1, 2, 3, 4} << 2 << QList<float>{1.5f, 3.5f};
    QTest::newRow("uneven") << EmbeddingVector{1, 2, 3, 4, 5} << 2 << QList<float>{1.5f, 4.0f};
    QTest::newRow("all in one") << EmbeddingVector{1, -1, 4} << 1 << QList<float>{4.0f / 3.0f};
    QTest::newRow("no room") << EmbeddingVector{1, 2} << 0 << QList<float>{};
    QTest::newRow("empty") << EmbeddingVector{} << 10 << QList<float>{};
}

void TestSimilarityReading::stripColumnsAverageWhatTheyCover()
{
    QFETCH(EmbeddingVector, vector);
    QFETCH(int, columns);
    QFETCH(QList<float>, values);
    QCOMPARE(VectorStripView::columnValues(vector, columns), values);
}

void TestSimilarityReading::divergingColours_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("scale");
    QTest::addColumn<QColor>("expected");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("zero is the middle") << 0.0f << 2.0f << QColor(255, 255, 255);
    QTest::newRow("full positive") << 2.0f << 2.0f << QColor(200, 0, 0);
    QTest::newRow("beyond negative") << -5.0f << 2.0f << QColor(0, 0, 200);
    QTest::newRow("half way up") << 1.0f << 2.0f << QColor::fromRgbF(227.5f / 255, 127.5f / 255, 127.5f / 255);
    QTest::newRow("not a number") << nan << 2.0f << QColor(255, 255, 255);
}

void TestSimilarityReading::divergingColours()
{
    QFETCH(float, value);
    QFETCH(float, scale);
    QFETCH(QColor, expected);
    const QColor colour =
        VectorStripView::divergingColor(value, scale, QColor(0, 0, 200), QColor(255, 255, 255), QColor(200, 0, 0));
    QCOMPARE(colour.rgba(), expected.rgba());
}

void TestSimilarityReading::stripScaleAndTextAlternative()
{
    const float inf = std::numeric_limits<float>::infinity();
    QCOMPARE(VectorStripView::scale({0.5f, -3.0f}, {2.0f, inf}), 3.0f);
    QCOMPARE(VectorStripView::scale({}, {}), 0.0f);

    QCOMPARE(VectorStripView::describe({1, 2, 2}, {2, 1, 2}),
             QStringLiteral("First vector, 3 dimensions; components: 1, 2, 2. Second vector, 3 dimensions; "
                            "components: 2, 1, 2. Each cell is one dimension: blue below 0, red above 0, pale "
                            "near 0."));
    EmbeddingVector longer;
    for (int i = 0; i < 768; ++i)
        longer.append(float(i % 3) - 1.0f);
    const QString text = VectorStripView::describe(longer, {});
    QVERIFY2(text.startsWith(QStringLiteral("First vector, 768 dimensions; first 8 components: -1, 0, 1, -1, 0, 1, "
                                            "-1, 0, …. Second vector: empty.")),
             qPrintable(text));
}

void TestSimilarityReading::stripCellsTakeTheirColours()
{
    // Two cells per strip: the left half of each strip is component 0, the
    // right half component 1, on the common scale 2.
    VectorStripView strips;
    strips.setVectors({2, -2}, {0, 2});
    strips.resize(400, strips.sizeHint().height());
    const QImage image = strips.grab().toImage();
    const QPalette palette = strips.palette();
    const QRgb red = NamedColors::color(NamedColor::Red, palette).rgb();
    const QRgb blue = NamedColors::color(NamedColor::Blue, palette).rgb();
    const QRgb middle = palette.color(QPalette::Base).rgb();
    const int firstRow = 9;
    const int secondRow = 18 + 6 + 9;
    QCOMPARE(image.pixel(200, firstRow), red);
    QCOMPARE(image.pixel(390, firstRow), blue);
    QCOMPARE(image.pixel(200, secondRow), middle);
    QCOMPARE(image.pixel(390, secondRow), red);
}

QTEST_MAIN(TestSimilarityReading)
#include "tst_similarityreading.moc"
