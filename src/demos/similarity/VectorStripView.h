#pragma once

#include "SimilarityMath.h"

#include <QColor>
#include <QWidget>

// A compact picture of two embedding vectors: one horizontal strip per
// vector, one cell per dimension, the strips aligned so that the same
// dimension sits at the same place in both. A cell is blue below 0, red above
// and fades to the background colour near 0, on one scale for both vectors,
// so that matching patterns (a high similarity) can be seen at a glance.
// When there are more dimensions than pixels, a pixel column shows the mean
// of the dimensions it covers.
//
// Its accessible description is a text alternative: each vector's length and
// first components.
class VectorStripView : public QWidget
{
    Q_OBJECT

public:
    explicit VectorStripView(QWidget *parent = nullptr);

    const EmbeddingVector &first() const { return m_first; }
    const EmbeddingVector &second() const { return m_second; }
    void setVectors(const EmbeddingVector &first, const EmbeddingVector &second);

    // The largest magnitude of any finite component of either vector: the
    // value that gets the full colour. 0 when there is none.
    static float scale(const EmbeddingVector &first, const EmbeddingVector &second);

    // The values of `columns` columns across a vector: the mean of the
    // components each column covers, in order. With at least as many columns
    // as components, the components themselves.
    static QList<float> columnValues(const EmbeddingVector &vector, int columns);

    // The colour of a value: `middle` at 0, `negative` at -scale and below,
    // `positive` at +scale and above, mixed in between. `middle` for a value
    // that is not finite or a scale that is not positive.
    static QColor divergingColor(float value, float scale, const QColor &negative, const QColor &middle,
                                 const QColor &positive);

    // The text alternative of the picture.
    static QString describe(const EmbeddingVector &first, const EmbeddingVector &second);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int labelWidth() const;

    EmbeddingVector m_first;
    EmbeddingVector m_second;
};
