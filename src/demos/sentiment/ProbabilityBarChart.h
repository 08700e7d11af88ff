#pragma once

#include "TokenProbabilities.h"

#include <QList>
#include <QString>
#include <QWidget>

// A horizontal bar chart of the probabilities of the five ratings and of
// "something else", one row per bar: the bar's name, a track filled to its
// probability in the rating's colour, and the percentage.
//
// Each bar is an accessible child of the chart named like
// "Rating 4: 81 percent", so a screen reader can step through the bars.
class ProbabilityBarChart : public QWidget
{
    Q_OBJECT

public:
    struct Bar
    {
        QString label;
        double probability = 0.0;
        // The rating (1 to 5) whose colour fills the bar; 0 for the rest.
        int rating = 0;
    };

    explicit ProbabilityBarChart(QWidget *parent = nullptr);

    void setProbabilities(const TokenProbabilities &probabilities);

    const QList<Bar> &bars() const { return m_bars; }
    // Spoken name of each bar, in order.
    QString barName(int index) const;
    // Where a bar's row lies in the widget.
    QRect rowRect(int index) const;

    // The six bars of a set of probabilities: ratings 1 to 5, then the rest.
    static QList<Bar> barsFor(const TokenProbabilities &probabilities);
    static QString accessibleBarName(const Bar &bar);

    // One accessible child per row, named like the row reads.
    int accessibleRowCount() const { return int(m_bars.size()); }
    QString accessibleRowName(int row) const { return barName(row); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int rowHeight() const;
    int labelWidth() const;
    int percentWidth() const;

    QList<Bar> m_bars;
};
