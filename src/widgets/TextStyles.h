#pragma once

#include <QFont>
#include <QList>

class QWidget;

// The named text styles, sized relative to the application font so that they
// follow the user's font settings. Body is the application font itself.
//
// The zoom multiplies the application font, and so every style, and the
// painted sizes that widgets take through scaled(). Widgets whose style was
// set with apply() or applyMonospaced() take the new size when the zoom
// changes; every other widget gets a FontChange event.
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

// Sets the widget's font to the style, and keeps it at the style's size
// when the zoom changes.
void apply(QWidget *widget, TextStyle style);
void apply(QWidget *widget, TextStyle style, QFont::Weight weight);
void applyMonospaced(QWidget *widget, TextStyle style);

// The zoom steps in percent, smallest first: 50 to 300.
const QList<int> &zoomSteps();
// The step after (direction > 0) or before (direction < 0) `percent`; the
// nearest step when direction is 0. Stays at the ends of the range.
int zoomStep(int percent, int direction);
int zoomPercent();
qreal zoomFactor();
// Scales the application font from the size it had at 100 % and re-applies
// the styles of styled widgets. Takes the nearest step.
void setZoomPercent(int percent);
// A length in pixels at 100 %, at the current zoom.
int scaled(qreal pixels);
// The line height of a style at 100 %, for sizes that scaled() grows.
int unzoomedLineHeight(TextStyle style);

} // namespace TextStyles
