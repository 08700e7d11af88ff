#include "StatusRow.h"

#include "FormStyle.h"
#include "widgets/SymbolView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

StatusRow::StatusRow(TextStyle style, Tone tone, QWidget *parent)
    : QWidget(parent)
    , m_tone(tone)
    , m_symbol(new SymbolView(QString(), 16, QColor(), this))
    , m_label(FormStyle::label(QString(), style, QStringLiteral("text"), this))
{
    m_symbol->setObjectName(QStringLiteral("symbol"));
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);

    // The symbol a little taller than the text's capitals, like an icon that
    // sits in a line of text.
    m_symbol->setSide(qRound(QFontMetrics(m_label->font()).height() * 1.05));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_symbol, 0, Qt::AlignVCenter);
    row->addWidget(m_label, 1, Qt::AlignVCenter);
    applyColors();
}

void StatusRow::setVerticalPadding(int padding)
{
    layout()->setContentsMargins(0, padding, 0, padding);
}

void StatusRow::setSymbol(const QString &name, NamedColor color)
{
    m_symbol->setSymbolName(name);
    m_color = color;
    applyColors();
}

void StatusRow::setText(const QString &text)
{
    if (m_label->text() == text)
        return;
    m_label->setText(text);
    m_label->setAccessibleName(text);
    setAccessibleName(text);
}

void StatusRow::setSpinning(bool spinning)
{
    m_symbol->setSpinning(spinning);
}

QString StatusRow::symbolName() const
{
    return m_symbol->symbolName();
}

QString StatusRow::text() const
{
    return m_label->text();
}

bool StatusRow::isSpinning() const
{
    return m_symbol->isSpinning();
}

void StatusRow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void StatusRow::applyColors()
{
    m_symbol->setColor(NamedColors::color(m_color, palette()));
    if (m_tone == Tone::Secondary)
        FormStyle::setTextColor(m_label, NamedColors::secondaryText(palette()));
}
