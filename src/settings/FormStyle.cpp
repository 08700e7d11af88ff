#include "FormStyle.h"

#include "widgets/NamedColors.h"

#include <QLabel>
#include <QPalette>

namespace FormStyle {

QLabel *label(const QString &text, TextStyle style, const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    TextStyles::apply(label, style);
    return label;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    if (palette.color(QPalette::WindowText) == color && palette.isBrushSet(QPalette::Active, QPalette::WindowText))
        return;
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, color);
    widget->setPalette(palette);
}

QColor sectionFill(const QPalette &palette)
{
    const QColor window = palette.color(QPalette::Window);
    if (NamedColors::isDark(palette))
        return window.lighter(125);
    // Light: the base (white) colour, or a touch lighter than the window when
    // the base is the window colour itself.
    const QColor base = palette.color(QPalette::Base);
    return base != window ? base : window.lighter(106);
}

QColor sectionBorder(const QPalette &palette)
{
    return NamedColors::withOpacity(palette.color(QPalette::WindowText), NamedColors::isDark(palette) ? 0.12 : 0.10);
}

} // namespace FormStyle

#include <QGuiApplication>
#include <QPushButton>

namespace FormStyle {

void makeProminent(QPushButton *button)
{
    // Colours come from the parent, whose palette follows the application's;
    // the button's own palette is left alone.
    const QPalette palette = button->parentWidget() ? button->parentWidget()->palette() : QGuiApplication::palette();
    const bool dark = NamedColors::isDark(palette);
    const QColor accent = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor text = palette.color(QPalette::Active, QPalette::HighlightedText);
    const QColor border = accent.darker(dark ? 130 : 115);
    const QColor hover = accent.lighter(dark ? 115 : 108);
    const QColor pressed = accent.darker(dark ? 125 : 120);
    const QColor focusRing = dark ? accent.lighter(150) : accent.darker(150);
    const QColor disabledFill = NamedColors::withOpacity(palette.color(QPalette::WindowText), dark ? 0.10 : 0.06);
    const QColor disabledText = NamedColors::withOpacity(palette.color(QPalette::WindowText), 0.35);
    const QColor disabledBorder = NamedColors::withOpacity(palette.color(QPalette::WindowText), 0.12);
    auto css = [](const QColor &c) { return c.name(QColor::HexArgb); };

    const QString sheet =
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid %3; border-radius: 5px;"
                       " padding: 3px 16px; }"
                       "QPushButton:hover { background-color: %4; }"
                       "QPushButton:pressed { background-color: %5; }"
                       "QPushButton:focus { border: 2px solid %6; padding: 2px 15px; }"
                       "QPushButton:disabled { background-color: %7; color: %8; border: 1px solid %9; }")
            .arg(css(accent), css(text), css(border), css(hover), css(pressed), css(focusRing), css(disabledFill),
                 css(disabledText), css(disabledBorder));
    if (button->styleSheet() != sheet)
        button->setStyleSheet(sheet);
}

} // namespace FormStyle
