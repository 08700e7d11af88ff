#include "TextStyles.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QVariant>
#include <QWidget>

#include <cmath>
#include <optional>

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

// Dynamic properties that remember how a widget was styled.
constexpr const char *styleProperty = "quillmereTextStyle";
constexpr const char *weightProperty = "quillmereTextWeight";
constexpr const char *monospacedProperty = "quillmereMonospaced";

int currentZoom = 100;
// The application font at 100 %, kept while the zoom is elsewhere.
std::optional<QFont> unzoomedFont;

void remember(QWidget *widget, TextStyle style, std::optional<QFont::Weight> weight, bool monospaced)
{
    widget->setProperty(styleProperty, int(style));
    widget->setProperty(weightProperty, weight ? QVariant(int(*weight)) : QVariant());
    widget->setProperty(monospacedProperty, monospaced);
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
    remember(widget, style, std::nullopt, false);
}

void apply(QWidget *widget, TextStyle style, QFont::Weight weight)
{
    widget->setFont(font(style, weight));
    remember(widget, style, weight, false);
}

void applyMonospaced(QWidget *widget, TextStyle style)
{
    widget->setFont(monospaced(style));
    remember(widget, style, std::nullopt, true);
}

const QList<int> &zoomSteps()
{
    static const QList<int> steps{50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};
    return steps;
}

int zoomStep(int percent, int direction)
{
    const QList<int> &steps = zoomSteps();
    if (direction > 0) {
        for (int step : steps) {
            if (step > percent)
                return step;
        }
        return steps.last();
    }
    if (direction < 0) {
        for (auto it = steps.crbegin(); it != steps.crend(); ++it) {
            if (*it < percent)
                return *it;
        }
        return steps.first();
    }
    int nearest = steps.first();
    for (int step : steps) {
        if (std::abs(step - percent) < std::abs(nearest - percent))
            nearest = step;
    }
    return nearest;
}

int zoomPercent()
{
    return currentZoom;
}

qreal zoomFactor()
{
    return currentZoom / 100.0;
}

void setZoomPercent(int percent)
{
    const int step = zoomStep(percent, 0);
    if (step == currentZoom)
        return;
    if (!unzoomedFont)
        unzoomedFont = QApplication::font();
    currentZoom = step;
    QFont zoomed = *unzoomedFont;
    if (unzoomedFont->pointSizeF() > 0)
        zoomed.setPointSizeF(unzoomedFont->pointSizeF() * zoomFactor());
    else if (unzoomedFont->pixelSize() > 0)
        zoomed.setPixelSize(qMax(1, qRound(unzoomedFont->pixelSize() * zoomFactor())));
    QApplication::setFont(step == 100 ? *unzoomedFont : zoomed);
    // Back at 100 % the desktop's font is the base again, so a later change
    // of it is what the next zoom starts from.
    if (step == 100)
        unzoomedFont.reset();
    // QApplication tells the windows only once its event loop runs; windows
    // open before that (and in tests) are told here, each passing the font
    // on to its children.
    QEvent fontChange(QEvent::ApplicationFontChange);
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows)
        QCoreApplication::sendEvent(window, &fontChange);

    // Explicitly styled widgets keep their own fonts through the change of
    // the application font; they take their style's new size here.
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        const QVariant style = widget->property(styleProperty);
        if (!style.isValid())
            continue;
        const auto textStyle = TextStyle(style.toInt());
        const QVariant weight = widget->property(weightProperty);
        if (widget->property(monospacedProperty).toBool())
            widget->setFont(monospaced(textStyle));
        else if (weight.isValid())
            widget->setFont(font(textStyle, QFont::Weight(weight.toInt())));
        else
            widget->setFont(font(textStyle));
    }
}

int scaled(qreal pixels)
{
    return qRound(pixels * zoomFactor());
}

int unzoomedLineHeight(TextStyle style)
{
    return qRound(QFontMetricsF(font(style)).height() / zoomFactor());
}

} // namespace TextStyles
