#include "ProminentButton.h"

#include "BusyIndicator.h"
#include "NamedColors.h"
#include "RoundedPanel.h"
#include "TextStyles.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

ProminentButton::ProminentButton(QWidget *parent)
    : QPushButton(parent)
    , m_spinner(new BusyIndicator(16, this))
{
    m_spinner->setObjectName(QStringLiteral("busyIndicator"));
    m_spinner->setDrawScale(0.8);
    m_spinner->setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ProminentButton::setBusy(bool busy)
{
    m_busy = busy;
    m_spinner->setVisible(busy);
    placeSpinner();
    update();
}

QSize ProminentButton::sizeHint() const
{
    const int textHeight = qMax(fontMetrics().height(), m_spinnerBox);
    // The widest label grows with the zoom, like the text in it.
    return {TextStyles::scaled(maxLabelWidth) + 2 * (m_paddingH + m_ring), textHeight + 2 * (m_paddingV + m_ring)};
}

void ProminentButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &pal = palette();
    const QRectF box = QRectF(rect()).adjusted(m_ring, m_ring, -m_ring, -m_ring);
    const QPainterPath shape = RoundedPanel::continuousRoundedRect(box, m_radius);

    QColor fill = pal.color(QPalette::Active, QPalette::Highlight);
    if (!isEnabled())
        fill = NamedColors::withOpacity(pal.color(QPalette::Active, QPalette::WindowText), 0.1);
    else if (isDown())
        fill = fill.darker(120);
    else if (underMouse())
        fill = fill.lighter(110);
    painter.fillPath(shape, fill);

    if (hasFocus() && isEnabled()) {
        const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
        const QPainterPath ring = RoundedPanel::continuousRoundedRect(outer, m_radius + m_ring - 1);
        painter.setPen(QPen(NamedColors::withOpacity(pal.color(QPalette::Active, QPalette::Highlight), 0.5), 2));
        painter.drawPath(ring);
    }

    painter.setPen(labelColor());
    painter.setFont(font());
    const QRect row = labelRow();
    const QRect textRect = row.adjusted(m_busy ? m_spinnerBox + m_gap : 0, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));
}

void ProminentButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    placeSpinner();
}

void ProminentButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::PaletteChange)
        m_spinner->setColor(labelColor());
}

QColor ProminentButton::labelColor() const
{
    if (isEnabled())
        return palette().color(QPalette::Active, QPalette::HighlightedText);
    // The dimmed text of the active palette: the disabled group's own
    // text colour barely shows on the grey fill.
    QPalette active = palette();
    active.setCurrentColorGroup(QPalette::Active);
    return NamedColors::secondaryText(active);
}

QRect ProminentButton::labelRow() const
{
    // One pixel of slack keeps the text from being elided by rounding.
    const int textWidth = fontMetrics().horizontalAdvance(text()) + 1;
    const int wanted = (m_busy ? m_spinnerBox + m_gap : 0) + textWidth;
    const int available = qMin(TextStyles::scaled(maxLabelWidth), width() - 2 * (m_paddingH + m_ring));
    const int rowWidth = qMin(wanted, available);
    return {(width() - rowWidth) / 2, 0, rowWidth, height()};
}

void ProminentButton::placeSpinner()
{
    const QRect row = labelRow();
    m_spinner->setGeometry(row.left(), (height() - m_spinnerBox) / 2, m_spinnerBox, m_spinnerBox);
    m_spinner->setColor(labelColor());
}
