#include "SentenceMapMath.h"

#include "app/Languages.h"
#include "catalogue/TextTrimming.h"
#include "demos/similarity/SimilarityReading.h"
#include "history/HistoryCsv.h"

#include <QCoreApplication>

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <optional>

namespace SentenceMap {

QStringList sentencesFromText(const QString &text)
{
    QStringList sentences;
    // Any line break ends a line, as it does in the editor.
    QString line;
    const auto take = [&] {
        const QString trimmed = TextTrimming::trimmedWhitespaceAndLineBreaks(line);
        if (!trimmed.isEmpty())
            sentences.append(trimmed);
        line.clear();
    };
    for (const QChar c : text) {
        if (TextTrimming::isLineBreak(c))
            take();
        else
            line.append(c);
    }
    take();
    return sentences;
}

Matrix similarityMatrix(const QList<EmbeddingVector> &vectors)
{
    const qsizetype n = vectors.size();
    Matrix matrix(n, QList<float>(n, 0.0f));
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i; j < n; ++j) {
            // The cosine is symmetric in its arguments, operation for
            // operation, so one call serves both cells.
            const float value = cosineSimilarity(vectors[i], vectors[j]);
            matrix[i][j] = value;
            matrix[j][i] = value;
        }
    }
    return matrix;
}

namespace {

// Whether the axis along `u` (one coordinate per vector) is the right way
// round. The largest coordinate is made positive; coordinates within a
// tolerance of the largest count as tied, since rounding differs with the
// order in which the vectors came. Among tied coordinates of both signs the
// one of the vector that sorts first (component by component) is made
// positive. Neither rule depends on the vectors' order, so the same set of
// sentences always gives the same picture.
bool pointsTheRightWay(const Eigen::VectorXd &u, const QList<EmbeddingVector> &vectors)
{
    const double largest = u.cwiseAbs().maxCoeff();
    const double tolerance = 1e-6 * largest;
    qsizetype chosen = -1;
    bool positive = false, negative = false;
    for (Eigen::Index i = 0; i < u.size(); ++i) {
        if (std::abs(u(i)) < largest - tolerance)
            continue;
        (u(i) > 0 ? positive : negative) = true;
        if (chosen < 0 || std::lexicographical_compare(vectors[i].cbegin(), vectors[i].cend(),
                                                       vectors[chosen].cbegin(), vectors[chosen].cend()))
            chosen = qsizetype(i);
    }
    if (positive != negative)
        return positive;
    return u(chosen) > 0;
}

} // namespace

Projection principalProjection(const QList<EmbeddingVector> &vectors)
{
    Projection result;
    const qsizetype n = vectors.size();
    result.points.fill(QPointF(0, 0), n);
    if (n < 2)
        return result;
    const qsizetype d = vectors.front().size();
    for (const EmbeddingVector &v : vectors) {
        if (v.size() != d)
            return result;
    }

    Eigen::MatrixXd x(n, d);
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = 0; j < d; ++j)
            x(i, j) = vectors[i][j];
    }
    x.rowwise() -= x.colwise().mean();
    const Eigen::MatrixXd gram = x * x.transpose();

    // The Gram matrix's eigenvalues are those of the scatter matrix, and its
    // unit eigenvector u for eigenvalue λ gives the points' coordinates
    // along that component as u·√λ.
    const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(gram);
    if (solver.info() != Eigen::Success)
        return result;
    const Eigen::VectorXd values = solver.eigenvalues().cwiseMax(0.0); // ascending
    const double total = values.sum();
    if (!(total > 1e-12 * std::max(1.0, gram.cwiseAbs().maxCoeff())))
        return result;

    double *shares[2] = {&result.firstShare, &result.secondShare};
    for (int axis = 0; axis < 2; ++axis) {
        const Eigen::Index index = n - 1 - axis;
        Eigen::VectorXd u = solver.eigenvectors().col(index);
        if (!pointsTheRightWay(u, vectors))
            u = -u;
        const double scale = std::sqrt(values(index));
        for (qsizetype i = 0; i < n; ++i) {
            if (axis == 0)
                result.points[i].setX(u(i) * scale);
            else
                result.points[i].setY(u(i) * scale);
        }
        *shares[axis] = values(index) / total;
    }
    return result;
}

QList<Neighbour> nearestNeighbours(const Matrix &matrix)
{
    QList<Neighbour> neighbours;
    const qsizetype n = matrix.size();
    if (n < 2)
        return neighbours;
    for (qsizetype i = 0; i < n; ++i) {
        Neighbour best{int(i), -1, 0.0f};
        for (qsizetype j = 0; j < n; ++j) {
            if (j == i)
                continue;
            if (best.nearest < 0 || matrix[i][j] > best.similarity) {
                best.nearest = int(j);
                best.similarity = matrix[i][j];
            }
        }
        neighbours.append(best);
    }
    return neighbours;
}

QString percentText(float similarity)
{
    const std::optional<float> shown = shownSimilarity(similarity);
    if (!shown)
        return QStringLiteral("–");
    return Languages::percent(SimilarityReadingText::gaugePercentage(*shown), QStringLiteral(" "));
}

QString neighbourLine(const Neighbour &neighbour)
{
    return QCoreApplication::translate("SentenceMap", "%1 is closest to %2, %3")
        .arg(neighbour.sentence + 1)
        .arg(neighbour.nearest + 1)
        .arg(percentText(neighbour.similarity));
}

QString spreadLine(const Projection &projection)
{
    if (!(projection.explainedShare() > 0))
        return QCoreApplication::translate("SentenceMap",
                                           "These sentences' vectors do not spread out at all, so every point sits in the "
                                           "middle.");
    const long percent = std::lround(projection.explainedShare() * 100.0);
    return QCoreApplication::translate("SentenceMap", "These two directions hold %1 % of the spread.")
        .arg(QLocale().toString(percent));
}

Layout computeLayout(const QList<EmbeddingVector> &vectors)
{
    Layout layout;
    layout.matrix = similarityMatrix(vectors);
    layout.projection = principalProjection(vectors);
    layout.neighbours = nearestNeighbours(layout.matrix);
    return layout;
}

QByteArray matrixCsv(const QStringList &sentences, const Matrix &matrix)
{
    // The sentence is text and may start like a formula; the rest are numbers.
    const auto row = [](const QStringList &values) {
        QStringList quoted;
        for (qsizetype i = 0; i < values.size(); ++i)
            quoted.append(i == 1 ? HistoryCsv::textField(values.at(i)) : HistoryCsv::field(values.at(i)));
        return quoted.join(QLatin1Char(',')).toUtf8() + QByteArrayLiteral("\r\n");
    };
    QStringList header{QStringLiteral("#"), QStringLiteral("Sentence")};
    for (qsizetype j = 0; j < matrix.size(); ++j)
        header.append(QString::number(j + 1));
    QByteArray data = row(header);
    for (qsizetype i = 0; i < matrix.size(); ++i) {
        QStringList values{QString::number(i + 1), sentences.value(i)};
        for (const float value : matrix[i])
            values.append(SimilarityReadingText::number(shownSimilarity(value).value_or(0.0f)));
        data += row(values);
    }
    return data;
}

} // namespace SentenceMap
