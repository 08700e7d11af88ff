#include "HistoryWindow.h"

#include "HistoryCsv.h"
#include "widgets/ExportDialog.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int inset = 16;
constexpr int spacing = 12;

QPushButton *makeButton(const QString &objectName, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(objectName);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    button->setAutoDefault(false);
    return button;
}

} // namespace

// Sorts by the history's sort values and draws a failure's error line in red.
class HistoryWindow::TintedProxy : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setFailureColor(const QColor &color)
    {
        if (color == m_failureColor)
            return;
        m_failureColor = color;
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, SessionHistory::ResultColumn),
                               index(rowCount() - 1, SessionHistory::ResultColumn), {Qt::ForegroundRole});
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::ForegroundRole && index.column() == SessionHistory::ResultColumn
            && index.data(SessionHistory::IsFailureRole).toBool())
            return m_failureColor;
        return QSortFilterProxyModel::data(index, role);
    }

private:
    QColor m_failureColor;
};

HistoryWindow::HistoryWindow(SessionHistory &history, QWidget *parent)
    : QWidget(parent)
    , m_history(history)
    , m_proxy(new TintedProxy(this))
    , m_titleLabel(makeLabel(QStringLiteral("titleLabel"), QString(), TextStyle::Title2,
                             QFont::DemiBold))
    , m_introLabel(makeLabel(QStringLiteral("introLabel"), QString(), TextStyle::Body))
    , m_stack(new QStackedWidget)
    , m_table(new QTableView)
    , m_emptyCard(new RoundedPanel)
    , m_emptyTitleLabel(makeLabel(QStringLiteral("emptyTitleLabel"), QString(),
                                  TextStyle::Headline))
    , m_emptyTextLabel(makeLabel(QStringLiteral("emptyTextLabel"), QString(), TextStyle::Caption))
    , m_statusRow(new QWidget)
    , m_statusSymbol(new SymbolView(QStringLiteral("checkmark.circle.fill"),
                                    TextStyles::unzoomedLineHeight(TextStyle::Caption), QColor()))
    , m_statusLabel(makeLabel(QStringLiteral("exportStatusLabel"), QString(), TextStyle::Caption))
    , m_useAgainButton(makeButton(QStringLiteral("useAgainButton"), QString()))
    , m_copyButton(makeButton(QStringLiteral("copyButton"), QString()))
    , m_clearButton(makeButton(QStringLiteral("clearButton"), QString()))
    , m_exportButton(makeButton(QStringLiteral("exportButton"), QString()))
    , m_copyAction(new QAction(this))
    , m_useAgainAction(new QAction(this))
{
    setObjectName(QStringLiteral("historyWindow"));
    setMinimumSize(600, 320);
    resize(900, 460);

    setUpTable();
    setUpActions();
    buildEmptyCard();
    buildStatusRow();
    buildLayout();
    connectSignals();
    Retranslate::texts(this, [this] { retranslate(); });
}

void HistoryWindow::retranslate()
{
    setWindowTitle(tr("History"));
    m_titleLabel->setText(tr("Session History"));
    m_introLabel->setText(tr("Every analysis and calculation of this run, from every window. The "
                             "list is kept only until Quillmere quits; export it to keep it."));
    m_emptyTitleLabel->setText(tr("Nothing analyzed yet"));
    m_emptyTextLabel->setText(tr("Results from both demos appear here as soon as they come back."));
    m_useAgainButton->setText(tr("&Use Again"));
    m_copyButton->setText(tr("Co&py"));
    m_clearButton->setText(tr("C&lear"));
    m_exportButton->setText(tr("&Export CSV…"));
    m_copyAction->setText(tr("&Copy"));
    m_useAgainAction->setText(tr("&Use Again"));
    m_table->setAccessibleName(tr("History"));
    m_table->setAccessibleDescription(tr("Newest first until sorted by a column. Enter uses a row "
                                         "again; Ctrl+C copies the selected rows."));
    m_useAgainButton->setToolTip(tr("Put the selected row's texts back into its demo"));
    m_copyButton->setToolTip(tr("Copy the selected rows as tab-separated text (Ctrl+C)"));
    m_exportButton->setToolTip(tr("Save the list as a CSV file"));
    m_clearButton->setToolTip(tr("Remove every row"));
    // The column titles and the demos' names are worded as they are shown.
    m_history.retranslate();
    render();
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::setUpTable()
{
    m_proxy->setObjectName(QStringLiteral("historyProxy"));
    m_proxy->setSourceModel(&m_history);
    m_proxy->setSortRole(SessionHistory::SortRole);
    m_proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxy->setSortLocaleAware(true);

    m_table->setObjectName(QStringLiteral("historyTable"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->setTextElideMode(Qt::ElideRight);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QHeaderView *header = m_table->horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(SessionHistory::TimeColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(SessionHistory::DemoColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(SessionHistory::TextColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(SessionHistory::SecondTextColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(SessionHistory::ResultColumn, QHeaderView::Stretch);
    header->resizeSection(SessionHistory::ModelColumn, 130);
    // Unsorted (newest first) until the user picks a column; a third click
    // on a column goes back to that order.
    header->setSortIndicatorClearable(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
}

void HistoryWindow::setUpActions()
{
    m_copyAction->setObjectName(QStringLiteral("copyAction"));
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_copyAction, &QAction::triggered, this, &HistoryWindow::copySelection);
    m_useAgainAction->setObjectName(QStringLiteral("useAgainAction"));
    connect(m_useAgainAction, &QAction::triggered, this, &HistoryWindow::useAgain);
    m_table->addAction(m_useAgainAction);
    m_table->addAction(m_copyAction);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void HistoryWindow::buildEmptyCard()
{
    m_emptyCard->setObjectName(QStringLiteral("emptyCard"));
    auto *emptyLayout = new QVBoxLayout(m_emptyCard);
    emptyLayout->setContentsMargins(inset, inset, inset, inset);
    emptyLayout->setSpacing(8);
    emptyLayout->addStretch(1);
    m_emptyTitleLabel->setAlignment(Qt::AlignHCenter);
    m_emptyTextLabel->setAlignment(Qt::AlignHCenter);
    emptyLayout->addWidget(m_emptyTitleLabel);
    emptyLayout->addWidget(m_emptyTextLabel);
    emptyLayout->addStretch(1);

    m_stack->setObjectName(QStringLiteral("historyStack"));
    m_stack->addWidget(m_emptyCard);
    m_stack->addWidget(m_table);
}

void HistoryWindow::buildStatusRow()
{
    m_statusRow->setObjectName(QStringLiteral("exportStatusRow"));
    auto *statusLayout = new QHBoxLayout(m_statusRow);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(6);
    m_statusSymbol->setObjectName(QStringLiteral("exportStatusSymbol"));
    statusLayout->addWidget(m_statusSymbol, 0, Qt::AlignTop);
    statusLayout->addWidget(m_statusLabel, 1);
    m_statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void HistoryWindow::buildLayout()
{
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_useAgainButton);
    buttons->addWidget(m_copyButton);
    buttons->addStretch(1);
    buttons->addWidget(m_clearButton);
    buttons->addWidget(m_exportButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(inset, inset, inset, inset);
    layout->setSpacing(spacing);
    auto *headerBox = new QVBoxLayout;
    headerBox->setSpacing(6);
    headerBox->addWidget(m_titleLabel);
    headerBox->addWidget(m_introLabel);
    layout->addLayout(headerBox);
    layout->addWidget(m_stack, 1);
    layout->addWidget(m_statusRow);
    layout->addLayout(buttons);


    QWidget::setTabOrder(m_table, m_useAgainButton);
    QWidget::setTabOrder(m_useAgainButton, m_copyButton);
    QWidget::setTabOrder(m_copyButton, m_clearButton);
    QWidget::setTabOrder(m_clearButton, m_exportButton);
    setFocusProxy(m_table);
}

void HistoryWindow::connectSignals()
{
    connect(m_useAgainButton, &QPushButton::clicked, this, &HistoryWindow::useAgain);
    connect(m_copyButton, &QPushButton::clicked, this, &HistoryWindow::copySelection);
    connect(m_clearButton, &QPushButton::clicked, this, &HistoryWindow::clearHistory);
    connect(m_exportButton, &QPushButton::clicked, this, &HistoryWindow::exportWithDialog);
    connect(m_table, &QTableView::activated, this, [this](const QModelIndex &index) {
        m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        useAgain();
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &HistoryWindow::render);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &HistoryWindow::render);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &HistoryWindow::render);
    // An emptied history takes the last export's message with it.
    connect(m_proxy, &QAbstractItemModel::modelReset, this, [this] {
        m_exportStatus.reset();
        render();
    });
}

QList<HistoryEntry> HistoryWindow::shownEntries() const
{
    QList<HistoryEntry> entries;
    for (int row = 0; row < m_proxy->rowCount(); ++row)
        entries.append(m_history.entries().at(m_proxy->mapToSource(m_proxy->index(row, 0)).row()));
    return entries;
}

QList<int> HistoryWindow::selectedSourceRows() const
{
    QList<int> shownRows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        shownRows.append(index.row());
    std::sort(shownRows.begin(), shownRows.end());
    QList<int> rows;
    for (const int row : std::as_const(shownRows))
        rows.append(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    return rows;
}

QList<HistoryEntry> HistoryWindow::selectedEntries() const
{
    QList<HistoryEntry> entries;
    for (const int row : selectedSourceRows())
        entries.append(m_history.entries().at(row));
    return entries;
}

QString HistoryWindow::selectionText() const
{
    QStringList lines;
    for (const int row : selectedSourceRows()) {
        QStringList cells;
        for (int column = 0; column < SessionHistory::ColumnCount; ++column) {
            // Display texts are on one line already; a tab inside a text
            // would split the cell, so it becomes a space as well.
            cells.append(m_history.index(row, column).data(Qt::DisplayRole).toString());
        }
        lines.append(cells.join(QLatin1Char('\t')));
    }
    return lines.join(QLatin1Char('\n'));
}

void HistoryWindow::copySelection()
{
    const QString text = selectionText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void HistoryWindow::useAgain()
{
    const QList<HistoryEntry> entries = selectedEntries();
    if (entries.size() == 1)
        Q_EMIT useAgainRequested(entries.first());
}

bool HistoryWindow::exportTo(const QString &path)
{
    const QList<HistoryEntry> entries = shownEntries();
    const QString name = QFileInfo(path).fileName();
    if (const auto failure = HistoryCsv::writeFile(path, entries)) {
        m_exportStatus = ExportStatus{false, tr("Could not save %1: %2").arg(name, *failure)};
    } else {
        m_exportStatus = ExportStatus{
            true, entries.size() == 1 ? tr("Saved 1 row to %1.").arg(name)
                                      : tr("Saved %n rows to %1.", nullptr, int(entries.size())).arg(name)};
    }
    render();
    return m_exportStatus->ok;
}

void HistoryWindow::exportWithDialog()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(folder.isEmpty() ? QDir::homePath() : folder)
                                  .filePath(QStringLiteral("quillmere-history-%1.csv")
                                                .arg(QDate::currentDate().toString(Qt::ISODate)));
    ExportDialog::ask(this, tr("Export History"), suggested, tr("CSV files (*.csv);;All files (*)"),
                      QStringLiteral("csv"), [this](const QString &path) { exportTo(path); });
}

void HistoryWindow::clearHistory()
{
    m_history.clear();
}

void HistoryWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        render();
}

void HistoryWindow::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);
    const bool empty = m_history.isEmpty();
    const int selected = int(m_table->selectionModel()->selectedRows().size());

    setForeground(m_introLabel, secondary);
    setForeground(m_emptyTextLabel, secondary);
    m_emptyCard->setFillColor(pal.color(QPalette::Base));
    m_emptyCard->setBorderColor(NamedColors::withOpacity(secondary, 0.3));
    m_proxy->setFailureColor(NamedColors::color(NamedColor::Red, pal));
    m_stack->setCurrentWidget(empty ? static_cast<QWidget *>(m_emptyCard) : m_table);

    m_useAgainButton->setEnabled(selected == 1);
    m_useAgainAction->setEnabled(selected == 1);
    m_copyButton->setEnabled(selected > 0);
    m_copyAction->setEnabled(selected > 0);
    m_clearButton->setEnabled(!empty);
    m_exportButton->setEnabled(!empty);

    m_statusRow->setVisible(m_exportStatus.has_value());
    if (m_exportStatus) {
        const NamedColor tone = m_exportStatus->ok ? NamedColor::Green : NamedColor::Orange;
        m_statusSymbol->setSymbolName(m_exportStatus->ok ? QStringLiteral("checkmark.circle.fill")
                                                         : QStringLiteral("exclamationmark.triangle.fill"));
        m_statusSymbol->setColor(NamedColors::color(tone, pal));
        m_statusSymbol->setAccessibleName(m_exportStatus->ok ? tr("Saved") : tr("Not saved"));
        m_statusLabel->setText(m_exportStatus->message);
    }
}
