#include "SymbolView.h"

#include "Symbols.h"

#include <QPainter>
#include <QVariantAnimation>

SymbolView::SymbolView(const QString &name, int side, const QColor &color, QWidget *parent)
    : QWidget(parent)
    , m_name(name)
    , m_side(side)
    , m_color(color)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TranslucentBackground);
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

bool SymbolView::isSpinning() const
{
    return m_rotation && m_rotation->state() == QAbstractAnimation::Running;
}

void SymbolView::setSpinning(bool spinning)
{
    if (spinning == isSpinning())
        return;
    if (spinning) {
        if (!m_rotation) {
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
        m_rotation->start();
    } else {
        m_rotation->stop();
        m_angle = 0;
        update();
    }
}

QSize SymbolView::sizeHint() const
{
    return {m_side, m_side};
}

QSize SymbolView::minimumSizeHint() const
{
    return sizeHint();
}

void SymbolView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    if (m_angle != 0)
        painter.rotate(m_angle);
    Symbols::paint(&painter, m_name, QRectF(-side / 2, -side / 2, side, side), m_color);
}
