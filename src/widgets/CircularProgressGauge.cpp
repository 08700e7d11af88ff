#include "CircularProgressGauge.h"

#include "Symbols.h"

#include <QConicalGradient>
#include <QPainter>
#include <QVariantAnimation>

#include <cstdio>

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

CircularProgressGauge::CircularProgressGauge(QWidget *parent)
    : QWidget(parent)
    , m_gradient(defaultGradient())
    , m_trackColor(defaultTrackColor())
    , m_fontColor(defaultFontColor())
    , m_animation(new QVariantAnimation(this))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    m_animation->setEasingCurve(QEasingCurve::Linear);
    m_animation->setDuration(350);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_displayed = value.toFloat();
        update();
    });
}

void CircularProgressGauge::setProgress(float progress)
{
    const float from = m_displayed;
    m_progress = progress;
    const float to = arcFraction(progress);
    m_animation->stop();
    if (m_isAnimated && isVisible() && from != to) {
        m_animation->setStartValue(from);
        m_animation->setEndValue(to);
        m_animation->start();
    } else {
        m_displayed = to;
    }
    update();
}

void CircularProgressGauge::setGradient(const QList<QColor> &colors)
{
    m_gradient = colors;
    update();
}

void CircularProgressGauge::setTrackColor(const QColor &color)
{
    m_trackColor = color;
    update();
}

void CircularProgressGauge::setFontColor(const QColor &color)
{
    m_fontColor = color;
    update();
}

void CircularProgressGauge::setFontSize(int points)
{
    m_fontSize = points;
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
    if (!animated && m_animation->state() == QAbstractAnimation::Running) {
        m_animation->stop();
        m_displayed = arcFraction(m_progress);
        update();
    }
}

void CircularProgressGauge::setSystemImage(const QString &name)
{
    m_systemImage = name;
    update();
}

QString CircularProgressGauge::percentageText(float progress)
{
    // The product is taken in 32-bit float, then printed as printf prints it
    // (round half to even on the exact binary value).
    const float percent = arcFraction(progress) * 100.0f;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f%%", static_cast<double>(percent));
    return QString::fromLatin1(buffer);
}

float CircularProgressGauge::arcFraction(float progress)
{
    if (progress >= 1.0f)
        return 1.0f;
    return progress;
}

CircularProgressGauge::ArcAngles CircularProgressGauge::arcAngles(float fraction)
{
    if (!(fraction > 0.0f))
        return {90 * 16, 0};
    const float clamped = fraction >= 1.0f ? 1.0f : fraction;
    return {90 * 16, -qRound(clamped * 360.0f * 16.0f)};
}

QSize CircularProgressGauge::sizeHint() const
{
    return {150, 150};
}

void CircularProgressGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);

    // The ring's outline is the largest circle that fits; half the stroke lies
    // outside it.
    const qreal radius = side / 2.0;
    const QRectF circle(-radius, -radius, 2 * radius, 2 * radius);

    QPen trackPen(m_trackColor, m_trackWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    trackPen.setMiterLimit(10);
    painter.setPen(trackPen);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle);

    const ArcAngles angles = arcAngles(m_displayed);
    if (angles.span16 != 0 && !m_gradient.isEmpty()) {
        // QConicalGradient runs counter-clockwise from its angle; the arc runs
        // clockwise from 12 o'clock, so the stops are laid out mirrored: the
        // first colour at 12 o'clock, the last one a full turn later.
        QConicalGradient conic(QPointF(0, 0), 90);
        const qsizetype n = m_gradient.size();
        for (qsizetype i = 0; i < n; ++i) {
            const qreal position = n == 1 ? 0.0 : qreal(i) / qreal(n - 1);
            conic.setColorAt(1.0 - position, m_gradient.at(i));
        }
        QPen arcPen(QBrush(conic), m_trackWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        arcPen.setMiterLimit(10);
        painter.setPen(arcPen);
        if (angles.span16 <= -360 * 16)
            painter.drawEllipse(circle);
        else
            painter.drawArc(circle, angles.start16, angles.span16);
    }

    if (m_systemImage.isEmpty()) {
        QFont font = this->font();
        // Sizes are in device-independent pixels, like every length here.
        font.setPixelSize(m_fontSize);
        painter.setFont(font);
        painter.setPen(m_fontColor);
        painter.drawText(circle, Qt::AlignCenter, percentageText(m_progress));
    } else {
        const qreal s = m_fontSize;
        Symbols::paint(&painter, m_systemImage, QRectF(-s / 2, -s / 2, s, s), m_fontColor);
    }
}
