#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// One completed analysis or calculation: what went in and what came out, or
// the error line it ended with. Plain values only, so that the history needs
// to know nothing about the demos: each demo fills in its own entries.
struct HistoryEntry
{
    // Set by the history when the entry is added: the time, and a number
    // that grows with every entry (so equal times still sort in order).
    QDateTime time;
    qint64 sequence = 0;

    // The title of the demo or window that made it, as the user sees it:
    // "Sentiment Analysis", "Sentence Similarity", "Sentence Map".
    QString demo;
    QString model;
    // The texts as they were sent (trimmed): one for the sentiment demo, two
    // sentences for the similarity demo, one text of one sentence per line
    // for the Sentence Map.
    QStringList texts;

    // A result: its number (the score, or a similarity from 0 to 1), that
    // number as the CSV export writes it, and the result in words as the
    // screen showed it.
    std::optional<double> value;
    QString valueText;
    QString result;
    // A failure: the error line exactly as the screen showed it.
    std::optional<QString> error;

    bool isFailure() const { return error.has_value(); }
    bool operator==(const HistoryEntry &) const = default;

    static HistoryEntry failure(const QString &demo, const QString &model, const QStringList &texts,
                                const QString &errorLine);
};

// The analyses and calculations of this run, across both demos, every main
// window and the Sentence Map, newest first. The application owns the one history and hands
// it to the screens and the History window. Kept in memory only: nothing is written to disk
// or to the settings, and it is empty at every start.
//
// It is a table model (time, demo, model, text, second text, result) so that
// a view can show, sort and select it directly.
class SessionHistory : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        TimeColumn,
        DemoColumn,
        ModelColumn,
        TextColumn,
        SecondTextColumn,
        ResultColumn,
        ColumnCount,
    };

    enum Role {
        // A value that sorts each column sensibly: the sequence for the
        // time, the number for the result, the text elsewhere.
        SortRole = Qt::UserRole + 1,
        // Whether the row is a failure.
        IsFailureRole,
    };

    using Clock = std::function<QDateTime()>;

    explicit SessionHistory(QObject *parent = nullptr);
    ~SessionHistory() override;

    // Adds an entry at the top, stamped with the clock's time.
    void add(HistoryEntry entry);
    void clear();
    // Tells the views that the column titles and the demos' names, which
    // are shown in the current language, have changed.
    void retranslate();

    // Newest first.
    const QList<HistoryEntry> &entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // The time source; tests set a fixed one.
    void setClock(Clock clock);

    // A text as one line, for a table cell and for tab-separated copies:
    // runs of white space and line breaks become single spaces.
    static QString oneLine(const QString &text);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void entryAdded(const HistoryEntry &entry);

private:
    QList<HistoryEntry> m_entries;
    Clock m_clock;
    qint64 m_nextSequence = 1;
};
