#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>

// The similarity grid's cells as a table model over texts and colours worked
// out beforehand (on the worker thread, see SentenceMapWindow): nothing is
// formatted or translated when a view or a screen reader asks.
class SimilarityMatrixModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Cell
    {
        QString text;           // "91 %"
        QString toolTip;        // both numbers, the figure and both sentences
        QString accessibleText; // the same, read as one sentence
        QColor fill;
        QColor ink;
    };
    struct Contents
    {
        int size = 0;
        QList<Cell> cells;        // row by row, size × size
        QStringList headerTips;   // "3: The cat sat."
    };

    explicit SimilarityMatrixModel(QObject *parent = nullptr);

    void setContents(Contents contents);
    const Cell *cell(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    Contents m_contents;
};
