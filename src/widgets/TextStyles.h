#pragma once

#include <QFont>

class QWidget;

// The named text styles, sized relative to the application font so that they
// follow the user's font settings. Body is the application font itself.
enum class TextStyle {
    Title,
    Title2,
    Title3,
    Headline,
    Subheadline,
    Body,
    Caption,
    Caption2,
};

namespace TextStyles {

// The font of a style, derived from `base` (the application font by default).
QFont font(TextStyle style, const QFont &base);
QFont font(TextStyle style);

// The same with a weight other than the style's own.
QFont font(TextStyle style, QFont::Weight weight);

// A monospaced font at the size of the given style.
QFont monospaced(TextStyle style);

// Point size of a style relative to a base point size.
qreal pointSize(TextStyle style, qreal basePointSize);

// Sets the widget's font to the style.
void apply(QWidget *widget, TextStyle style);
void apply(QWidget *widget, TextStyle style, QFont::Weight weight);

} // namespace TextStyles
