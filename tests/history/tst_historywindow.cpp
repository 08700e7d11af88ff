#include "history/HistoryCsv.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"
#include "widgets/NamedColors.h"
#include "widgets/SymbolView.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A History window over a history of its own with three rows: newest first
// a failure, a similarity and a sentiment result.
struct Window
{
    SessionHistory history;
    HistoryWindow window{history};

    explicit Window(bool filled = true)
    {
        if (filled) {
            history.add(HistoryEntry::sentiment(QStringLiteral("llama3.2"), QStringLiteral("Sunny\nand warm"), 5));
            history.add(HistoryEntry::similarity(QStringLiteral("nomic"), QStringLiteral("The film was good."),
                                                 QStringLiteral("The film was not good."), 0.93f));
            history.add(HistoryEntry::failure(DemoType::sentimentAnalysis, QStringLiteral("llama3.2"),
                                              {QStringLiteral("Rainy")}, QStringLiteral("Error: refused")));
        }
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QTableView *table() const { return window.table(); }
    QPushButton *button(const char *name) const
    {
        return window.findChild<QPushButton *>(QString::fromLatin1(name));
    }
    // Selects the given shown rows.
    void select(const QList<int> &rows) const
    {
        table()->clearSelection();
        for (const int row : rows)
            table()->selectionModel()->select(table()->model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QStringList shownFirstTexts() const
    {
        QStringList texts;
        for (const HistoryEntry &entry : window.shownEntries())
            texts.append(entry.texts.value(0));
        return texts;
    }
};

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyUntilSomethingEnds();
    void buttonsFollowTheSelection_data();
    void buttonsFollowTheSelection();
    void newestFirstUntilSorted();
    void copiesSelectedRowsAsTabSeparatedText();
    void useAgainHandsOverOneEntry();
    void exportWritesTheRowsAsShown();
    void exportFailureIsReportedInline();
    void clearEmptiesAndForgetsTheExport();
    void failuresInRed();
};

void TestHistoryWindow::emptyUntilSomethingEnds()
{
    Window w(false);
    auto *stack = w.window.findChild<QStackedWidget *>(QStringLiteral("historyStack"));
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("emptyCard"));
    QVERIFY(!w.button("exportButton")->isEnabled());
    QVERIFY(!w.button("clearButton")->isEnabled());

    w.history.add(HistoryEntry::sentiment("m", "t", 4));
    QCOMPARE(stack->currentWidget(), w.table());
    QVERIFY(w.button("exportButton")->isEnabled());
    QVERIFY(w.button("clearButton")->isEnabled());
    QCOMPARE(w.table()->model()->rowCount(), 1);
}

void TestHistoryWindow::buttonsFollowTheSelection_data()
{
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("useAgain");
    QTest::addColumn<bool>("copy");
    QTest::newRow("none") << QList<int>{} << false << false;
    QTest::newRow("one") << QList<int>{1} << true << true;
    QTest::newRow("two") << QList<int>{0, 2} << false << true;
}

void TestHistoryWindow::buttonsFollowTheSelection()
{
    QFETCH(QList<int>, rows);
    QFETCH(bool, useAgain);
    QFETCH(bool, copy);
    Window w;
    w.select(rows);
    QCOMPARE(w.button("useAgainButton")->isEnabled(), useAgain);
    QCOMPARE(w.button("copyButton")->isEnabled(), copy);
    QCOMPARE(w.window.selectedEntries().size(), rows.size());
}

void TestHistoryWindow::newestFirstUntilSorted()
{
    Window w;
    QCOMPARE(w.shownFirstTexts(), (QStringList{"Rainy", "The film was good.", "Sunny\nand warm"}));

    w.table()->sortByColumn(SessionHistory::TextColumn, Qt::AscendingOrder);
    QCOMPARE(w.shownFirstTexts(), (QStringList{"Rainy", "Sunny\nand warm", "The film was good."}));
    // A new row goes where the sorting puts it.
    w.history.add(HistoryEntry::sentiment("m", QStringLiteral("Awful"), 1));
    QCOMPARE(w.shownFirstTexts().first(), QStringLiteral("Awful"));

    // Back to the order of adding, newest first.
    w.table()->sortByColumn(-1, Qt::AscendingOrder);
    QCOMPARE(w.shownFirstTexts(), (QStringList{"Awful", "Rainy", "The film was good.", "Sunny\nand warm"}));
}

void TestHistoryWindow::copiesSelectedRowsAsTabSeparatedText()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.select({2, 0});
    const QString time0 = w.history.index(0, 0).data().toString();
    const QString time2 = w.history.index(2, 0).data().toString();
    const QString expected = time0 + "\tSentiment Analysis\tllama3.2\tRainy\t\tError: refused\n" + time2
        + "\tSentiment Analysis\tllama3.2\tSunny and warm\t\t5 (Very Positive)";
    QCOMPARE(w.window.selectionText(), expected);

    QGuiApplication::clipboard()->clear();
    w.table()->setFocus();
    QTest::keyClick(w.table(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);

    QGuiApplication::clipboard()->clear();
    w.select({1});
    QTest::mouseClick(w.button("copyButton"), Qt::LeftButton);
    QVERIFY(QGuiApplication::clipboard()->text().contains(
        QStringLiteral("\tThe film was good.\tThe film was not good.\t93% (These sentences are nearly identical")));
}

void TestHistoryWindow::useAgainHandsOverOneEntry()
{
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QSignalSpy used(&w.window, &HistoryWindow::useAgainRequested);

    w.select({1});
    QTest::mouseClick(w.button("useAgainButton"), Qt::LeftButton);
    QCOMPARE(used.size(), 1);
    QCOMPARE(used.at(0).at(0).value<HistoryEntry>(), w.history.entries().at(1));

    // Enter on a row uses it again too.
    w.table()->setFocus();
    w.table()->setCurrentIndex(w.table()->model()->index(2, 0));
    QTest::keyClick(w.table(), Qt::Key_Return);
    QCOMPARE(used.size(), 2);
    QCOMPARE(used.at(1).at(0).value<HistoryEntry>().texts, QStringList{QStringLiteral("Sunny\nand warm")});

    // With two rows selected nothing is handed over.
    w.select({0, 1});
    w.window.useAgain();
    QCOMPARE(used.size(), 2);
}

void TestHistoryWindow::exportWritesTheRowsAsShown()
{
    Window w;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lesson.csv"));
    w.table()->sortByColumn(SessionHistory::DemoColumn, Qt::AscendingOrder);

    QVERIFY(w.window.exportTo(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QStringList> rows = HistoryCsv::read(file.readAll());
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(1).at(1), QStringLiteral("Sentence Similarity"));
    QCOMPARE(rows.at(1), HistoryCsv::fields(w.window.shownEntries().first()));
    QCOMPARE(rows.at(3).at(3), QStringLiteral("Sunny\nand warm"));

    QVERIFY(w.window.exportStatus() && w.window.exportStatus()->ok);
    QCOMPARE(w.window.findChild<QLabel *>(QStringLiteral("exportStatusLabel"))->text(),
             QStringLiteral("Saved 3 rows to lesson.csv."));
    auto *symbol = w.window.findChild<SymbolView *>(QStringLiteral("exportStatusSymbol"));
    QCOMPARE(symbol->symbolName(), QStringLiteral("checkmark.circle.fill"));
    QCOMPARE(symbol->color(), NamedColors::color(NamedColor::Green, w.window.palette()));
}

void TestHistoryWindow::exportFailureIsReportedInline()
{
    Window w;
    QTemporaryDir dir;
    QVERIFY(!w.window.exportTo(dir.filePath(QStringLiteral("missing/lesson.csv"))));
    QVERIFY(w.window.exportStatus() && !w.window.exportStatus()->ok);
    const QString message = w.window.findChild<QLabel *>(QStringLiteral("exportStatusLabel"))->text();
    QVERIFY2(message.startsWith(QLatin1String("Could not save lesson.csv: ")), qPrintable(message));
    auto *symbol = w.window.findChild<SymbolView *>(QStringLiteral("exportStatusSymbol"));
    QCOMPARE(symbol->symbolName(), QStringLiteral("exclamationmark.triangle.fill"));
    QCOMPARE(symbol->color(), NamedColors::color(NamedColor::Orange, w.window.palette()));
}

void TestHistoryWindow::clearEmptiesAndForgetsTheExport()
{
    Window w;
    QTemporaryDir dir;
    QVERIFY(w.window.exportTo(dir.filePath(QStringLiteral("a.csv"))));
    QVERIFY(w.window.findChild<QWidget *>(QStringLiteral("exportStatusRow"))->isVisibleTo(&w.window));

    QTest::mouseClick(w.button("clearButton"), Qt::LeftButton);
    QVERIFY(w.history.isEmpty());
    QVERIFY(!w.window.exportStatus());
    QVERIFY(!w.window.findChild<QWidget *>(QStringLiteral("exportStatusRow"))->isVisibleTo(&w.window));
    QVERIFY(!w.button("clearButton")->isEnabled());
    QVERIFY(!w.button("useAgainButton")->isEnabled());
}

void TestHistoryWindow::failuresInRed()
{
    Window w;
    const QAbstractItemModel *shown = w.table()->model();
    const QColor red = NamedColors::color(NamedColor::Red, w.window.palette());
    QCOMPARE(shown->index(0, SessionHistory::ResultColumn).data(Qt::ForegroundRole).value<QColor>(), red);
    QVERIFY(!shown->index(1, SessionHistory::ResultColumn).data(Qt::ForegroundRole).isValid());
    QVERIFY(!shown->index(0, SessionHistory::TextColumn).data(Qt::ForegroundRole).isValid());

    QPalette dark = w.window.palette();
    dark.setColor(QPalette::Window, QColor(40, 40, 42));
    dark.setColor(QPalette::WindowText, QColor(235, 235, 240));
    w.window.setPalette(dark);
    QCOMPARE(shown->index(0, SessionHistory::ResultColumn).data(Qt::ForegroundRole).value<QColor>(),
             NamedColors::color(NamedColor::Red, dark));
}

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
