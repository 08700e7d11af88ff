#include "SimilarityMatrixView.h"

#include "SimilarityMatrixModel.h"

#include <QPaintEvent>
#include <QPainter>

SimilarityMatrixView::SimilarityMatrixView(SimilarityMatrixModel *model, QWidget *parent)
    : QTableView(parent)
    , m_cells(model)
{
    setModel(model);
}

void SimilarityMatrixView::setCellsShown(bool shown)
{
    if (shown == m_cellsShown)
        return;
    m_cellsShown = shown;
    viewport()->update();
}

const QStaticText &SimilarityMatrixView::laidOut(const QString &text)
{
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        it = m_texts.insert(text, laid);
    }
    return *it;
}

void SimilarityMatrixView::paintEvent(QPaintEvent *event)
{
    if (font() != m_textFont) {
        m_textFont = font();
        m_texts.clear();
    }
    if (!m_cellsShown)
        return;
    QPainter painter(viewport());
    painter.setFont(m_textFont);
    const QRect area = event->rect();
    const QModelIndex current = currentIndex();
    const bool focused = hasFocus();
    QList<QModelIndex> styled;
    const int count = m_cells->rowCount();
    for (int row = 0; row < count; ++row) {
        const int y = rowViewportPosition(row);
        const int height = rowHeight(row);
        if (y + height <= area.top() || y > area.bottom())
            continue;
        for (int column = 0; column < count; ++column) {
            const QRect rect(columnViewportPosition(column), y, columnWidth(column), height);
            if (!rect.intersects(area))
                continue;
            const QModelIndex index = m_cells->index(row, column);
            if ((focused && index == current) || selectionModel()->isSelected(index)) {
                styled.append(index);
                continue;
            }
            const SimilarityMatrixModel::Cell *cell = m_cells->cell(row, column);
            painter.fillRect(rect, cell->fill);
            painter.setPen(cell->ink);
            const QStaticText &text = laidOut(cell->text);
            const QSizeF size = text.size();
            painter.drawStaticText(QPointF(rect.x() + (rect.width() - size.width()) / 2,
                                           rect.y() + (rect.height() - size.height()) / 2),
                                   text);
        }
    }
    // The selection and the focus frame as the style draws them.
    for (const QModelIndex &index : std::as_const(styled)) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = visualRect(index);
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}
