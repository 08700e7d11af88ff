#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

// A horizontal bar chart drawn like the probabilities chart: one row per bar
// with its name, a track filled in the rating's colour, and a figure. A row
// may carry a second, thinner bar under the first (the odds a histogram is
// compared with).
//
// Each bar is an accessible child of the chart with the row's spoken name.
class SamplingChart : public QWidget
{
    Q_OBJECT

public:
    struct Row
    {
        QString label;
        // Fill of the main bar, 0 to 1.
        double value = 0.0;
        // Fill of the thinner bar under it, when there is one.
        std::optional<double> compared;
        // The rating (1 to 5) whose colour fills the bar; 0 for the rest.
        int rating = 0;
        // The figure at the end of the row, and the spoken name.
        QString figure;
        QString spokenName;
    };

    explicit SamplingChart(QWidget *parent = nullptr);

    void setRows(const QList<Row> &rows);
    const QList<Row> &rows() const { return m_rows; }
    QRect rowRect(int index) const;

    // One accessible child per row, named like the row reads.
    int accessibleRowCount() const { return int(m_rows.size()); }
    QString accessibleRowName(int row) const { return m_rows.at(row).spokenName; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    int rowHeight() const;
    int labelWidth() const;
    int figureWidth() const;
    bool hasCompared() const;

    QList<Row> m_rows;
};
