#pragma once

#include "SentenceMapMath.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QWidget>

class QAbstractButton;

// The map of meaning: one labelled point per sentence at its place along the
// vectors' two main directions, drawn at the same scale on both axes so that
// distances are not stretched one way. Each point is a focusable child that
// names its whole sentence (tool tip and accessible name); the label beside
// it shows the number and the first words, and the focused point's whole
// sentence is written under the map.
class SentenceMapPlot : public QWidget
{
    Q_OBJECT

public:
    explicit SentenceMapPlot(QWidget *parent = nullptr);

    // An empty list of sentences clears the map.
    void setMap(const QStringList &sentences, const SentenceMap::Projection &projection);

    // The focusable points, in sentence order.
    QList<QWidget *> markers() const;

    // The number and the first few words: "3 The cat sat on…".
    static QString shortLabel(int index, const QString &sentence);
    // Maps the points into `area` at one scale for both axes (the larger
    // spread fills its side), centred; y grows upwards on the map.
    static QList<QPointF> placePoints(const QList<QPointF> &points, const QRectF &area);
    // Puts each label next to its point, trying several sides and distances
    // and taking the first place that covers no other label or point (else
    // the one that covers least), always inside `bounds`.
    static QList<QRectF> placeLabels(const QList<QPointF> &anchors, const QList<QSizeF> &sizes, const QRectF &bounds,
                                     qreal pointRadius);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The square in which the points lie, inside the axis captions.
    QRectF plotArea() const;
    QRectF captionArea() const;
    void layoutMarkers();

    QStringList m_sentences;
    SentenceMap::Projection m_projection;
    QList<QPointF> m_placed;
    QList<QRectF> m_labels;
    QList<QWidget *> m_markers;
    // Hidden points of an earlier, larger map, for the next one.
    QList<QWidget *> m_spareMarkers;
    int m_focused = -1;
};
