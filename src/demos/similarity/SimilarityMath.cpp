#include "SimilarityMath.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

float norm(const EmbeddingVector &v)
{
    float squares = 0.0f;
    for (const float x : v)
        squares += x * x;
    return std::sqrt(squares);
}

} // namespace

SimilarityArithmetic similarityArithmetic(const EmbeddingVector &a, const EmbeddingVector &b)
{
    SimilarityArithmetic result;
    if (a.size() != b.size()) {
        result.normA = norm(a);
        result.normB = norm(b);
        result.guard = SimilarityArithmetic::Guard::lengthsDiffer;
        return result;
    }
    float dot = 0.0f;
    float squaresA = 0.0f;
    float squaresB = 0.0f;
    for (qsizetype i = 0; i < a.size(); ++i) {
        dot += a[i] * b[i];
        squaresA += a[i] * a[i];
        squaresB += b[i] * b[i];
    }
    result.dot = dot;
    result.normA = std::sqrt(squaresA);
    result.normB = std::sqrt(squaresB);
    if (!(result.normA > 0.0f) || !(result.normB > 0.0f)) {
        result.guard = SimilarityArithmetic::Guard::zeroNorm;
        return result;
    }
    result.cosine = dot / (result.normA * result.normB);
    return result;
}

float cosineSimilarity(const EmbeddingVector &a, const EmbeddingVector &b)
{
    return similarityArithmetic(a, b).cosine;
}

std::optional<float> shownSimilarity(float cosine)
{
    if (!std::isfinite(cosine))
        return std::nullopt;
    return std::max(std::min(cosine, 1.0f), 0.0f);
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
        return QCoreApplication::translate("SimilarityMath", "These sentences are nearly identical in meaning.");
    if (p >= 70 && p <= 89)
        return QCoreApplication::translate("SimilarityMath", "These sentences are quite similar.");
    if (p >= 50 && p <= 69)
        return QCoreApplication::translate("SimilarityMath", "These sentences have moderate similarity.");
    if (p >= 30 && p <= 49)
        return QCoreApplication::translate("SimilarityMath", "These sentences have some similarity.");
    if (p >= 0 && p <= 29)
        return QCoreApplication::translate("SimilarityMath", "These sentences are quite different.");
    return {};
}
