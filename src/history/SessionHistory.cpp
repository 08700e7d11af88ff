#include "SessionHistory.h"

#include <cmath>

HistoryEntry HistoryEntry::failure(const QString &demo, const QString &model, const QStringList &texts,
                                   const QString &errorLine)
{
    HistoryEntry entry;
    entry.demo = demo;
    entry.model = model;
    entry.texts = texts;
    entry.error = errorLine;
    return entry;
}

SessionHistory::SessionHistory(QObject *parent)
    : QAbstractTableModel(parent)
    , m_clock([] { return QDateTime::currentDateTime(); })
{
}

SessionHistory::~SessionHistory() = default;

void SessionHistory::add(HistoryEntry entry)
{
    entry.time = m_clock();
    entry.sequence = m_nextSequence++;
    beginInsertRows(QModelIndex(), 0, 0);
    m_entries.prepend(entry);
    endInsertRows();
    Q_EMIT entryAdded(entry);
}

void SessionHistory::clear()
{
    if (m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

void SessionHistory::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

QString SessionHistory::oneLine(const QString &text)
{
    // QString::simplified() also takes the line and paragraph separators.
    return text.simplified();
}

int SessionHistory::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int SessionHistory::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SessionHistory::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_entries.size() || index.column() >= ColumnCount)
        return {};
    const HistoryEntry &entry = m_entries.at(index.row());
    const QString outcome = entry.error.value_or(entry.result);

    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TimeColumn: return entry.time.toString(QStringLiteral("HH:mm:ss"));
        // Stored in English, as exports write it; shown in the current language.
        case DemoColumn: return tr(entry.demo.toUtf8().constData());
        case ModelColumn: return entry.model;
        case TextColumn: return oneLine(entry.texts.value(0));
        case SecondTextColumn: return oneLine(entry.texts.value(1));
        case ResultColumn: return oneLine(outcome);
        }
        break;
    case Qt::ToolTipRole:
        switch (index.column()) {
        case TimeColumn: return entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        case TextColumn: return entry.texts.value(0);
        case SecondTextColumn: return entry.texts.value(1);
        case ResultColumn: return outcome;
        default: return data(index, Qt::DisplayRole);
        }
    case SortRole:
        switch (index.column()) {
        case TimeColumn: return entry.sequence;
        case ResultColumn: {
            // Each demo's rows together, failures before results, then by
            // number: the demo's title, then a fixed-width number that
            // sorts as text in the order of the values.
            if (entry.isFailure() || !entry.value || !std::isfinite(*entry.value))
                return QString(entry.demo + QLatin1String("\n0"));
            return QString(entry.demo + QLatin1String("\n1")
                           + QString::asprintf("%024.9f", *entry.value + 1e12));
        }
        default: return data(index, Qt::DisplayRole);
        }
    case IsFailureRole: return entry.isFailure();
    default: break;
    }
    return {};
}

// The demos' names as entries store them, for translation where they are shown.
[[maybe_unused]] constexpr const char *demoNames[] = {
    QT_TR_NOOP("Sentiment Analysis"),
    QT_TR_NOOP("Sentence Similarity"),
    QT_TR_NOOP("Sentence Map"),
};

void SessionHistory::retranslate()
{
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!m_entries.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_entries.size()) - 1, ColumnCount - 1));
}

QVariant SessionHistory::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn: return tr("Time");
    case DemoColumn: return tr("Demo");
    case ModelColumn: return tr("Model");
    case TextColumn: return tr("Text");
    case SecondTextColumn: return tr("Second Text");
    case ResultColumn: return tr("Result");
    }
    return {};
}
