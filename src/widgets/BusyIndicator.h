#pragma once

#include <QColor>
#include <QWidget>

class QVariantAnimation;

// An indeterminate circular progress indicator (a turning arc), drawn at any
// size. It turns only while visible.
class BusyIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit BusyIndicator(int side = 16, QWidget *parent = nullptr);

    // Scale of the drawing inside the widget's square (0.8 draws it at 80 %).
    void setDrawScale(qreal scale);
    // The arc's colour; invalid means the palette's text colour of the widget.
    void setColor(const QColor &color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_side;
    qreal m_scale = 1.0;
    qreal m_angle = 0;
    QColor m_color;
    QVariantAnimation *const m_rotation;
};
