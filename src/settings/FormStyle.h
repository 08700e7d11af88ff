#pragma once

#include "widgets/TextStyles.h"

#include <QColor>
#include <QString>

class QLabel;
class QPalette;
class QWidget;

// Small helpers shared by the settings screens: labels in a text style, text
// colours and the colours of a grouped form's sections.
namespace FormStyle {

// A label in the given style, named for tests and accessibility clients.
QLabel *label(const QString &text, TextStyle style, const QString &objectName, QWidget *parent = nullptr);

// Sets the colour a widget draws its text in (labels, buttons, fields).
void setTextColor(QWidget *widget, const QColor &color);

// The fill and outline of a form section: a raised card on the window colour
// in light palettes, a slightly lighter panel in dark ones.
QColor sectionFill(const QPalette &palette);
QColor sectionBorder(const QPalette &palette);

} // namespace FormStyle

class QPushButton;

namespace FormStyle {

// Draws a push button filled with the accent colour (the palette's
// highlight), the prominent style of a screen's main action, with a visible
// focus ring and a muted disabled state. Call again after a palette change.
void makeProminent(QPushButton *button);

} // namespace FormStyle
