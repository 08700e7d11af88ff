#include "FormSection.h"

#include "FormStyle.h"

#include <QEvent>
#include <QVBoxLayout>

FormSection::FormSection(int spacing, QWidget *parent)
    : RoundedPanel(parent)
    , m_stack(new QVBoxLayout(this))
{
    // 8 px above and below the content; the side insets of a form row.
    m_stack->setContentsMargins(14, 8, 14, 8);
    m_stack->setSpacing(spacing);
    m_stack->setAlignment(Qt::AlignTop);
    setRadius(8);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    applyColors();
}

void FormSection::changeEvent(QEvent *event)
{
    RoundedPanel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void FormSection::applyColors()
{
    setFillColor(FormStyle::sectionFill(palette()));
    setBorderColor(FormStyle::sectionBorder(palette()), 1.0);
}
