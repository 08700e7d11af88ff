#pragma once

#include "SessionHistory.h"

#include <QWidget>

#include <optional>

class QAction;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStackedWidget;
class QTableView;
class RoundedPanel;
class SymbolView;

// The History window: every analysis and calculation of this run in a
// sortable table, newest first until the user sorts by a column. Rows can be
// copied as tab-separated text (Ctrl+C), exported as CSV, cleared, or used
// again, which asks the application to put the row's texts back into a
// demo's editors.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // The outcome of the last export, shown as an icon and a caption.
    struct ExportStatus
    {
        bool ok = false;
        QString message;
    };

    explicit HistoryWindow(SessionHistory &history, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    QTableView *table() const { return m_table; }

    // The entries in the order the table shows them.
    QList<HistoryEntry> shownEntries() const;
    // The selected entries, in the order the table shows them.
    QList<HistoryEntry> selectedEntries() const;

    // The selected rows as text: one line per row, the visible columns
    // separated by tabs, each text on one line.
    QString selectionText() const;
    void copySelection();

    // Asks for the selected row's texts to be used again (needs exactly one
    // selected row).
    void useAgain();

    // Writes the rows, in the order shown, as CSV to `path` and shows the
    // outcome in the window. Returns whether it was written.
    bool exportTo(const QString &path);
    // Asks for a file name, then exports.
    void exportWithDialog();

    void clearHistory();

    const std::optional<ExportStatus> &exportStatus() const { return m_exportStatus; }

Q_SIGNALS:
    void useAgainRequested(const HistoryEntry &entry);

protected:
    void changeEvent(QEvent *event) override;

private:
    class TintedProxy;

    // Steps of the constructor.
    void setUpTable();
    void setUpActions();
    void buildEmptyCard();
    void buildStatusRow();
    void buildLayout();
    void connectSignals();

    void render();
    // The window's fixed texts in the current language.
    void retranslate();
    QList<int> selectedSourceRows() const;

    SessionHistory &m_history;
    std::optional<ExportStatus> m_exportStatus;

    TintedProxy *const m_proxy;
    QLabel *const m_titleLabel;
    QLabel *const m_introLabel;
    QStackedWidget *const m_stack;
    QTableView *const m_table;
    RoundedPanel *const m_emptyCard;
    QLabel *const m_emptyTitleLabel;
    QLabel *const m_emptyTextLabel;
    QWidget *const m_statusRow;
    SymbolView *const m_statusSymbol;
    QLabel *const m_statusLabel;
    QPushButton *const m_useAgainButton;
    QPushButton *const m_copyButton;
    QPushButton *const m_clearButton;
    QPushButton *const m_exportButton;
    QAction *const m_copyAction;
    QAction *const m_useAgainAction;
};
