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

// Ratios of a desktop type ramp whose body text is the application font.
StyleMetrics metrics(TextStyle style)
{
    switch (style) {
    case TextStyle::Title: return {1.70, QFont::Normal};
    case TextStyle::Title2: return {1.35, QFont::Normal};
    case TextStyle::Title3: return {1.15, QFont::Normal};
    case TextStyle::Headline: return {1.0, QFont::DemiBold};
    case TextStyle::Subheadline: return {0.85, QFont::Normal};
    case TextStyle::Body: return {1.0, QFont::Normal};
    case TextStyle::Caption: return {0.85, QFont::Normal};
    case TextStyle::Caption2: return {0.78, QFont::Normal};
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
    const qreal basePoints = base.pointSizeF() > 0 ? base.pointSizeF() : 10.0;
    f.setPointSizeF(pointSize(style, basePoints));
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
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const qreal basePoints = QApplication::font().pointSizeF() > 0 ? QApplication::font().pointSizeF() : 10.0;
    f.setPointSizeF(pointSize(style, basePoints));
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
