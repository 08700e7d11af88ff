#include "demos/DemoHistory.h"
#include "demos/sentencemap/SentenceMapMath.h"
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
        DemoHistory::sentiment("llama3.2:latest", "She said \"fine\", then left,\r\nangry\nand\ttired", 2),
        DemoHistory::similarity("nomic-embed-text", "Il fait très beau, non ?", "Ünïcödé \"quotes\" 😀\n", 0.897f),
        DemoHistory::failure(DemoType::sentenceSimilarity, "m,odel", {"=1+1", " leading and trailing "},
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
    void csvTextCells_data();
    void csvTextCells();
    void csvRoundTripAndReader();
};

void TestSessionHistory::newestFirstInOneLineCells()
{
    SessionHistory history;
    auto next = std::make_shared<int>(0);
    history.setClock([next] { return QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30).addSecs((*next)++), QTimeZone(7200)); });
    history.add(DemoHistory::sentiment("llama3.2", "Sunny", 4));
    history.add(DemoHistory::similarity("nomic", "  First line\r\nsecond\tline \u2028third  ", "B", 0.897f));
    history.add(DemoHistory::failure(DemoType::sentimentAnalysis, "llama3.2", {"Rainy"}, "Error: Connection refused"));

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
    history.add(DemoHistory::sentiment("m", "v", 3));
    QCOMPARE(history.entries().first().sequence, 4);
}

void TestSessionHistory::csvFieldsAndBytes()
{
    HistoryEntry entry = DemoHistory::similarity("nomic", "A", "B", 8.0f / 9.0f);
    entry.time = QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30), QTimeZone(7200));
    QCOMPARE(HistoryCsv::write({entry}),
             QByteArray("Time,Demo,Model,Text,Second Text,Result,Value,Error\r\n2024-05-01T10:15:30+02:00,"
                        "Sentence Similarity,nomic,A,B,89% (These sentences are quite similar.),0.8888889,\r\n"));
}

void TestSessionHistory::csvTextCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cell"); // as written

    // What a spreadsheet would run as a formula gets a leading quote.
    QTest::newRow("=") << "=1+1" << "'=1+1";
    QTest::newRow("+") << "+31 6 12" << "'+31 6 12";
    QTest::newRow("-") << "-2+3+cmd|' /C calc'!A0" << "'-2+3+cmd|' /C calc'!A0";
    QTest::newRow("@") << "@SUM(A1:A9)" << "'@SUM(A1:A9)";
    QTest::newRow("tab") << "\t=x" << "'\t=x";
    QTest::newRow("carriage return") << "\r=x" << "\"'\r=x\"";
    QTest::newRow("quote and comma") << "=\"a\",b" << "\"'=\"\"a\"\",b\"";
    // A text that already reads like a mark gets one more, so the reader
    // takes off only what the writer added.
    QTest::newRow("quote, then =") << "'=x" << "''=x";
    QTest::newRow("quote, then text") << "'tis" << "'tis";
    QTest::newRow("= inside") << "a=b" << "a=b";
    // A lone CR would end the row in a spreadsheet and in our reader.
    QTest::newRow("lone CR") << "one\rtwo" << "\"one\rtwo\"";
    QTest::newRow("empty") << "" << "";
}

void TestSessionHistory::csvTextCells()
{
    QFETCH(QString, text);
    QFETCH(QString, cell);
    QCOMPARE(HistoryCsv::textField(text), cell);
    // Read back as written, beside a number that stays as it is.
    const QByteArray line = (cell + ',' + HistoryCsv::field("-0.25") + "\r\n").toUtf8();
    QCOMPARE(HistoryCsv::read(line), (QList<QStringList>{{text, "-0.25"}}));

    // The same in a history row (model, text, error) and in the Sentence
    // Map's matrix (sentence), whose figures stay plain numbers.
    const HistoryEntry entry = DemoHistory::failure(DemoType::sentimentAnalysis, text, {text}, text);
    QCOMPARE(HistoryCsv::read(HistoryCsv::write({entry})).value(1), HistoryCsv::fields(entry));
    const QByteArray matrix = SentenceMap::matrixCsv({text, "b"}, {{1.0f, 0.25f}, {0.25f, 1.0f}});
    QVERIFY2(matrix.contains("\r\n1," + cell.toUtf8() + ",1,0.25\r\n"), matrix.constData());
    QCOMPARE(HistoryCsv::read(matrix).value(1).value(1), text);
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
