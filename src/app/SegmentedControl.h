#pragma once

#include <QAbstractButton>
#include <QList>
#include <QWidget>

class QButtonGroup;
class QHBoxLayout;

// One segment of a SegmentedControl: a checkable button that paints itself as
// part of the control's pill.
class Segment : public QAbstractButton
{
    Q_OBJECT

public:
    explicit Segment(const QString &title, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Whether focus came from the keyboard, so that the focus ring shows only
    // then (as native controls do).
    bool m_showsFocusRing = false;
};

// A row of mutually exclusive choices drawn as one rounded pill, the chosen
// segment filled in the accent colour. Segments have equal widths. Like a
// group of radio buttons, Tab stops once, on the chosen segment; the arrow
// keys move the choice between segments, and Space chooses the focused one.
// Assistive technology sees the same thing: a grouping named after the
// control, holding one radio button per segment.
class SegmentedControl : public QWidget
{
    Q_OBJECT

public:
    explicit SegmentedControl(QWidget *parent = nullptr);

    // Appends a segment and returns its index.
    int addSegment(const QString &title);
    int count() const { return int(m_segments.size()); }
    Segment *segment(int index) const { return m_segments.value(index); }

    // The checked segment, or -1 before one is set.
    int currentIndex() const;
    // Checks a segment; emits currentIndexChanged() if the choice changes.
    void setCurrentIndex(int index);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The checked segment changed, however it was chosen: mouse, keyboard,
    // an accessibility action or a call. Whoever shows the choice follows
    // this signal, so the control and what it switches cannot disagree.
    void currentIndexChanged(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A new font (a zoom step, the desktop's font) widens the segments again.
    void changeEvent(QEvent *event) override;

private:
    void equaliseWidths();
    // Moves the choice (and focus) by `step` segments from `from`, if there
    // is a segment there, as the user's choice.
    void step(int from, int step);

    QHBoxLayout *const m_layout;
    QButtonGroup *const m_group;
    QList<Segment *> m_segments;
};
