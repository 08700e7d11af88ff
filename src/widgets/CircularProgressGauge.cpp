#include "CircularProgressGauge.h"

#include "NamedColors.h"
#include "Retranslate.h"
#include "Symbols.h"
#include "TextStyles.h"
#include "app/Languages.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QConicalGradient>
#include <QPainter>
#include <QVariantAnimation>

#include <cmath>
#include <cstdio>

namespace {

constexpr int defaultAnimationMs = 350;

// Exposes the gauge to assistive technology as a progress bar whose value is
// the percentage shown in its centre.
class GaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit GaugeAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::ProgressBar)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return CircularProgressGauge::percentageText(gauge()->progress());
        return QAccessibleWidget::text(type);
    }

    QVariant currentValue() const override
    {
        return CircularProgressGauge::percentageText(gauge()->progress()).chopped(1).toDouble();
    }
    void setCurrentValue(const QVariant &) override {} // read-only
    QVariant maximumValue() const override { return 100.0; }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 1.0; }

private:
    const CircularProgressGauge *gauge() const { return static_cast<const CircularProgressGauge *>(widget()); }
};

QAccessibleInterface *gaugeAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("CircularProgressGauge") && object && object->isWidgetType())
        return new GaugeAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

QColor mix(const QColor &from, const QColor &to, float amount)
{
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * amount,
                            from.greenF() + (to.greenF() - from.greenF()) * amount,
                            from.blueF() + (to.blueF() - from.blueF()) * amount);
}

} // namespace

QList<QColor> CircularProgressGauge::defaultGradient()
{
    return {QColor(255, 59, 48), QColor(255, 149, 0), QColor(255, 204, 0), QColor(52, 199, 89)};
}

QColor CircularProgressGauge::defaultTrackColor()
{
    return QColor::fromRgbF(242.0f / 255.0f, 242.0f / 255.0f, 247.0f / 255.0f, 1.0f);
}

QColor CircularProgressGauge::defaultFontColor()
{
    return Qt::black;
}

QColor CircularProgressGauge::defaultTrackColor(const QPalette &palette)
{
    const QColor card = palette.color(QPalette::Base);
    const QColor window = palette.color(QPalette::Window);
    // The light track is a faint grey by design; it only has to differ from
    // a white or near-white card.
    if (!NamedColors::isDark(palette) && NamedColors::contrastRatio(defaultTrackColor(), card) >= 1.1)
        return defaultTrackColor();
    const QColor text = palette.color(QPalette::Text);
    QColor track = mix(card, text, 0.5f);
    for (float amount = 0.1f; amount < 0.5f; amount += 0.02f) {
        const QColor candidate = mix(card, text, amount);
        if (NamedColors::contrastRatio(candidate, card) >= minimumTrackContrast
            && NamedColors::contrastRatio(candidate, window) >= minimumTrackContrast) {
            track = candidate;
            break;
        }
    }
    return track;
}

QColor CircularProgressGauge::defaultFontColor(const QPalette &palette)
{
    return NamedColors::isDark(palette) ? palette.color(QPalette::WindowText) : defaultFontColor();
}

CircularProgressGauge::CircularProgressGauge(QWidget *parent)
    : QWidget(parent)
    , m_gradient(defaultGradient())
    , m_animation(new QVariantAnimation(this))
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(gaugeAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // The spoken value is worded in the current language.
    Retranslate::texts(this, [this] { setAccessibleDescription(accessibleValueText(m_progress)); });
    m_animation->setEasingCurve(QEasingCurve::Linear);
    m_animation->setDuration(defaultAnimationMs);
    connect(m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { setDisplayed(value.toFloat()); });
    updateAccessibleValue();
}

CircularProgressGauge::CircularProgressGauge(float progress, int fontSize, double trackWidth, bool isAnimated,
                                             const QString &systemImage, QWidget *parent)
    : CircularProgressGauge(parent)
{
    m_fontSize = fontSize;
    m_trackWidth = trackWidth;
    m_isAnimated = isAnimated;
    m_systemImage = systemImage;
    m_progress = progress;
    m_displayed = arcFraction(progress);
    updateAccessibleValue();
}

void CircularProgressGauge::setProgress(float progress)
{
    if (progress == m_progress)
        return;
    m_progress = progress;
    updateAccessibleValue();

    // The arc moves from wherever it is drawn now, also mid-animation.
    const float from = m_displayed;
    const float to = arcFraction(progress);
    m_animation->stop();
    if (m_isAnimated && isVisible() && from != to) {
        m_animation->setStartValue(from);
        m_animation->setEndValue(to);
        m_animation->start();
    } else {
        setDisplayed(to);
    }
    // The centre text shows the new value at once.
    update();
}

void CircularProgressGauge::setDisplayed(float fraction)
{
    m_displayed = fraction;
    update();
}

void CircularProgressGauge::updateAccessibleValue()
{
    setAccessibleDescription(accessibleValueText(m_progress));
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, percentageText(m_progress).chopped(1).toDouble());
        QAccessible::updateAccessibility(&event);
    }
}

void CircularProgressGauge::setGradient(const QList<QColor> &colors)
{
    m_gradient = colors;
    update();
}

QColor CircularProgressGauge::trackColor() const
{
    return m_trackColor.isValid() ? m_trackColor : defaultTrackColor(palette());
}

void CircularProgressGauge::setTrackColor(const QColor &color)
{
    m_trackColor = color;
    update();
}

QColor CircularProgressGauge::fontColor() const
{
    return m_fontColor.isValid() ? m_fontColor : defaultFontColor(palette());
}

void CircularProgressGauge::setFontColor(const QColor &color)
{
    m_fontColor = color;
    update();
}

void CircularProgressGauge::setFontSize(int pixels)
{
    m_fontSize = pixels;
    update();
}

void CircularProgressGauge::setTrackWidth(double width)
{
    m_trackWidth = width;
    update();
}

void CircularProgressGauge::setAnimated(bool animated)
{
    m_isAnimated = animated;
    if (!animated && isAnimating()) {
        m_animation->stop();
        setDisplayed(arcFraction(m_progress));
    }
}

void CircularProgressGauge::setSystemImage(const QString &name)
{
    m_systemImage = name;
    update();
}

int CircularProgressGauge::animationDuration() const
{
    return m_animation->duration();
}

void CircularProgressGauge::setAnimationDuration(int milliseconds)
{
    m_animation->setDuration(qMax(1, milliseconds));
}

bool CircularProgressGauge::isAnimating() const
{
    return m_animation->state() == QAbstractAnimation::Running;
}

QString CircularProgressGauge::percentageText(float progress)
{
    // The product is taken in 32-bit float, then printed as printf prints it
    // (round half to even on the exact binary value: 12.5 gives "12").
    const float percent = arcFraction(progress) * 100.0f;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f%%", static_cast<double>(percent));
    return QString::fromLatin1(buffer);
}

QString CircularProgressGauge::accessibleValueText(float progress)
{
    return tr("%1 percent").arg(percentageText(progress).chopped(1));
}

float CircularProgressGauge::arcFraction(float progress)
{
    if (progress >= 1.0f)
        return 1.0f;
    return progress;
}

CircularProgressGauge::ArcAngles CircularProgressGauge::arcAngles(float fraction)
{
    // NaN and everything at or below 0 draw nothing.
    if (!(fraction > 0.0f))
        return {90 * 16, 0};
    const float clamped = fraction >= 1.0f ? 1.0f : fraction;
    return {90 * 16, -qRound(clamped * 360.0f * 16.0f)};
}

CircularProgressGauge::ArcAngles CircularProgressGauge::arcStroke(float fraction, qreal radius, qreal trackWidth)
{
    const ArcAngles exact = arcAngles(fraction);
    if (exact.span16 == 0 || exact.span16 <= -360 * 16 || radius <= 0)
        return exact;
    // Degrees per pixel of arc length on this ring.
    const qreal perPixel = 180.0 / (M_PI * radius);
    const qreal caps = trackWidth * perPixel; // half a stroke at either end
    const qreal visible = qMin(qMax(-exact.span16 / 16.0, 2 * trackWidth * perPixel), 360.0);
    const qreal path = qMax(visible - caps, 0.0);
    // The first cap's outer edge sits at 12 o'clock.
    return {qRound((90.0 - caps / 2) * 16), -qRound(path * 16)};
}

QSize CircularProgressGauge::sizeHint() const
{
    const int side = TextStyles::scaled(150);
    return {side, side};
}

QSize CircularProgressGauge::minimumSizeHint() const
{
    const int side = qCeil((m_trackWidth * 2 + m_fontSize) * TextStyles::zoomFactor());
    return {side, side};
}

void CircularProgressGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal side = qMin(width(), height());
    // The stroke and the text grow with the zoom, like the gauge itself.
    const qreal trackWidth = m_trackWidth * TextStyles::zoomFactor();
    const int fontSize = TextStyles::scaled(m_fontSize);
    painter.translate(width() / 2.0, height() / 2.0);

    // The largest ring that fits: the stroke is centred on the circle, so the
    // circle is inset by half the stroke to keep the ring's outer edge inside
    // the widget (a widget cannot paint outside itself).
    const qreal radius = side / 2.0 - trackWidth / 2.0;
    if (radius > 0 && trackWidth > 0) {
        const QRectF circle(-radius, -radius, 2 * radius, 2 * radius);

        QPen trackPen(trackColor(), trackWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        trackPen.setMiterLimit(10);
        painter.setPen(trackPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(circle);

        const ArcAngles angles = arcStroke(m_displayed, radius, trackWidth);
        if (angles.span16 != 0 && !m_gradient.isEmpty()) {
            // QConicalGradient runs counter-clockwise from its start angle;
            // the arc runs clockwise from 12 o'clock, so the stops are laid
            // out mirrored: the first colour just clockwise of 12 o'clock,
            // the last one reached as the arc closes the circle.
            QConicalGradient conic(QPointF(0, 0), 90);
            const qsizetype n = m_gradient.size();
            for (qsizetype i = 0; i < n; ++i) {
                const qreal position = n == 1 ? 0.0 : qreal(i) / qreal(n - 1);
                conic.setColorAt(1.0 - position, m_gradient.at(i));
            }
            QPen arcPen(QBrush(conic), trackWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin);
            arcPen.setMiterLimit(10);
            painter.setPen(arcPen);
            if (angles.span16 <= -360 * 16)
                painter.drawEllipse(circle);
            else
                painter.drawArc(circle, angles.start16, angles.span16);
        }
    }

    const QRectF centre(-side / 2.0, -side / 2.0, side, side);
    if (m_systemImage.isEmpty()) {
        QFont font = this->font();
        font.setPixelSize(qMax(1, fontSize));
        painter.setFont(font);
        painter.setPen(fontColor());
        // As printed by percentageText(), in the current language's form.
        painter.drawText(centre, Qt::AlignCenter, Languages::percent(percentageText(m_progress).chopped(1).toLongLong()));
    } else {
        const qreal s = fontSize;
        Symbols::paint(&painter, m_systemImage, QRectF(-s / 2, -s / 2, s, s), fontColor());
    }
}
