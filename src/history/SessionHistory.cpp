#include "SessionHistory.h"

#include "demos/sentiment/SentimentScore.h"
#include "demos/similarity/SimilarityMath.h"
#include "demos/similarity/SimilarityReading.h"

HistoryEntry HistoryEntry::sentiment(const QString &model, const QString &text, int score)
{
    HistoryEntry entry;
    entry.demo = DemoType::sentimentAnalysis;
    entry.model = model;
    entry.texts = {text};
    entry.value = score;
    entry.result = QStringLiteral("%1 (%2)").arg(score).arg(sentimentLabel(score));
    return entry;
}

HistoryEntry HistoryEntry::similarity(const QString &model, const QString &first, const QString &second,
                                      float similarity)
{
    HistoryEntry entry;
    entry.demo = DemoType::sentenceSimilarity;
    entry.model = model;
    entry.texts = {first, second};
    entry.value = double(similarity);
    entry.result = QStringLiteral("%1% (%2)")
                       .arg(SimilarityReadingText::gaugePercentage(similarity))
                       .arg(similarityDescription(similarity));
    return entry;
}

HistoryEntry HistoryEntry::failure(DemoType demo, const QString &model, const QStringList &texts,
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
        case DemoColumn: return DemoTypes::title(entry.demo);
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
            // score or percentage.
            const double base = DemoTypes::allCases().indexOf(entry.demo) * 1000.0;
            if (entry.isFailure() || !entry.value)
                return base - 1.0;
            return base + (entry.demo == DemoType::sentenceSimilarity ? *entry.value * 100.0 : *entry.value);
        }
        default: return data(index, Qt::DisplayRole);
        }
    case IsFailureRole: return entry.isFailure();
    default: break;
    }
    return {};
}

QVariant SessionHistory::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn: return QStringLiteral("Time");
    case DemoColumn: return QStringLiteral("Demo");
    case ModelColumn: return QStringLiteral("Model");
    case TextColumn: return QStringLiteral("Text");
    case SecondTextColumn: return QStringLiteral("Second Text");
    case ResultColumn: return QStringLiteral("Result");
    }
    return {};
}
