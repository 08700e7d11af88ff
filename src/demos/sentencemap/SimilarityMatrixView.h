#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QTableView>

class SimilarityMatrixModel;

// The similarity grid. Keyboard, selection, tool tips and the accessible
// table are the table view's own; the painting is leaner than the view's
// one delegate call per cell: each cell is a fill and its centred figure,
// whose few distinct texts ("0 %" to "100 %") are laid out once and kept.
// The selected and the focused cell are painted by the style, as in every
// other view.
class SimilarityMatrixView : public QTableView
{
    Q_OBJECT

public:
    explicit SimilarityMatrixView(SimilarityMatrixModel *model, QWidget *parent = nullptr);

    // Whether the cells are painted. The window lays a new grid out with
    // its cells blank and paints them in a later frame of their own.
    void setCellsShown(bool shown);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QStaticText &laidOut(const QString &text);

    SimilarityMatrixModel *const m_cells;
    bool m_cellsShown = true;
    QFont m_textFont;
    QHash<QString, QStaticText> m_texts;
};
