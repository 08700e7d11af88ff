#pragma once

#include <QColor>
#include <QWidget>

class QVariantAnimation;

// Shows one symbol of our set at a fixed size, tinted, optionally turning
// continuously (for a "loading" indicator).
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

    bool isSpinning() const;
    void setSpinning(bool spinning);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    int m_side;
    QColor m_color;
    qreal m_angle = 0;
    QVariantAnimation *m_rotation = nullptr;
};
