#pragma once

#include <QColor>
#include <QPalette>

// The named colours of the interface. Each has a tone for light and one for
// dark palettes, chosen to read well as text and as a tinted background.
enum class NamedColor {
    Red,
    Orange,
    Yellow,
    Green,
    Blue,
    Purple,
    Gray,
};

namespace NamedColors {

// Whether a palette is dark (its window colour is darker than its text).
bool isDark(const QPalette &palette);

// The contrast ratio of two opaque colours as the web's accessibility
// guidelines define it: from 1 (the same) to 21 (black and white).
qreal contrastRatio(const QColor &a, const QColor &b);

// The colour for the given palette (the application palette by default).
QColor color(NamedColor name, const QPalette &palette);
QColor color(NamedColor name);

// The same colour with an opacity from 0 to 1.
QColor color(NamedColor name, qreal opacity, const QPalette &palette);
QColor color(NamedColor name, qreal opacity);

// The dimmed colour of secondary text.
QColor secondaryText(const QPalette &palette);
QColor secondaryText();

// `c` with the given opacity.
QColor withOpacity(QColor c, qreal opacity);

} // namespace NamedColors
