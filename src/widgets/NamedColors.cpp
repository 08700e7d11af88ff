#include "NamedColors.h"

#include <QGuiApplication>

namespace NamedColors {

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness();
}

QColor color(NamedColor name, const QPalette &palette)
{
    const bool dark = isDark(palette);
    switch (name) {
    case NamedColor::Red: return dark ? QColor(255, 105, 97) : QColor(215, 40, 40);
    case NamedColor::Orange: return dark ? QColor(255, 170, 60) : QColor(225, 120, 0);
    case NamedColor::Yellow: return dark ? QColor(255, 214, 10) : QColor(200, 160, 0);
    case NamedColor::Green: return dark ? QColor(60, 205, 100) : QColor(30, 150, 60);
    case NamedColor::Blue: return dark ? QColor(64, 156, 255) : QColor(20, 110, 230);
    case NamedColor::Purple: return dark ? QColor(200, 120, 255) : QColor(140, 70, 200);
    case NamedColor::Gray: return dark ? QColor(152, 152, 157) : QColor(128, 128, 133);
    }
    return palette.color(QPalette::Text);
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
    QColor text = palette.color(QPalette::WindowText);
    const QColor window = palette.color(QPalette::Window);
    // Two thirds of the way from the background to the text colour.
    return QColor::fromRgbF(window.redF() + (text.redF() - window.redF()) * 0.62f,
                            window.greenF() + (text.greenF() - window.greenF()) * 0.62f,
                            window.blueF() + (text.blueF() - window.blueF()) * 0.62f);
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
