#pragma once

#include <QColor>
#include <QFrame>
#include <QPainterPath>

// A container drawn as a filled rounded rectangle, optionally outlined: the
// cards, warning boxes and detail panels of the screens. The corners are
// "continuous": the curve eases out of the straight edges instead of joining
// them with a plain quarter circle.
class RoundedPanel : public QFrame
{
    Q_OBJECT

public:
    explicit RoundedPanel(QWidget *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    // The fill; an invalid colour draws no fill.
    QColor fillColor() const { return m_fill; }
    void setFillColor(const QColor &color);

    // An outline of the given width; an invalid colour draws none.
    QColor borderColor() const { return m_border; }
    qreal borderWidth() const { return m_borderWidth; }
    void setBorderColor(const QColor &color, qreal width = 1.0);

    // A rounded rectangle with continuous corners of about the given radius
    // (the radius is reduced for rectangles too small to hold it).
    static QPainterPath continuousRoundedRect(const QRectF &rect, qreal radius);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qreal m_radius = 8.0;
    QColor m_fill;
    QColor m_border;
    qreal m_borderWidth = 1.0;
};
