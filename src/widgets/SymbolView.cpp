#include "SymbolView.h"

#include "Symbols.h"
#include "TextStyles.h"

#include <QPainter>
#include <QVariantAnimation>

SymbolView::SymbolView(const QString &name, int side, const QColor &color, QWidget *parent)
    : QWidget(parent)
    , m_name(name)
    , m_side(side)
    , m_color(color)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbolName(const QString &name)
{
    if (m_name == name)
        return;
    m_name = name;
    update();
}

void SymbolView::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
}

void SymbolView::setSide(int side)
{
    if (m_side == side)
        return;
    m_side = side;
    updateGeometry();
    update();
}

void SymbolView::setSpinning(bool spinning)
{
    if (spinning == m_spinning)
        return;
    m_spinning = spinning;
    if (!spinning) {
        // At rest the symbol stands upright.
        m_angle = 0;
        update();
    }
    updateRotation();
}

void SymbolView::updateRotation()
{
    const bool run = m_spinning && isVisible();
    if (run && !m_rotation) {
        m_rotation = new QVariantAnimation(this);
        m_rotation->setStartValue(0.0);
        m_rotation->setEndValue(360.0);
        m_rotation->setDuration(1000);
        m_rotation->setLoopCount(-1);
        connect(m_rotation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
            m_angle = value.toReal();
            update();
        });
    }
    if (!m_rotation)
        return;
    if (run && m_rotation->state() != QAbstractAnimation::Running)
        m_rotation->start();
    else if (!run)
        m_rotation->stop();
}

void SymbolView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    updateRotation();
}

void SymbolView::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    updateRotation();
}

QSize SymbolView::sizeHint() const
{
    // The side is given at 100 %; a zoom change arrives as a font change,
    // which makes the layout ask again.
    const int side = TextStyles::scaled(m_side);
    return {side, side};
}

QSize SymbolView::minimumSizeHint() const
{
    return sizeHint();
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const qreal side = qMin(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    if (m_angle != 0)
        painter.rotate(m_angle);
    Symbols::paint(&painter, m_name, QRectF(-side / 2, -side / 2, side, side), m_color);
}
