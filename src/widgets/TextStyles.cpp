#include "TextStyles.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

namespace TextStyles {

namespace {

struct StyleMetrics
{
    qreal scale;
    QFont::Weight weight;
};

// A desktop type ramp whose body text is the application font. The small
// styles are kept a little larger than a 13-point ramp would make them,
// because Linux desktop fonts are set smaller (10 or 11 points) to begin with.
StyleMetrics metrics(TextStyle style)
{
    switch (style) {
    case TextStyle::Title: return {1.70, QFont::Normal};
    case TextStyle::Title2: return {1.35, QFont::Normal};
    case TextStyle::Title3: return {1.15, QFont::Normal};
    case TextStyle::Headline: return {1.0, QFont::DemiBold};
    case TextStyle::Subheadline: return {0.92, QFont::Normal};
    case TextStyle::Body: return {1.0, QFont::Normal};
    case TextStyle::Caption: return {0.88, QFont::Normal};
    case TextStyle::Caption2: return {0.8, QFont::Normal};
    }
    return {1.0, QFont::Normal};
}

} // namespace

qreal pointSize(TextStyle style, qreal basePointSize)
{
    return basePointSize * metrics(style).scale;
}

QFont font(TextStyle style, const QFont &base)
{
    QFont f = base;
    // A base font given in pixels is scaled in pixels, so the ramp holds for
    // either kind of size.
    if (base.pointSizeF() > 0)
        f.setPointSizeF(pointSize(style, base.pointSizeF()));
    else if (base.pixelSize() > 0)
        f.setPixelSize(qMax(1, qRound(pointSize(style, base.pixelSize()))));
    else
        f.setPointSizeF(pointSize(style, 10.0));
    f.setWeight(metrics(style).weight);
    return f;
}

QFont font(TextStyle style)
{
    return font(style, QApplication::font());
}

QFont font(TextStyle style, QFont::Weight weight)
{
    QFont f = font(style);
    f.setWeight(weight);
    return f;
}

QFont monospaced(TextStyle style)
{
    QFont f = font(style);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!fixed.families().isEmpty())
        f.setFamilies(fixed.families());
    else
        f.setFamily(fixed.family());
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    return f;
}

void apply(QWidget *widget, TextStyle style)
{
    widget->setFont(font(style));
}

void apply(QWidget *widget, TextStyle style, QFont::Weight weight)
{
    widget->setFont(font(style, weight));
}

} // namespace TextStyles
