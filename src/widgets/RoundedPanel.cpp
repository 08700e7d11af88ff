#include "RoundedPanel.h"

#include <QPainter>
#include <QPainterPath>

RoundedPanel::RoundedPanel(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void RoundedPanel::setRadius(qreal radius)
{
    m_radius = radius;
    update();
}

void RoundedPanel::setFillColor(const QColor &color)
{
    m_fill = color;
    update();
}

void RoundedPanel::setBorderColor(const QColor &color, qreal width)
{
    m_border = color;
    m_borderWidth = width;
    update();
}

void RoundedPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = m_border.isValid() ? m_borderWidth / 2.0 : 0.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    QPainterPath path;
    path.addRoundedRect(box, m_radius, m_radius);
    if (m_fill.isValid())
        painter.fillPath(path, m_fill);
    if (m_border.isValid()) {
        painter.setPen(QPen(m_border, m_borderWidth));
        painter.drawPath(path);
    }
}
