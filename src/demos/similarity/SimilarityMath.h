#pragma once

#include <QList>
#include <QString>

#include <optional>

// The pure side of the similarity demo.

using EmbeddingVector = QList<float>;

// The steps of a cosine similarity, in 32-bit float with every sum taken in
// index order, kept so that they can be shown.
struct SimilarityArithmetic
{
    // Why the cosine was set to 0 without dividing, if it was.
    enum class Guard {
        none,
        // The vectors have different lengths: no dot product is taken.
        lengthsDiffer,
        // A vector has no positive norm (empty or all zeros): no direction.
        zeroNorm,
    };

    float normA = 0;
    float normB = 0;
    // 0 when the lengths differ.
    float dot = 0;
    float cosine = 0;
    Guard guard = Guard::none;

    bool operator==(const SimilarityArithmetic &) const = default;
};

SimilarityArithmetic similarityArithmetic(const EmbeddingVector &a, const EmbeddingVector &b);

// Cosine similarity in 32-bit float, sums taken in index order. 0 when the
// lengths differ or either vector has no positive norm. Not clamped.
float cosineSimilarity(const EmbeddingVector &a, const EmbeddingVector &b);

// The similarity the demo shows and records for a cosine: clamped to 0...1
// (the minimum with 1 first, then the maximum with 0), so a negative cosine
// shows as 0. Absent for a value that is not finite: it measures nothing.
std::optional<float> shownSimilarity(float cosine);

// The similarity's hundredfold, computed in 32-bit float and truncated toward
// zero: the percentage that picks the description.
int truncatedPercentage(float similarity);

// One of five sentences by the truncated percentage (inclusive bands), or the
// empty text outside 0 to 100.
QString similarityDescription(float similarity);
