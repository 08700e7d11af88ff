#pragma once

#include "SimilarityMath.h"

#include <QString>

// Everything about one similarity that explains it: both vectors as the
// server sent them and each step of the cosine.
struct SimilarityReading
{
    QString model;
    // The two texts as sent (already trimmed).
    QString firstText;
    QString secondText;
    EmbeddingVector first;
    EmbeddingVector second;
    SimilarityArithmetic arithmetic;

    bool operator==(const SimilarityReading &) const = default;
};

namespace SimilarityReadingText {

// How many leading components the details show of each vector.
constexpr int shownComponents = 8;

// The shortest decimal text that reads back as the same 32-bit float:
// "3", "0.8888889", "-0.25", "1e-07".
QString number(float value);

// One component, short: four significant digits ("0.01235", "-2", "1.5e-05").
QString component(float value);

// The first `count` components separated by ", ", with ", …" after them when
// the vector is longer; "(empty)" for an empty vector.
QString leadingComponents(const EmbeddingVector &vector, int count = shownComponents);

// "768 dimensions", "1 dimension".
QString dimensions(qsizetype count);

// The hundredfold of a similarity with two decimals, as the percentages are
// taken from it: "88.89".
QString hundredfold(float similarity);

// The whole percentage the gauge shows for a similarity in 0...1: the
// hundredfold taken in 32-bit float and rounded half to even on its exact
// value, as printf's "%.0f" prints it (12.5 gives 12).
int gaugePercentage(float similarity);

// Why the description's percentage (cut off) and the gauge's (rounded) can
// differ by one, with the numbers of this similarity. `gaugePercent` is the
// whole number the gauge shows.
QString percentageNote(float similarity, int gaugePercent);

// Why the cosine was set to 0 without dividing; empty when it was not.
QString guardNote(const SimilarityArithmetic &arithmetic, qsizetype firstLength, qsizetype secondLength);

} // namespace SimilarityReadingText
