#include "history/HistoryCsv.h"
#include "history/SessionHistory.h"

#include <QTest>
#include <QTimeZone>

// The session's history as a table, and its CSV export.
namespace {

// Texts that CSV has to quote, or that a careless writer would mangle.
QList<HistoryEntry> awkwardEntries()
{
    return {
        HistoryEntry::sentiment("llama3.2:latest", "She said \"fine\", then left,\r\nangry\nand\ttired", 2),
        HistoryEntry::similarity("nomic-embed-text", "Il fait très beau, non ?", "Ünïcödé \"quotes\" 😀\n", 0.897f),
        HistoryEntry::failure(DemoType::sentenceSimilarity, "m,odel", {"=1+1", " leading and trailing "},
                              "Error: The operation could not be completed. (Invalid response from Ollama error -1.)"),
    };
}

} // namespace

class TestSessionHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newestFirstInOneLineCells();
    void csvFieldsAndBytes();
    void csvRoundTripAndReader();
};

void TestSessionHistory::newestFirstInOneLineCells()
{
    SessionHistory history;
    auto next = std::make_shared<int>(0);
    history.setClock([next] { return QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30).addSecs((*next)++), QTimeZone(7200)); });
    history.add(HistoryEntry::sentiment("llama3.2", "Sunny", 4));
    history.add(HistoryEntry::similarity("nomic", "  First line\r\nsecond\tline \u2028third  ", "B", 0.897f));
    history.add(HistoryEntry::failure(DemoType::sentimentAnalysis, "llama3.2", {"Rainy"}, "Error: Connection refused"));

    // The gauge's rounded percentage with the description's cut-off band.
    const QList<QStringList> expected{
        {"10:15:32", "Sentiment Analysis", "llama3.2", "Rainy", "", "Error: Connection refused"},
        {"10:15:31", "Sentence Similarity", "nomic", "First line second line third", "B",
         "90% (These sentences are quite similar.)"},
        {"10:15:30", "Sentiment Analysis", "llama3.2", "Sunny", "", "4 (Positive)"},
    };
    QList<QStringList> rows(history.rowCount());
    for (int row = 0; row < history.rowCount(); ++row)
        for (int column = 0; column < history.columnCount(); ++column)
            rows[row].append(history.index(row, column).data().toString());
    QCOMPARE(rows, expected);
    QVERIFY(history.index(0, 0).data(SessionHistory::IsFailureRole).toBool());

    // Numbering goes on after clearing, so a row added later still sorts as newer.
    history.clear();
    history.add(HistoryEntry::sentiment("m", "v", 3));
    QCOMPARE(history.entries().first().sequence, 4);
}

void TestSessionHistory::csvFieldsAndBytes()
{
    HistoryEntry entry = HistoryEntry::similarity("nomic", "A", "B", 8.0f / 9.0f);
    entry.time = QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30), QTimeZone(7200));
    QCOMPARE(HistoryCsv::write({entry}),
             QByteArray("Time,Demo,Model,Text,Second Text,Result,Value,Error\r\n2024-05-01T10:15:30+02:00,"
                        "Sentence Similarity,nomic,A,B,89% (These sentences are quite similar.),0.8888889,\r\n"));
}

void TestSessionHistory::csvRoundTripAndReader()
{
    SessionHistory history;
    for (const HistoryEntry &entry : awkwardEntries())
        history.add(entry);
    const QByteArray csv = HistoryCsv::write(history.entries());
    QVERIFY(csv.contains("très") && csv.contains("\xF0\x9F\x98\x80")); // UTF-8
    const QList<QStringList> rows = HistoryCsv::read(csv);
    QCOMPARE(rows.size(), history.size() + 1);
    for (int i = 0; i < history.size(); ++i) {
        QCOMPARE(rows.at(i + 1), HistoryCsv::fields(history.entries().at(i)));
        QCOMPARE(rows.at(i + 1).mid(2, 3), QStringList({history.entries().at(i).model,
                                                        history.entries().at(i).texts.value(0),
                                                        history.entries().at(i).texts.value(1)}));
    }
    QCOMPARE(HistoryCsv::read("a,b\nc,d"), (QList<QStringList>{{"a", "b"}, {"c", "d"}}));
    QCOMPARE(HistoryCsv::read("\"a,\"\"b\"\"\r\nc\",d\r\n,,\r\n"), (QList<QStringList>{{"a,\"b\"\r\nc", "d"}, {"", "", ""}}));
}

QTEST_MAIN(TestSessionHistory)
#include "tst_sessionhistory.moc"
