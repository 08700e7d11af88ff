#pragma once

#include <QList>
#include <QString>

// The pure side of the similarity demo.

using EmbeddingVector = QList<float>;

// Cosine similarity in 32-bit float, sums taken in index order. 0 when the
// lengths differ or either vector has no positive norm. Not clamped.
float cosineSimilarity(const EmbeddingVector &a, const EmbeddingVector &b);

// The similarity's hundredfold, computed in 32-bit float and truncated toward
// zero: the percentage that picks the description.
int truncatedPercentage(float similarity);

// One of five sentences by the truncated percentage (inclusive bands), or the
// empty text outside 0 to 100.
QString similarityDescription(float similarity);
