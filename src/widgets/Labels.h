#pragma once

#include "TextStyles.h"

#include <QColor>
#include <QString>

#include <optional>

class QLabel;
class QWidget;

// A word-wrapping plain-text label in a text style, named for tests and
// assistive technology. Plain text, so that text from a server is never read
// as markup.
QLabel *makeLabel(const QString &objectName, const QString &text, TextStyle style,
                  std::optional<QFont::Weight> weight = std::nullopt);

// A value the user may want to copy: plain text, selectable with the mouse,
// in a monospaced face so that digits line up from row to row and spaces and
// punctuation are easy to count.
QLabel *makeValueLabel(const QString &objectName, TextStyle style = TextStyle::Body);

// Sets the colour a label or text widget draws its text in.
void setForeground(QWidget *widget, const QColor &color);
