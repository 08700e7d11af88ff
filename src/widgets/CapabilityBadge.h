#pragma once

#include <QColor>
#include <QLabel>

// A small coloured tag naming one capability of a model ("Embedding",
// "Tools", ...): the text in the caption-2 style drawn in the badge's colour,
// on a fill of the same colour at 20 % opacity with rounded corners. The text
// is also the badge's accessible name.
class CapabilityBadge : public QLabel
{
    Q_OBJECT

public:
    // Opacity of the fill behind the text.
    static constexpr qreal fillOpacity = 0.2;
    // Corner radius and padding around the text, in device-independent pixels.
    static constexpr qreal cornerRadius = 4.0;
    static constexpr int horizontalPadding = 6;
    static constexpr int verticalPadding = 2;

    CapabilityBadge(const QString &text, const QColor &color, QWidget *parent = nullptr);

    // QLabel::text() gives the text; these keep the accessible name in step.
    void setText(const QString &text);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    // The colour of the fill: the badge's colour at 20 % of its opacity.
    QColor fillColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyTextColor();

    QColor m_color;
};
