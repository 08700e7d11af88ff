#include "BusyIndicator.h"

#include "Retranslate.h"

#include <QPainter>
#include <QVariantAnimation>

BusyIndicator::BusyIndicator(int side, QWidget *parent)
    : QWidget(parent)
    , m_side(side)
    , m_rotation(new QVariantAnimation(this))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Retranslate::texts(this, [this] { setAccessibleName(tr("Busy")); });
    m_rotation->setStartValue(0.0);
    m_rotation->setEndValue(360.0);
    m_rotation->setDuration(900);
    m_rotation->setLoopCount(-1);
    connect(m_rotation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_angle = value.toReal();
        update();
    });
}

void BusyIndicator::setDrawScale(qreal scale)
{
    m_scale = scale;
    update();
}

void BusyIndicator::setColor(const QColor &color)
{
    m_color = color;
    update();
}

QSize BusyIndicator::sizeHint() const
{
    return {m_side, m_side};
}

QSize BusyIndicator::minimumSizeHint() const
{
    return sizeHint();
}

void BusyIndicator::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_rotation->start();
}

void BusyIndicator::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_rotation->stop();
}

void BusyIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) * m_scale;
    const qreal pen = qMax(1.5, side / 7.5);
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(m_angle);
    const QRectF circle(-side / 2 + pen / 2, -side / 2 + pen / 2, side - pen, side - pen);

    const QColor base = m_color.isValid() ? m_color : palette().color(foregroundRole());
    QColor track = base;
    track.setAlphaF(track.alphaF() * 0.18f);
    painter.setPen(QPen(track, pen));
    painter.drawEllipse(circle);
    painter.setPen(QPen(base, pen, Qt::SolidLine, Qt::RoundCap));
    // A quarter-and-a-bit arc that turns.
    painter.drawArc(circle, 90 * 16, -100 * 16);
}
