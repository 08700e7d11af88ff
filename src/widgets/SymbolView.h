#pragma once

#include <QColor>
#include <QWidget>

class QVariantAnimation;

// Shows one symbol of our set at a fixed size, tinted, optionally turning
// continuously about its centre (for a "loading" indicator). The turning
// pauses while the view is hidden.
class SymbolView : public QWidget
{
    Q_OBJECT

public:
    explicit SymbolView(const QString &name, int side, const QColor &color, QWidget *parent = nullptr);

    QString symbolName() const { return m_name; }
    void setSymbolName(const QString &name);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

    int side() const { return m_side; }
    void setSide(int side);

    // Whether the symbol is set to turn (it actually moves only while shown).
    bool isSpinning() const { return m_spinning; }
    void setSpinning(bool spinning);

    // The current angle of the turning symbol, in degrees clockwise.
    qreal angle() const { return m_angle; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateRotation();

    QString m_name;
    int m_side;
    QColor m_color;
    bool m_spinning = false;
    qreal m_angle = 0;
    QVariantAnimation *m_rotation = nullptr;
};
