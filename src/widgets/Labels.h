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

// Sets the colour a label or text widget draws its text in.
void setForeground(QWidget *widget, const QColor &color);
