#pragma once

#include <QColor>
#include <QList>
#include <QPalette>
#include <QString>
#include <QWidget>

class QVariantAnimation;

// Shows a fraction as a ring: a full-circle track, a gradient arc that fills
// clockwise from 12 o'clock (1 or more is a full ring; there is no lower
// clamp), and in the centre the percentage ("%.0f%%" of the 32-bit product) or
// a symbol. The ring is the largest circle that fits the widget, centred, with
// the whole stroke inside the widget. Lengths are device-independent pixels.
//
// Accessibility: the screen names the gauge (e.g. "Similarity"); the gauge
// reports itself as a progress bar whose value and description carry the
// shown percentage ("70 percent").
class CircularProgressGauge : public QWidget
{
    Q_OBJECT

public:
    static QList<QColor> defaultGradient();   // red, orange, yellow, green
    static QColor defaultTrackColor();        // sRGB 242/255, 242/255, 247/255
    static QColor defaultFontColor();         // black
    // The defaults for a palette: the colours above on light palettes whose
    // base (the card the gauge sits on) sets the light track apart; otherwise
    // a track mixed from the base towards the text until it stands out from
    // both the base and the window by minimumTrackContrast, and the
    // palette's text colour, so that the ring and the text stay visible.
    static QColor defaultTrackColor(const QPalette &palette);
    static constexpr qreal minimumTrackContrast = 1.4;
    static QColor defaultFontColor(const QPalette &palette);

    explicit CircularProgressGauge(QWidget *parent = nullptr);
    // The caller's fields in one go; colours take their defaults.
    CircularProgressGauge(float progress, int fontSize, double trackWidth, bool isAnimated,
                          const QString &systemImage, QWidget *parent = nullptr);

    float progress() const { return m_progress; }
    // Redraws; animates the arc from its drawn length when isAnimated is set
    // and the gauge is visible. The centre text changes at once.
    void setProgress(float progress);

    QList<QColor> gradient() const { return m_gradient; }
    void setGradient(const QList<QColor> &colors);
    // The colours in use. Until a colour is set, the default for the
    // gauge's palette is used; an invalid colour returns to the default.
    QColor trackColor() const;
    void setTrackColor(const QColor &color);
    QColor fontColor() const;
    void setFontColor(const QColor &color);
    int fontSize() const { return m_fontSize; }
    void setFontSize(int pixels);
    double trackWidth() const { return m_trackWidth; }
    void setTrackWidth(double width);
    bool isAnimated() const { return m_isAnimated; }
    void setAnimated(bool animated);
    QString systemImage() const { return m_systemImage; }
    void setSystemImage(const QString &name);

    // Length of the arc animation in milliseconds (the toolkit's usual 350).
    int animationDuration() const;
    void setAnimationDuration(int milliseconds);

    // The text shown in the centre for a progress value.
    static QString percentageText(float progress);
    // The spoken form of the same value: "70 percent", "-25 percent".
    static QString accessibleValueText(float progress);
    // The fraction of the circle the arc covers: min(progress, 1); nothing is
    // drawn at 0 or below.
    static float arcFraction(float progress);
    // The arc as QPainter angles (1/16 degree, counter-clockwise positive):
    // it starts at 12 o'clock (90 degrees) and sweeps clockwise (negative).
    struct ArcAngles
    {
        int start16;
        int span16;
    };
    static ArcAngles arcAngles(float fraction);
    // The path to stroke with round caps for a fraction on a ring of this
    // radius and stroke width, as QPainter angles. The caps are part of the
    // arc's length, so the visible arc ends where arcAngles() ends; a small
    // value still shows as a piece of ring at least twice as long as the
    // stroke is wide, never as a lone dot. A full ring has no caps: its span
    // is -5760.
    static ArcAngles arcStroke(float fraction, qreal radius, qreal trackWidth);

    // The arc fraction currently drawn (mid-animation it lies between values).
    float displayedFraction() const { return m_displayed; }
    bool isAnimating() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setDisplayed(float fraction);
    void updateAccessibleValue();

    float m_progress = 0;
    float m_displayed = 0;
    QList<QColor> m_gradient;
    QColor m_trackColor; // invalid: the palette's default
    QColor m_fontColor;  // invalid: the palette's default
    int m_fontSize = 32;
    double m_trackWidth = 12;
    bool m_isAnimated = true;
    QString m_systemImage;
    QVariantAnimation *const m_animation;
};
