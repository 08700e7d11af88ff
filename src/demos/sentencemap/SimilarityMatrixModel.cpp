#include "SimilarityMatrixModel.h"

SimilarityMatrixModel::SimilarityMatrixModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void SimilarityMatrixModel::setContents(Contents contents)
{
    beginResetModel();
    m_contents = std::move(contents);
    // A short list would leave cells without data.
    if (m_contents.cells.size() != qsizetype(m_contents.size) * m_contents.size)
        m_contents = {};
    endResetModel();
}

const SimilarityMatrixModel::Cell *SimilarityMatrixModel::cell(int row, int column) const
{
    if (row < 0 || column < 0 || row >= m_contents.size || column >= m_contents.size)
        return nullptr;
    return &m_contents.cells[qsizetype(row) * m_contents.size + column];
}

int SimilarityMatrixModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_contents.size;
}

int SimilarityMatrixModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_contents.size;
}

QVariant SimilarityMatrixModel::data(const QModelIndex &index, int role) const
{
    const Cell *c = index.isValid() && index.model() == this ? cell(index.row(), index.column()) : nullptr;
    if (!c)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return c->text;
    case Qt::ToolTipRole:
        return c->toolTip;
    case Qt::AccessibleTextRole:
        return c->accessibleText;
    case Qt::BackgroundRole:
        return c->fill;
    case Qt::ForegroundRole:
        return c->ink;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant SimilarityMatrixModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    Q_UNUSED(orientation);
    if (section < 0 || section >= m_contents.size)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(section + 1);
    case Qt::ToolTipRole:
        return m_contents.headerTips.value(section);
    default:
        return {};
    }
}

Qt::ItemFlags SimilarityMatrixModel::flags(const QModelIndex &index) const
{
    return index.isValid() && cell(index.row(), index.column()) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
