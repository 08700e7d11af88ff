#include "SimilarityMath.h"

#include <cmath>
#include <limits>

float cosineSimilarity(const EmbeddingVector &a, const EmbeddingVector &b)
{
    if (a.size() != b.size())
        return 0.0f;
    float dot = 0.0f;
    float squaresA = 0.0f;
    float squaresB = 0.0f;
    for (qsizetype i = 0; i < a.size(); ++i) {
        dot += a[i] * b[i];
        squaresA += a[i] * a[i];
        squaresB += b[i] * b[i];
    }
    const float normA = std::sqrt(squaresA);
    const float normB = std::sqrt(squaresB);
    if (!(normA > 0.0f) || !(normB > 0.0f))
        return 0.0f;
    return dot / (normA * normB);
}

int truncatedPercentage(float similarity)
{
    const float hundredfold = similarity * 100.0f;
    if (!std::isfinite(hundredfold))
        return std::numeric_limits<int>::min();
    if (hundredfold >= 2147483647.0f || hundredfold <= -2147483648.0f)
        return std::numeric_limits<int>::min();
    return static_cast<int>(std::trunc(hundredfold));
}

QString similarityDescription(float similarity)
{
    const int p = truncatedPercentage(similarity);
    if (p >= 90 && p <= 100)
        return QStringLiteral("These sentences are nearly identical in meaning.");
    if (p >= 70 && p <= 89)
        return QStringLiteral("These sentences are quite similar.");
    if (p >= 50 && p <= 69)
        return QStringLiteral("These sentences have moderate similarity.");
    if (p >= 30 && p <= 49)
        return QStringLiteral("These sentences have some similarity.");
    if (p >= 0 && p <= 29)
        return QStringLiteral("These sentences are quite different.");
    return {};
}
