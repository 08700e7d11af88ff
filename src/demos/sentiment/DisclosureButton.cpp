#include "DisclosureButton.h"

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
}
