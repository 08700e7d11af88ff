#include "NamedColors.h"

#include <cmath>

#include <QGuiApplication>

namespace NamedColors {

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

qreal contrastRatio(const QColor &a, const QColor &b)
{
    // Relative luminance of an sRGB colour.
    const auto luminance = [](const QColor &c) {
        const auto linear = [](qreal v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const qreal la = luminance(a.toRgb()), lb = luminance(b.toRgb());
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

QColor color(NamedColor name, const QPalette &palette)
{
    // Light tones are deep enough to keep a contrast of at least 3.5:1 as
    // text on a light window (yellow becomes a dark mustard); dark tones are
    // brightened to do the same on a dark window.
    const bool dark = isDark(palette);
    switch (name) {
    case NamedColor::Red: return dark ? QColor(255, 105, 97) : QColor(212, 36, 36);
    case NamedColor::Orange: return dark ? QColor(255, 170, 60) : QColor(198, 96, 0);
    case NamedColor::Yellow: return dark ? QColor(255, 214, 10) : QColor(158, 118, 0);
    case NamedColor::Green: return dark ? QColor(60, 205, 100) : QColor(28, 138, 56);
    case NamedColor::Blue: return dark ? QColor(64, 156, 255) : QColor(16, 104, 224);
    case NamedColor::Purple: return dark ? QColor(200, 120, 255) : QColor(136, 64, 196);
    case NamedColor::Gray: return dark ? QColor(152, 152, 157) : QColor(112, 112, 118);
    }
    return palette.color(QPalette::WindowText);
}

QColor color(NamedColor name)
{
    return color(name, QGuiApplication::palette());
}

QColor color(NamedColor name, qreal opacity, const QPalette &palette)
{
    return withOpacity(color(name, palette), opacity);
}

QColor color(NamedColor name, qreal opacity)
{
    return color(name, opacity, QGuiApplication::palette());
}

QColor secondaryText(const QPalette &palette)
{
    // A little over half way from the window colour to the text colour: it
    // reads as dimmed but keeps a contrast of about 5:1 on the usual palettes.
    constexpr float amount = 0.55f;
    const QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    return QColor::fromRgbF(window.redF() + (text.redF() - window.redF()) * amount,
                            window.greenF() + (text.greenF() - window.greenF()) * amount,
                            window.blueF() + (text.blueF() - window.blueF()) * amount);
}

QColor secondaryText()
{
    return secondaryText(QGuiApplication::palette());
}

QColor withOpacity(QColor c, qreal opacity)
{
    c.setAlphaF(static_cast<float>(c.alphaF() * opacity));
    return c;
}

} // namespace NamedColors
