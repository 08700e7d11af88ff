#include "history/HistoryCsv.h"
#include "history/SessionHistory.h"

#include <QFile>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

namespace {

// 1 May 2024, 10:15:30 at UTC+2, then one second later for each call.
SessionHistory::Clock steppingClock()
{
    auto next = std::make_shared<int>(0);
    return [next] {
        return QDateTime(QDate(2024, 5, 1), QTime(10, 15, 30).addSecs((*next)++), QTimeZone(7200));
    };
}

QString cell(const SessionHistory &history, int row, int column, int role = Qt::DisplayRole)
{
    return history.index(row, column).data(role).toString();
}

// Texts that CSV has to quote, or that a careless writer would mangle.
QList<HistoryEntry> awkwardEntries()
{
    return {
        HistoryEntry::sentiment(QStringLiteral("llama3.2:latest"),
                                QStringLiteral("She said \"fine\", then left,\r\nangry\nand\ttired"), 2),
        HistoryEntry::similarity(QStringLiteral("nomic-embed-text"), QStringLiteral("Il fait très beau, non ?"),
                                 QStringLiteral("Ünïcödé \"quotes\" 😀\n"), 0.897f),
        HistoryEntry::failure(DemoType::sentenceSimilarity, QStringLiteral("m,odel"),
                              {QStringLiteral("=1+1"), QStringLiteral(" leading and trailing ")},
                              QStringLiteral("Error: The operation couldn't be completed. (Invalid response from "
                                             "Ollama error -1.)")),
        HistoryEntry::sentiment(QStringLiteral("x"), QString(), 3),
    };
}

} // namespace

class TestSessionHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newestFirstAcrossDemos();
    void resultsInWords_data();
    void resultsInWords();
    void cellsAreOneLineTipsAreFull();
    void sortValuesOrderSensibly();
    void clearEmptiesTheModel();
    void csvFieldQuoting_data();
    void csvFieldQuoting();
    void csvFieldsOfEachKindOfRow();
    void csvRoundTripKeepsAwkwardTexts();
    void csvReaderEdgeCases_data();
    void csvReaderEdgeCases();
    void csvFileIsWrittenWholeOrNotAtAll();
};

void TestSessionHistory::newestFirstAcrossDemos()
{
    SessionHistory history;
    history.setClock(steppingClock());
    QSignalSpy inserted(&history, &QAbstractItemModel::rowsInserted);
    QSignalSpy added(&history, &SessionHistory::entryAdded);

    history.add(HistoryEntry::sentiment(QStringLiteral("llama3.2"), QStringLiteral("Sunny"), 4));
    history.add(HistoryEntry::similarity(QStringLiteral("nomic"), QStringLiteral("A"), QStringLiteral("B"), 0.5f));
    history.add(HistoryEntry::failure(DemoType::sentimentAnalysis, QStringLiteral("llama3.2"),
                                      {QStringLiteral("Rainy")}, QStringLiteral("Error: Connection refused")));

    QCOMPARE(history.rowCount(), 3);
    QCOMPARE(history.columnCount(), 6);
    QCOMPARE(inserted.size(), 3);
    for (const QList<QVariant> &arguments : std::as_const(inserted)) {
        QVERIFY(!arguments.at(0).toModelIndex().isValid());
        QCOMPARE(arguments.at(1).toInt(), 0);
        QCOMPARE(arguments.at(2).toInt(), 0);
    }
    QCOMPARE(added.size(), 3);
    QCOMPARE(added.last().at(0).value<HistoryEntry>().sequence, 3);

    const QStringList newest = {"10:15:32", "Sentiment Analysis", "llama3.2", "Rainy", "", "Error: Connection refused"};
    const QStringList middle = {"10:15:31", "Sentence Similarity", "nomic", "A", "B",
                                "50% (These sentences have moderate similarity.)"};
    const QStringList oldest = {"10:15:30", "Sentiment Analysis", "llama3.2", "Sunny", "", "4 (Positive)"};
    const QList<QStringList> expected = {newest, middle, oldest};
    for (int row = 0; row < 3; ++row) {
        QStringList cells;
        for (int column = 0; column < SessionHistory::ColumnCount; ++column)
            cells.append(cell(history, row, column));
        QCOMPARE(cells, expected.at(row));
    }
    QCOMPARE(history.index(0, 0).data(SessionHistory::IsFailureRole).toBool(), true);
    QCOMPARE(history.index(1, 0).data(SessionHistory::IsFailureRole).toBool(), false);
    QCOMPARE(history.headerData(SessionHistory::SecondTextColumn, Qt::Horizontal).toString(),
             QStringLiteral("Second Text"));
    QVERIFY(!history.index(0, 0).flags().testFlag(Qt::ItemIsEditable));
}

void TestSessionHistory::resultsInWords_data()
{
    QTest::addColumn<HistoryEntry>("entry");
    QTest::addColumn<QString>("result");
    QTest::addColumn<double>("value");
    QTest::newRow("very negative") << HistoryEntry::sentiment("m", "t", 1) << "1 (Very Negative)" << 1.0;
    QTest::newRow("gauge rounds, description truncates")
        << HistoryEntry::similarity("m", "a", "b", 0.897f) << "90% (These sentences are quite similar.)"
        << double(0.897f);
    QTest::newRow("clamped negative") << HistoryEntry::similarity("m", "a", "b", 0.0f)
                                      << "0% (These sentences are quite different.)" << 0.0;
}

void TestSessionHistory::resultsInWords()
{
    QFETCH(HistoryEntry, entry);
    QFETCH(QString, result);
    QFETCH(double, value);
    QCOMPARE(entry.result, result);
    QCOMPARE(entry.value, std::optional<double>(value));
    QVERIFY(!entry.isFailure());
}

void TestSessionHistory::cellsAreOneLineTipsAreFull()
{
    SessionHistory history;
    const QString text = QStringLiteral("  First line\r\nsecond\tline \u2028third  ");
    history.add(HistoryEntry::similarity("m", text, QStringLiteral("B\nB"), 0.3f));
    QCOMPARE(cell(history, 0, SessionHistory::TextColumn), QStringLiteral("First line second line third"));
    QCOMPARE(cell(history, 0, SessionHistory::SecondTextColumn), QStringLiteral("B B"));
    QCOMPARE(cell(history, 0, SessionHistory::TextColumn, Qt::ToolTipRole), text);
    QVERIFY(cell(history, 0, SessionHistory::TimeColumn, Qt::ToolTipRole).contains(QLatin1Char('-')));
}

void TestSessionHistory::sortValuesOrderSensibly()
{
    SessionHistory history;
    // All at the same second: the order of adding still decides the time.
    const QDateTime now = QDateTime::currentDateTime();
    history.setClock([now] { return now; });
    history.add(HistoryEntry::similarity("m", "a", "b", 0.9f));     // seq 1
    history.add(HistoryEntry::sentiment("m", "t", 5));              // seq 2
    history.add(HistoryEntry::failure(DemoType::sentimentAnalysis, "m", {"t"}, "Error: x")); // seq 3
    history.add(HistoryEntry::similarity("m", "a", "b", 0.1f));     // seq 4
    history.add(HistoryEntry::sentiment("m", "t", 1));              // seq 5

    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&history);
    proxy.setSortRole(SessionHistory::SortRole);
    const auto order = [&proxy] {
        QStringList results;
        for (int row = 0; row < proxy.rowCount(); ++row)
            results.append(proxy.index(row, SessionHistory::ResultColumn).data().toString());
        return results;
    };

    proxy.sort(SessionHistory::TimeColumn, Qt::AscendingOrder);
    QCOMPARE(order().first(), QStringLiteral("90% (These sentences are nearly identical in meaning.)"));
    QCOMPARE(order().last(), QStringLiteral("1 (Very Negative)"));

    // Each demo together, failures first, then by score or percentage.
    proxy.sort(SessionHistory::ResultColumn, Qt::AscendingOrder);
    QCOMPARE(order(), (QStringList{"Error: x", "1 (Very Negative)", "5 (Very Positive)",
                                   "10% (These sentences are quite different.)",
                                   "90% (These sentences are nearly identical in meaning.)"}));
}

void TestSessionHistory::clearEmptiesTheModel()
{
    SessionHistory history;
    QSignalSpy reset(&history, &QAbstractItemModel::modelReset);
    history.clear();
    QCOMPARE(reset.size(), 0);
    history.add(HistoryEntry::sentiment("m", "t", 4));
    history.add(HistoryEntry::sentiment("m", "u", 2));
    history.clear();
    QCOMPARE(reset.size(), 1);
    QVERIFY(history.isEmpty());
    QCOMPARE(history.rowCount(), 0);
    // Numbering goes on, so that a row added later still sorts as newer.
    history.add(HistoryEntry::sentiment("m", "v", 3));
    QCOMPARE(history.entries().first().sequence, 3);
}

void TestSessionHistory::csvFieldQuoting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "plain text" << "plain text";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "a,b" << "\"a,b\"";
    QTest::newRow("quote doubled") << "say \"hi\"" << "\"say \"\"hi\"\"\"";
    QTest::newRow("line feed") << "a\nb" << "\"a\nb\"";
    QTest::newRow("carriage return") << "a\rb" << "\"a\rb\"";
    QTest::newRow("spaces kept, unquoted") << " a " << " a ";
    QTest::newRow("non-ASCII unquoted") << "très" << "très";
}

void TestSessionHistory::csvFieldQuoting()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(HistoryCsv::field(text), field);
}

void TestSessionHistory::csvFieldsOfEachKindOfRow()
{
    SessionHistory history;
    history.setClock(steppingClock());
    history.add(HistoryEntry::sentiment("llama3.2", "Sunny", 4));
    history.add(HistoryEntry::similarity("nomic", "A", "B", 8.0f / 9.0f));
    history.add(HistoryEntry::failure(DemoType::sentenceSimilarity, "nomic", {"A", "B"}, "Error: refused"));

    QCOMPARE(HistoryCsv::header(), (QStringList{"Time", "Demo", "Model", "Text", "Second Text", "Result", "Value",
                                                "Error"}));
    const QList<HistoryEntry> &entries = history.entries();
    QCOMPARE(HistoryCsv::fields(entries.at(2)),
             (QStringList{"2024-05-01T10:15:30+02:00", "Sentiment Analysis", "llama3.2", "Sunny", "",
                          "4 (Positive)", "4", ""}));
    QCOMPARE(HistoryCsv::fields(entries.at(1)),
             (QStringList{"2024-05-01T10:15:31+02:00", "Sentence Similarity", "nomic", "A", "B",
                          "89% (These sentences are quite similar.)", "0.8888889", ""}));
    QCOMPARE(HistoryCsv::fields(entries.at(0)),
             (QStringList{"2024-05-01T10:15:32+02:00", "Sentence Similarity", "nomic", "A", "B", "", "",
                          "Error: refused"}));

    // Bytes: header, CRLF after every row, UTF-8.
    const QByteArray csv = HistoryCsv::write({entries.at(2)});
    QCOMPARE(csv, QByteArray("Time,Demo,Model,Text,Second Text,Result,Value,Error\r\n"
                             "2024-05-01T10:15:30+02:00,Sentiment Analysis,llama3.2,Sunny,,4 (Positive),4,\r\n"));
}

void TestSessionHistory::csvRoundTripKeepsAwkwardTexts()
{
    SessionHistory history;
    history.setClock(steppingClock());
    for (const HistoryEntry &entry : awkwardEntries())
        history.add(entry);

    const QByteArray csv = HistoryCsv::write(history.entries());
    QVERIFY(csv.contains("très"));
    QVERIFY(csv.contains("\xF0\x9F\x98\x80")); // the emoji, as UTF-8
    const QList<QStringList> rows = HistoryCsv::read(csv);
    QCOMPARE(rows.size(), history.size() + 1);
    QCOMPARE(rows.first(), HistoryCsv::header());
    for (int i = 0; i < history.size(); ++i) {
        const HistoryEntry &entry = history.entries().at(i);
        QCOMPARE(rows.at(i + 1), HistoryCsv::fields(entry));
        QCOMPARE(rows.at(i + 1).at(3), entry.texts.value(0));
        QCOMPARE(rows.at(i + 1).at(4), entry.texts.value(1));
        QCOMPARE(rows.at(i + 1).at(2), entry.model);
    }
}

void TestSessionHistory::csvReaderEdgeCases_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("CRLF rows, final line end") << QByteArray("a,b\r\nc,d\r\n")
                                               << QList<QStringList>{{"a", "b"}, {"c", "d"}};
    QTest::newRow("LF rows, no final line end") << QByteArray("a,b\nc,d")
                                                << QList<QStringList>{{"a", "b"}, {"c", "d"}};
    QTest::newRow("empty fields") << QByteArray(",,\r\n") << QList<QStringList>{{"", "", ""}};
    QTest::newRow("quoted separators") << QByteArray("\"a,\"\"b\"\"\r\nc\",d\r\n")
                                       << QList<QStringList>{{"a,\"b\"\r\nc", "d"}};
    QTest::newRow("quoted empty") << QByteArray("\"\",x") << QList<QStringList>{{"", "x"}};
    QTest::newRow("nothing") << QByteArray() << QList<QStringList>{};
}

void TestSessionHistory::csvReaderEdgeCases()
{
    QFETCH(QByteArray, csv);
    QFETCH(QList<QStringList>, rows);
    QCOMPARE(HistoryCsv::read(csv), rows);
}

void TestSessionHistory::csvFileIsWrittenWholeOrNotAtAll()
{
    QTemporaryDir dir;
    const QList<HistoryEntry> entries = awkwardEntries();
    const QString path = dir.filePath(QStringLiteral("history.csv"));

    // An older, longer file is replaced, not overwritten in part.
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    QCOMPARE(HistoryCsv::writeFile(path, entries), std::nullopt);
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), HistoryCsv::write(entries));

    // A folder that does not exist: a reason, and no file.
    const QString missing = dir.filePath(QStringLiteral("no/such/folder/history.csv"));
    const std::optional<QString> failure = HistoryCsv::writeFile(missing, entries);
    QVERIFY(failure.has_value());
    QVERIFY(!failure->isEmpty());
    QVERIFY(!QFile::exists(missing));
}

QTEST_MAIN(TestSessionHistory)
#include "tst_sessionhistory.moc"
