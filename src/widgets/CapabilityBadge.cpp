#include "CapabilityBadge.h"

#include "NamedColors.h"
#include "RoundedPanel.h"
#include "TextStyles.h"

#include <QPainter>
#include <QPainterPath>

CapabilityBadge::CapabilityBadge(const QString &text, const QColor &color, QWidget *parent)
    : QLabel(parent)
    , m_color(color)
{
    TextStyles::apply(this, TextStyle::Caption2);
    setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding, verticalPadding);
    setAlignment(Qt::AlignCenter);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
    setAttribute(Qt::WA_TranslucentBackground);
    applyTextColor();
    setText(text);
}

void CapabilityBadge::setText(const QString &text)
{
    QLabel::setText(text);
    setAccessibleName(text);
}

void CapabilityBadge::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    applyTextColor();
    update();
}

QColor CapabilityBadge::fillColor() const
{
    return NamedColors::withOpacity(m_color, fillOpacity);
}

void CapabilityBadge::applyTextColor()
{
    // Only the text roles are set on the widget's palette, so the other roles
    // keep following the application's (light or dark) palette.
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, m_color);
    pal.setColor(QPalette::Text, m_color);
    setPalette(pal);
}

void CapabilityBadge::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(RoundedPanel::continuousRoundedRect(QRectF(rect()), cornerRadius), fillColor());
    }
    QLabel::paintEvent(event);
}
