#include "demos/DemoHistory.h"
#include "history/HistoryCsv.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"
#include "widgets/SymbolView.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A History window over a history of its own with three rows: newest first
// a failure, a similarity and a sentiment result.
struct Window
{
    SessionHistory history;
    HistoryWindow window{history};

    Window()
    {
        history.add(DemoHistory::sentiment(QStringLiteral("llama3.2"), QStringLiteral("Sunny\nand warm"), 5));
        history.add(DemoHistory::similarity(QStringLiteral("nomic"), QStringLiteral("The film was good."),
                                             QStringLiteral("The film was not good."), 0.93f));
        history.add(DemoHistory::failure(DemoType::sentimentAnalysis, QStringLiteral("llama3.2"),
                                          {QStringLiteral("Rainy")}, QStringLiteral("Error: refused")));
        window.show();
        QApplication::setActiveWindow(&window);
    }

    QTableView *table() const { return window.table(); }
    template <typename W = QPushButton>
    W *child(const char *name) const { return window.findChild<W *>(QString::fromLatin1(name)); }
    void select(const QList<int> &rows) const
    {
        table()->clearSelection();
        for (const int row : rows)
            table()->selectionModel()->select(table()->model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void copiesSelectedRowsAsTabSeparatedText()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        w.select({2, 0});
        const QString expected = w.history.index(0, 0).data().toString()
            + "\tSentiment Analysis\tllama3.2\tRainy\t\tError: refused\n" + w.history.index(2, 0).data().toString()
            + "\tSentiment Analysis\tllama3.2\tSunny and warm\t\t5 (Very Positive)";
        QGuiApplication::clipboard()->clear();
        w.table()->setFocus();
        QTest::keyClick(w.table(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        // The failure's result is drawn in red, nothing else is tinted.
        const int hue = w.table()->model()->index(0, 5).data(Qt::ForegroundRole).value<QColor>().hslHue();
        QVERIFY(hue < 15 || hue >= 345);
        QVERIFY(!w.table()->model()->index(1, SessionHistory::ResultColumn).data(Qt::ForegroundRole).isValid());
    }

    void useAgainHandsOverOneEntry()
    {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QSignalSpy used(&w.window, &HistoryWindow::useAgainRequested);
        // "Use Again" takes exactly one row; "Copy" any number.
        for (const QList<int> &rows : QList<QList<int>>{{}, {1}, {0, 2}}) {
            w.select(rows);
            QCOMPARE(w.child("useAgainButton")->isEnabled(), rows.size() == 1);
            QCOMPARE(w.child("copyButton")->isEnabled(), !rows.isEmpty());
        }
        w.select({1});
        QTest::mouseClick(w.child("useAgainButton"), Qt::LeftButton);
        QCOMPARE(used.size(), 1);
        QCOMPARE(used.at(0).at(0).value<HistoryEntry>(), w.history.entries().at(1));
        // Enter on a row uses it again too, in the order shown after sorting.
        w.table()->sortByColumn(SessionHistory::TextColumn, Qt::AscendingOrder);
        w.table()->setFocus();
        w.table()->setCurrentIndex(w.table()->model()->index(1, 0));
        QTest::keyClick(w.table(), Qt::Key_Return);
        QCOMPARE(used.size(), 2);
        QCOMPARE(used.at(1).at(0).value<HistoryEntry>().texts, QStringList{QStringLiteral("Sunny\nand warm")});
    }

    // A name typed without ".csv" in the export dialog: the overwrite
    // question is about the file that is really written.
    void exportDialogAsksAboutTheRealFile()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        Window w;
        QTemporaryDir dir;
        QFile old(dir.filePath("results.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        QTest::mouseClick(w.child("exportButton"), Qt::LeftButton);
        auto *dialog = w.window.findChild<QFileDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->setDirectory(dir.path());
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        name->setText(QStringLiteral("results"));
        bool asked = false;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = box->text().contains(QStringLiteral("results.csv"));
                box->button(QMessageBox::Yes)->click();
            }
        });
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(asked);
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll().startsWith("Time,Demo,"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"results.csv"});
    }

    void exportReportsItsOutcomeInline_data()
    {
        QTest::addColumn<QStringList>("row"); // file, message, symbol
        QTest::newRow("saved") << QStringList{"lesson.csv", "Saved 3 rows to lesson.csv.", "checkmark.circle.fill"};
        QTest::newRow("no such folder")
            << QStringList{"missing/lesson.csv", "Could not save lesson.csv: ", "exclamationmark.triangle.fill"};
    }

    void exportReportsItsOutcomeInline()
    {
        QFETCH(QStringList, row);
        const QString file = row.at(0), message = row.at(1), symbol = row.at(2);
        Window w;
        QTemporaryDir dir;
        w.table()->sortByColumn(SessionHistory::DemoColumn, Qt::AscendingOrder);
        QCOMPARE(w.window.exportTo(dir.filePath(file)), symbol.startsWith("check"));
        QVERIFY(w.child<QLabel>("exportStatusLabel")->text().startsWith(message));
        QCOMPARE(w.child<SymbolView>("exportStatusSymbol")->symbolName(), symbol);
        if (QFile csv(dir.filePath(file)); csv.open(QIODevice::ReadOnly)) {
            // The rows in the order shown, texts unchanged.
            const QList<QStringList> rows = HistoryCsv::read(csv.readAll());
            QCOMPARE(rows.size(), 4);
            QCOMPARE(rows.at(1).at(1), QStringLiteral("Sentence Similarity"));
            QCOMPARE(rows.at(3).at(3), QStringLiteral("Sunny\nand warm"));
        }
        // Clearing empties the table and takes the message with it.
        QTest::mouseClick(w.child("clearButton"), Qt::LeftButton);
        QVERIFY(w.history.isEmpty());
        QVERIFY(!w.child<QWidget>("exportStatusRow")->isVisibleTo(&w.window));
        QCOMPARE(w.child<QStackedWidget>("historyStack")->currentWidget(), w.child<QWidget>("emptyCard"));
        QCOMPARE(w.child<QLabel>("emptyTitleLabel")->text(), QStringLiteral("Nothing analyzed yet"));
        QVERIFY(!w.child("clearButton")->isEnabled() && !w.child("exportButton")->isEnabled());
        w.history.add(DemoHistory::sentiment("m", "t", 4));
        QCOMPARE(w.child<QStackedWidget>("historyStack")->currentWidget(), w.table());
    }
};

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
