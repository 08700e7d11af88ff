#include "RoundedPanel.h"

#include <QPainter>

#include <algorithm>

RoundedPanel::RoundedPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void RoundedPanel::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    update();
}

void RoundedPanel::setFillColor(const QColor &color)
{
    if (m_fill == color)
        return;
    m_fill = color;
    update();
}

void RoundedPanel::setBorderColor(const QColor &color, qreal width)
{
    if (m_border == color && qFuzzyCompare(m_borderWidth, width))
        return;
    m_border = color;
    m_borderWidth = width;
    update();
}

QPainterPath RoundedPanel::continuousRoundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    if (radius <= 0) {
        path.addRect(rect);
        return path;
    }
    // Each corner is one cubic curve that starts 1.3 radii before the corner
    // on both edges. Its handles are tangent to the edges, so the curvature
    // grows gently out of the straight line; the handle length (26.8 % of
    // that reach, so 0.348 from the corner) puts the curve's midpoint where a
    // quarter circle of the given radius would pass.
    constexpr qreal reach = 1.3;
    constexpr qreal handle = 0.732;
    const qreal a = std::min(radius * reach, std::min(rect.width(), rect.height()) / 2.0);
    const qreal d = a * (1.0 - handle);
    const qreal l = rect.left();
    const qreal t = rect.top();
    const qreal r = rect.right();
    const qreal b = rect.bottom();

    path.moveTo(l + a, t);
    path.lineTo(r - a, t);
    path.cubicTo(r - d, t, r, t + d, r, t + a);
    path.lineTo(r, b - a);
    path.cubicTo(r, b - d, r - d, b, r - a, b);
    path.lineTo(l + a, b);
    path.cubicTo(l + d, b, l, b - d, l, b - a);
    path.lineTo(l, t + a);
    path.cubicTo(l, t + d, l + d, t, l + a, t);
    path.closeSubpath();
    return path;
}

void RoundedPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline is centred on the path; inset it by half its width so it
    // stays inside the widget, and shrink the radius to match the fill.
    const qreal inset = m_border.isValid() ? m_borderWidth / 2.0 : 0.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    const QPainterPath path = continuousRoundedRect(box, std::max<qreal>(m_radius - inset, 0.0));
    if (m_fill.isValid())
        painter.fillPath(path, m_fill);
    if (m_border.isValid() && m_borderWidth > 0) {
        painter.setPen(QPen(m_border, m_borderWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}
