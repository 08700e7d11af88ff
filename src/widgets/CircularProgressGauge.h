#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QWidget>

class QVariantAnimation;

// Shows a fraction as a ring: a full-circle track, a gradient arc that fills
// clockwise from 12 o'clock (1 or more is a full ring; there is no lower
// clamp), and in the centre the percentage ("%.0f%%" of the 32-bit product) or
// a symbol. It fills the square that fits its frame, centred.
class CircularProgressGauge : public QWidget
{
    Q_OBJECT

public:
    static QList<QColor> defaultGradient();   // red, orange, yellow, green
    static QColor defaultTrackColor();        // sRGB 242/255, 242/255, 247/255
    static QColor defaultFontColor();         // black

    explicit CircularProgressGauge(QWidget *parent = nullptr);

    float progress() const { return m_progress; }
    // Redraws; animates the arc from its old length when isAnimated is set.
    // The centre text changes at once.
    void setProgress(float progress);

    QList<QColor> gradient() const { return m_gradient; }
    void setGradient(const QList<QColor> &colors);
    QColor trackColor() const { return m_trackColor; }
    void setTrackColor(const QColor &color);
    QColor fontColor() const { return m_fontColor; }
    void setFontColor(const QColor &color);
    int fontSize() const { return m_fontSize; }
    void setFontSize(int points);
    double trackWidth() const { return m_trackWidth; }
    void setTrackWidth(double width);
    bool isAnimated() const { return m_isAnimated; }
    void setAnimated(bool animated);
    QString systemImage() const { return m_systemImage; }
    void setSystemImage(const QString &name);

    // The text shown in the centre for a progress value.
    static QString percentageText(float progress);
    // The fraction of the circle the arc covers: min(progress, 1), and
    // nothing drawn at 0 or below.
    static float arcFraction(float progress);
    // The arc as QPainter angles (1/16 degree, counter-clockwise positive):
    // it starts at 12 o'clock (90 degrees) and sweeps clockwise (negative).
    struct ArcAngles
    {
        int start16;
        int span16;
    };
    static ArcAngles arcAngles(float fraction);

    // The arc fraction currently drawn (mid-animation it lies between values).
    float displayedFraction() const { return m_displayed; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    float m_progress = 0;
    float m_displayed = 0;
    QList<QColor> m_gradient;
    QColor m_trackColor;
    QColor m_fontColor;
    int m_fontSize = 32;
    double m_trackWidth = 12;
    bool m_isAnimated = true;
    QString m_systemImage;
    QVariantAnimation *const m_animation;
};
