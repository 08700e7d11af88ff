#pragma once

#include <QColor>
#include <QWidget>

// The one colour scale of the similarity matrix, and its legend: a bar from
// the lowest colour (0 % and below) to the highest (100 %), marked at every
// 25 %. The scale runs from dark violet through teal to yellow, so its
// lightness rises steadily and the cells read in order on light and dark
// backgrounds alike.
class SimilarityLegend : public QWidget
{
    Q_OBJECT

public:
    explicit SimilarityLegend(QWidget *parent = nullptr);

    // The colour of a similarity; below 0 takes the 0 colour, above 1 the 1.
    static QColor colorFor(float similarity);
    // Black or white, whichever reads better on the colour.
    static QColor textColorOn(const QColor &background);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
};
