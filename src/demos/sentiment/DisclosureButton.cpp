#include "DisclosureButton.h"

#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

DisclosureButton::DisclosureButton(const QString &text, QWidget *parent)
    : QToolButton(parent)
{
    setText(text);
    setAccessibleName(text);
    setCheckable(true);
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setArrowType(Qt::RightArrow);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QToolButton::toggled, this,
            [this](bool open) { setArrowType(open ? Qt::DownArrow : Qt::RightArrow); });
}

void DisclosureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_On;
    if (!isDown())
        option.state &= ~QStyle::State_Sunken;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    // A flat button shows no focus of its own in every style; this ring
    // makes the keyboard focus plain, like the demo's main button does.
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(NamedColors::withOpacity(palette().color(QPalette::Active, QPalette::Highlight), 0.6), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(RoundedPanel::continuousRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 5));
    }
}
