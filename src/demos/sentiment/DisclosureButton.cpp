#include "DisclosureButton.h"

#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"

#include <QEvent>
#include <QPainterPath>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {

// The arrow as an icon, drawn at the button's icon size so that it grows
// with the font and the zoom (the styles draw their own arrows at one size).
QIcon arrowIcon(bool open, const QSize &size, const QColor &color, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(size.width() * 0.2, size.height() * 0.2,
                                                                       -size.width() * 0.2, -size.height() * 0.2);
    QPainterPath triangle;
    if (open) {
        triangle.moveTo(box.left(), box.top() + box.height() * 0.2);
        triangle.lineTo(box.right(), box.top() + box.height() * 0.2);
        triangle.lineTo(box.center().x(), box.bottom() - box.height() * 0.1);
    } else {
        triangle.moveTo(box.left() + box.width() * 0.2, box.top());
        triangle.lineTo(box.right() - box.width() * 0.1, box.center().y());
        triangle.lineTo(box.left() + box.width() * 0.2, box.bottom());
    }
    triangle.closeSubpath();
    painter.fillPath(triangle, color);
    painter.end();
    return QIcon(pixmap);
}

} // namespace

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
    fitArrowToFont();
}

void DisclosureButton::fitArrowToFont()
{
    const int side = qMax(8, fontMetrics().height() * 3 / 4);
    setIconSize(QSize(side, side));
}

void DisclosureButton::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitArrowToFont();
}

void DisclosureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_On;
    if (!isDown())
        option.state &= ~QStyle::State_Sunken;
    option.arrowType = Qt::NoArrow;
    option.features &= ~QStyleOptionToolButton::Arrow;
    option.icon = arrowIcon(isChecked(), option.iconSize,
                            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText),
                            devicePixelRatioF());
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
