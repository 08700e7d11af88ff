#pragma once

#include "demos/similarity/SimilarityMath.h"

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// The pure side of the sentence map: which lines are sentences, the matrix of
// pairwise similarities, a flat picture of the vectors, and each sentence's
// nearest neighbour. Sentences are numbered from 1 wherever they are shown.
namespace SentenceMap {

// How many sentences one map takes: fewer leave nothing to compare, more
// make the grid and the labels too small to read.
constexpr int minimumSentences = 3;
constexpr int maximumSentences = 16;

// One sentence per line, each trimmed of white space and line breaks at both
// ends; lines that are blank once trimmed are skipped.
QStringList sentencesFromText(const QString &text);

// matrix[i][j] is cosineSimilarity(vectors[i], vectors[j]): the figure the
// similarity demo computes for that pair, unclamped.
using Matrix = QList<QList<float>>;
Matrix similarityMatrix(const QList<EmbeddingVector> &vectors);

// The vectors seen along the two directions in which they spread the most
// (their first two principal components).
struct Projection
{
    // One point per vector, in the vectors' own units on both axes.
    QList<QPointF> points;
    // The part of the total spread (the sum of squared distances from the
    // mean) along each axis, from 0 to 1. Both 0 when the vectors do not
    // spread at all (identical vectors) or their lengths differ.
    double firstShare = 0;
    double secondShare = 0;

    double explainedShare() const { return firstShare + secondShare; }
};

// Centres the vectors on their mean and takes the eigenvectors of their n × n
// Gram matrix, which for a handful of long vectors is far cheaper than the
// d × d covariance and gives the same components. Each axis is oriented so
// that its largest coordinate is positive (near ties broken by the vectors
// themselves, never by their order), so the same set of vectors in any order
// gives the same picture.
Projection principalProjection(const QList<EmbeddingVector> &vectors);

struct Neighbour
{
    int sentence = 0;
    int nearest = 0;
    float similarity = 0;

    bool operator==(const Neighbour &) const = default;
};

// For each row, the other sentence with the highest similarity (the lower
// number on a tie). Empty for fewer than two sentences.
QList<Neighbour> nearestNeighbours(const Matrix &matrix);

// A similarity as the similarity demo shows it: the cosine clamped to 0...1
// (a negative cosine shows as 0) and rounded as the gauge rounds: "91 %".
QString percentText(float similarity);

// "3 is closest to 1, 91 %", with numbers counted from 1.
QString neighbourLine(const Neighbour &neighbour);

// The share of the spread that the map's two axes hold, as a sentence.
QString spreadLine(const Projection &projection);

// Everything the window shows, computed from the vectors in one go.
struct Layout
{
    Matrix matrix;
    Projection projection;
    QList<Neighbour> neighbours;
};
Layout computeLayout(const QList<EmbeddingVector> &vectors);

// The matrix as comma-separated values (UTF-8, CRLF): a header row "#",
// "Sentence", "1" ... "n", then per sentence its number, its text and its
// similarity to each sentence as the figure the grid shows, a number from
// 0 to 1 (a negative cosine is 0, as in the similarity demo's history).
QByteArray matrixCsv(const QStringList &sentences, const Matrix &matrix);

} // namespace SentenceMap
