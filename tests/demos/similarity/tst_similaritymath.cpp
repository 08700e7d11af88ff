#include "demos/similarity/SimilarityMath.h"

#include <QObject>
#include <QTest>

#include <cmath>
#include <limits>

class TestSimilarityMath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cosine_data();
    void cosine();
    void cosineIsSymmetric();
    void description_data();
    void description();
    void percentage_data();
    void percentage();
};

void TestSimilarityMath::cosine_data()
{
    QTest::addColumn<EmbeddingVector>("a");
    QTest::addColumn<EmbeddingVector>("b");
    QTest::addColumn<float>("expected");
    // Exact comparison where the result is a guarded 0 or must come out of
    // 32-bit arithmetic bit for bit; otherwise within float rounding.
    QTest::addColumn<bool>("exact");

    QTest::newRow("identical") << EmbeddingVector{1, 2, 3} << EmbeddingVector{1, 2, 3} << 1.0f << false;
    QTest::newRow("same direction, other length") << EmbeddingVector{1, 2, 3} << EmbeddingVector{2, 4, 6} << 1.0f
                                                  << false;
    QTest::newRow("orthogonal") << EmbeddingVector{1, 0} << EmbeddingVector{0, 1} << 0.0f << true;
    QTest::newRow("opposite") << EmbeddingVector{1, 0} << EmbeddingVector{-1, 0} << -1.0f << false;
    QTest::newRow("45 degrees") << EmbeddingVector{1, 0} << EmbeddingVector{1, 1} << 0.70710677f << false;
    QTest::newRow("lengths differ") << EmbeddingVector{1, 2} << EmbeddingVector{1, 2, 3} << 0.0f << true;
    QTest::newRow("one empty") << EmbeddingVector{} << EmbeddingVector{1} << 0.0f << true;
    QTest::newRow("both empty") << EmbeddingVector{} << EmbeddingVector{} << 0.0f << true;
    QTest::newRow("zero vector first") << EmbeddingVector{0, 0} << EmbeddingVector{1, 1} << 0.0f << true;
    QTest::newRow("zero vector second") << EmbeddingVector{1, 1} << EmbeddingVector{0, 0} << 0.0f << true;
    QTest::newRow("both zero") << EmbeddingVector{0, 0} << EmbeddingVector{0, 0} << 0.0f << true;
    // The squares of 1e-30 underflow to 0 in 32-bit float: the guard must
    // answer 0 rather than divide by a zero norm.
    QTest::newRow("norm underflows") << EmbeddingVector{1e-30f, 0} << EmbeddingVector{1, 0} << 0.0f << true;
    // Summed in index order in 32-bit float, 1e8 + 1 is 1e8 and the dot
    // product is exactly 0; a double or reordered sum would give 1.
    QTest::newRow("32-bit sum in index order") << EmbeddingVector{1e8f, 1, -1e8f} << EmbeddingVector{1, 1, 1}
                                               << 0.0f << true;
}

void TestSimilarityMath::cosine()
{
    QFETCH(EmbeddingVector, a);
    QFETCH(EmbeddingVector, b);
    QFETCH(float, expected);
    QFETCH(bool, exact);

    const float similarity = cosineSimilarity(a, b);
    QVERIFY(std::isfinite(similarity));
    if (exact)
        QCOMPARE(similarity, expected);
    else
        QVERIFY2(std::fabs(similarity - expected) <= 1e-6f, qPrintable(QString::number(similarity, 'g', 9)));
}

void TestSimilarityMath::cosineIsSymmetric()
{
    const EmbeddingVector a{0.1f, -0.7f, 0.25f, 0.6f};
    const EmbeddingVector b{0.3f, 0.2f, -0.9f, 0.05f};
    QCOMPARE(cosineSimilarity(a, b), cosineSimilarity(b, a));
    QVERIFY(cosineSimilarity(a, b) >= -1.0f && cosineSimilarity(a, b) <= 1.0f);
}

void TestSimilarityMath::description_data()
{
    QTest::addColumn<float>("similarity");
    QTest::addColumn<QString>("description");

    const QString identical = QStringLiteral("These sentences are nearly identical in meaning.");
    const QString quiteSimilar = QStringLiteral("These sentences are quite similar.");
    const QString moderate = QStringLiteral("These sentences have moderate similarity.");
    const QString some = QStringLiteral("These sentences have some similarity.");
    const QString different = QStringLiteral("These sentences are quite different.");

    QTest::newRow("1") << 1.0f << identical;
    QTest::newRow("0.9") << 0.9f << identical;
    QTest::newRow("89.9/100") << 89.9f / 100.0f << quiteSimilar;
    QTest::newRow("89.7/100 truncates to 89") << 89.7f / 100.0f << quiteSimilar;
    QTest::newRow("0.7") << 0.7f << quiteSimilar;
    QTest::newRow("0.69") << 0.69f << moderate;
    QTest::newRow("0.5") << 0.5f << moderate;
    QTest::newRow("0.49") << 0.49f << some;
    QTest::newRow("0.3") << 0.3f << some;
    QTest::newRow("29.9/100") << 29.9f / 100.0f << different;
    QTest::newRow("0") << 0.0f << different;
    QTest::newRow("-0") << -0.0f << different;
    // A slightly negative value truncates toward zero, to 0.
    QTest::newRow("-0.001") << -0.001f << different;
    // 100.5 truncates to 100, still in range.
    QTest::newRow("1.005") << 1.005f << identical;

    QTest::newRow("-0.01") << -0.01f << QString();
    QTest::newRow("-1") << -1.0f << QString();
    QTest::newRow("1.01") << 1.01f << QString();
    QTest::newRow("2") << 2.0f << QString();
    QTest::newRow("huge") << 1e30f << QString();
    QTest::newRow("huge negative") << -1e30f << QString();
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << QString();
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << QString();
}

void TestSimilarityMath::description()
{
    QFETCH(float, similarity);
    QFETCH(QString, description);
    QCOMPARE(similarityDescription(similarity), description);
}

void TestSimilarityMath::percentage_data()
{
    QTest::addColumn<float>("similarity");
    QTest::addColumn<int>("percentage");

    QTest::newRow("0.897") << 0.897f << 89;
    QTest::newRow("0.9") << 0.9f << 90;
    QTest::newRow("0.7") << 0.7f << 70;
    QTest::newRow("0.3") << 0.3f << 30;
    QTest::newRow("1") << 1.0f << 100;
    QTest::newRow("-0.5") << -0.5f << -50;
    QTest::newRow("-0.009 toward zero") << -0.009f << 0;
}

void TestSimilarityMath::percentage()
{
    QFETCH(float, similarity);
    QFETCH(int, percentage);
    QCOMPARE(truncatedPercentage(similarity), percentage);
}

QTEST_GUILESS_MAIN(TestSimilarityMath)
#include "tst_similaritymath.moc"
