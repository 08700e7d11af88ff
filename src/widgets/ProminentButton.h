#pragma once

#include <QPushButton>

class BusyIndicator;

// The prominent, accent-filled button of the demo screens, with a label row
// of at most 200 pixels, centred: the text alone, or while busy a small
// spinner before it. The screen's render sets the busy state.
class ProminentButton : public QPushButton
{
    Q_OBJECT

public:
    static constexpr int maxLabelWidth = 200;

    explicit ProminentButton(QWidget *parent = nullptr);

    // Shows or hides the spinner.
    void setBusy(bool busy);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QColor labelColor() const;
    // The label row: spinner (while busy) and text, centred, at most
    // maxLabelWidth wide.
    QRect labelRow() const;
    void placeSpinner();

    BusyIndicator *const m_spinner;
    bool m_busy = false;
    static constexpr int m_spinnerBox = 16;
    static constexpr int m_gap = 6;
    static constexpr int m_paddingH = 12;
    static constexpr int m_paddingV = 7;
    static constexpr int m_ring = 3;
    static constexpr qreal m_radius = 6;
};
