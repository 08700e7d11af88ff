#include "SentenceMapWindow.h"

#include "SentenceEmbeddings.h"
#include "SentenceMapPlot.h"
#include "SimilarityLegend.h"
#include "SimilarityMatrixModel.h"
#include "SimilarityMatrixView.h"
#include "catalogue/BackgroundWork.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/DemoHistory.h"
#include "demos/DemoScreen.h"
#include "history/HistoryCsv.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/ExportDialog.h"
#include "widgets/ProminentButton.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int inset = 16;
constexpr int spacing = 12;
constexpr int editorHeight = 120;
constexpr int plotWidth = 460;

QLabel *headline(const QString &name, const QString &text)
{
    return makeLabel(name, text, TextStyle::Headline);
}

} // namespace

struct SentenceMapWindow::Presentation
{
    MapResult result;
    SimilarityMatrixModel::Contents matrix;
    QString key;
    QString neighbours;
    QString alternative;
    QString spread;
    HistoryEntry entry;
};

SentenceMapWindow::SentenceMapWindow(AppSettings &settings, QWidget *parent)
    : SentenceMapWindow(settings, HttpClient::shared(), parent)
{
}

SentenceMapWindow::SentenceMapWindow(AppSettings &settings, HttpClient &http, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_http(http)
    , m_scrollArea(new QScrollArea(this))
    , m_titleLabel(makeLabel(QStringLiteral("titleLabel"), QString(), TextStyle::Title2, QFont::DemiBold))
    , m_introLabel(makeLabel(QStringLiteral("introLabel"),
                             QString(),
                             TextStyle::Body))
    , m_standinNoteLabel(makeLabel(QStringLiteral("standinNoteLabel"),
                                   QString(),
                                   TextStyle::Caption))
    , m_editorPanel(new RoundedPanel)
    , m_editor(new QPlainTextEdit)
    , m_countLabel(makeLabel(QStringLiteral("countLabel"), QString(), TextStyle::Caption))
    , m_button(new ProminentButton)
    , m_errorLabel(makeLabel(QStringLiteral("errorLabel"), QString(), TextStyle::Caption))
    , m_warningCard(new RoundedPanel)
    , m_placeholderLabel(makeLabel(QStringLiteral("placeholderLabel"),
                                   QString(),
                                   TextStyle::Body))
    , m_results(new QWidget)
    , m_matrixModel(new SimilarityMatrixModel(this))
    , m_matrix(new SimilarityMatrixView(m_matrixModel))
    , m_legend(new SimilarityLegend)
    , m_matrixHintLabel(makeLabel(QStringLiteral("matrixHintLabel"),
                                  QString(),
                                  TextStyle::Caption))
    , m_plot(new SentenceMapPlot)
    , m_spreadLabel(makeLabel(QStringLiteral("spreadLabel"), QString(), TextStyle::Subheadline))
    , m_mapHintLabel(makeLabel(QStringLiteral("mapHintLabel"),
                               QString(),
                               TextStyle::Caption))
    , m_keyLabel(makeLabel(QStringLiteral("keyLabel"), QString(), TextStyle::Subheadline))
    , m_neighboursLabel(makeLabel(QStringLiteral("neighboursLabel"), QString(), TextStyle::Body))
    , m_exportMatrixButton(new QPushButton(QString()))
    , m_exportMapButton(new QPushButton(QString()))
    , m_statusRow(new QWidget)
    , m_statusSymbol(new SymbolView(QStringLiteral("checkmark.circle.fill"),
                                    TextStyles::unzoomedLineHeight(TextStyle::Caption), QColor()))
    , m_statusLabel(makeLabel(QStringLiteral("exportStatusLabel"), QString(), TextStyle::Caption))
{
    setObjectName(QStringLiteral("sentenceMapWindow"));
    // Room for a 16-sentence result on a 1366 × 768 screen.
    resize(1280, 700);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);
    m_scrollArea->setObjectName(QStringLiteral("scrollArea"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    // The scroll bar stays, so that the column keeps its width when a result
    // makes it taller: a narrower column is laid out and drawn anew, whole.
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    // The column only grows or shrinks at its bottom as results come and
    // go: what stays in place is not drawn again.
    content->setAttribute(Qt::WA_StaticContents);
    m_results->setAttribute(Qt::WA_StaticContents);
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(inset, inset, inset, inset);
    column->setSpacing(spacing);

    column->addWidget(buildInputs());
    column->addWidget(m_warningCard);
    buildWarning();
    column->addWidget(m_placeholderLabel);
    column->addWidget(m_results);
    buildResults();
    column->addStretch(1);
    m_scrollArea->setWidget(content);

    connectActions();
    retranslate();
    // The hidden results area measured once, and the grid given its font,
    // so that the fonts and texts it first shows with are ready before the
    // first result: otherwise the turns that first show a result also load
    // them.
    sizeMatrix();
    m_results->heightForWidth(width());
}

void SentenceMapWindow::retranslate()
{
    setWindowTitle(tr("Sentence Map"));
    m_titleLabel->setText(tr("Sentence Map"));
    m_introLabel->setText(tr("Type 3 to 16 sentences, one per line. The embedding model turns each into a "
                             "vector; the grid compares every pair, and the map lays the vectors out flat, so "
                             "that sentences with similar meanings sit close together."));
    m_standinNoteLabel->setText(tr("The offline stand-in serves these vectors: it knows English words and "
                                   "their kinds, not sentences, other languages or negation."));
    m_placeholderLabel->setText(tr("The grid of similarities and the map of meaning appear here once the "
                                   "sentences are mapped."));
    m_matrixHintLabel->setText(tr("Bright cells are pairs with close meanings. Look for bright blocks away from "
                                  "the diagonal: groups of sentences about the same thing. The diagonal is each "
                                  "sentence against itself."));
    m_mapHintLabel->setText(tr("Look for clusters: sentences about the same thing gather, and the gaps between "
                               "groups are what the model tells apart. Two directions cannot hold everything, "
                               "so distances are only roughly right."));
    m_exportMatrixButton->setText(tr("Export Matrix CSV…"));
    m_exportMatrixButton->setToolTip(tr("Save the grid of similarities as a CSV file"));
    m_exportMapButton->setText(tr("Export Map PNG…"));
    m_exportMapButton->setToolTip(tr("Save the map as a PNG picture"));
    m_matrix->setAccessibleName(tr("Similarity matrix"));
    m_neighboursLabel->setAccessibleName(tr("Nearest neighbours"));
    m_editor->setAccessibleName(tr("Sentences, one per line"));
    m_editor->setPlaceholderText(tr("The cat sat on the mat.\nA dog slept by the fire.\nThe train leaves at seven."));
    // The headings that only this function names.
    const auto heading = [this](const char *name, const QString &text) {
        if (auto *label = findChild<QLabel *>(QLatin1String(name)))
            label->setText(text);
    };
    heading("warningTitleLabel", tr("No embedding model selected"));
    heading("warningTextLabel", tr("Please select an embedding model in Settings to map sentences."));
    heading("mapTitleLabel", tr("Map of Meaning"));
    heading("keyTitleLabel", tr("Sentences"));
    heading("neighboursTitleLabel", tr("Nearest Neighbours"));
    heading("matrixTitleLabel", tr("Similarity Matrix"));
    if (auto *symbol = m_warningCard->findChild<SymbolView *>())
        symbol->setAccessibleName(tr("Warning"));
    // A result's texts, written again in the new language.
    if (m_presentation) {
        const MapResult result = m_presentation->result;
        m_presentation = present(result.model, result.sentences, result.layout);
        m_matrixModel->setContents(m_presentation->matrix);
    }
    render();
}

QWidget *SentenceMapWindow::buildInputs()
{
    // The title, the introduction and the button on the left, the editor
    // (one sentence per line) on the right: one short band above the results.
    auto *inputs = new QWidget;
    inputs->setObjectName(QStringLiteral("inputs"));
    auto *row = new QHBoxLayout(inputs);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2 * spacing);

    auto *about = new QVBoxLayout;
    about->setSpacing(8);
    about->addWidget(m_titleLabel);
    about->addWidget(m_introLabel);
    about->addWidget(m_standinNoteLabel);
    about->addSpacing(4);
    m_button->setObjectName(QStringLiteral("mapButton"));
    about->addWidget(m_button, 0, Qt::AlignLeft);
    about->addStretch(1);
    row->addLayout(about, 2);

    auto *editing = new QVBoxLayout;
    editing->setSpacing(6);
    m_editorPanel->setObjectName(QStringLiteral("editorPanel"));
    m_editorPanel->setMinimumHeight(editorHeight);
    auto *panelLayout = new QVBoxLayout(m_editorPanel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    panelLayout->addWidget(m_editor);
    m_editor->setObjectName(QStringLiteral("sentencesEditor"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setTabChangesFocus(true);
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->document()->setDocumentMargin(0);
    m_editor->viewport()->setAutoFillBackground(false);
    TextStyles::apply(m_editor, TextStyle::Body);
    editing->addWidget(m_editorPanel, 1);
    editing->addWidget(m_countLabel);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    editing->addWidget(m_errorLabel);
    row->addLayout(editing, 3);
    return inputs;
}

void SentenceMapWindow::buildWarning()
{
    m_warningCard->setObjectName(QStringLiteral("warningCard"));
    auto *layout = new QVBoxLayout(m_warningCard);
    layout->setContentsMargins(inset, inset, inset, inset);
    auto *symbol = new SymbolView(QStringLiteral("exclamationmark.triangle.fill"),
                                  TextStyles::unzoomedLineHeight(TextStyle::Title),
                                  NamedColors::color(NamedColor::Orange));
    symbol->setObjectName(QStringLiteral("warningSymbol"));
    layout->addWidget(symbol, 0, Qt::AlignHCenter);
    for (QLabel *label : {headline(QStringLiteral("warningTitleLabel"), QString()),
                          makeLabel(QStringLiteral("warningTextLabel"), QString(), TextStyle::Caption)}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
}

void SentenceMapWindow::buildResults()
{
    // The grid and the map side by side; the numbered sentences and the
    // nearest neighbours side by side under them; then the exports.
    // At the top of the room it may keep for a result.
    m_placeholderLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_placeholderLabel->setContentsMargins(0, 3 * inset, 0, 3 * inset);
    m_results->setObjectName(QStringLiteral("results"));
    auto *layout = new QVBoxLayout(m_results);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    auto *pictures = new QHBoxLayout;
    pictures->setSpacing(2 * spacing);
    pictures->addLayout(buildMatrixBox(), 0);
    auto *mapBox = new QVBoxLayout;
    mapBox->setSpacing(8);
    mapBox->addWidget(headline(QStringLiteral("mapTitleLabel"), QString()));
    m_plot->setMaximumWidth(plotWidth);
    mapBox->addWidget(m_plot);
    mapBox->addWidget(m_spreadLabel);
    m_mapHintLabel->setMaximumWidth(plotWidth);
    mapBox->addWidget(m_mapHintLabel);
    mapBox->addStretch(1);
    pictures->addLayout(mapBox, 1);
    layout->addLayout(pictures);

    auto *lists = new QHBoxLayout;
    lists->setSpacing(2 * spacing);
    auto *keyBox = new QVBoxLayout;
    keyBox->setSpacing(8);
    keyBox->addWidget(headline(QStringLiteral("keyTitleLabel"), QString()));
    keyBox->addWidget(m_keyLabel);
    keyBox->addStretch(1);
    lists->addLayout(keyBox, 3);
    auto *neighboursBox = new QVBoxLayout;
    neighboursBox->setSpacing(8);
    neighboursBox->addWidget(headline(QStringLiteral("neighboursTitleLabel"), QString()));
    neighboursBox->addWidget(m_neighboursLabel);
    neighboursBox->addStretch(1);
    lists->addLayout(neighboursBox, 2);
    layout->addLayout(lists);

    m_statusRow->setObjectName(QStringLiteral("exportStatusRow"));
    auto *statusLayout = new QHBoxLayout(m_statusRow);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(6);
    m_statusSymbol->setObjectName(QStringLiteral("exportStatusSymbol"));
    statusLayout->addWidget(m_statusSymbol, 0, Qt::AlignTop);
    statusLayout->addWidget(m_statusLabel, 1);
    layout->addWidget(m_statusRow);
    auto *buttons = new QHBoxLayout;
    m_exportMatrixButton->setObjectName(QStringLiteral("exportMatrixButton"));
    m_exportMapButton->setObjectName(QStringLiteral("exportMapButton"));
    buttons->addWidget(m_exportMatrixButton);
    buttons->addWidget(m_exportMapButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

QVBoxLayout *SentenceMapWindow::buildMatrixBox()
{
    auto *box = new QVBoxLayout;
    box->setSpacing(8);
    box->addWidget(headline(QStringLiteral("matrixTitleLabel"), QString()));
    m_matrix->setObjectName(QStringLiteral("similarityMatrix"));
    m_matrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_matrix->setSelectionMode(QAbstractItemView::SingleSelection);
    m_matrix->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_matrix->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_matrix->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_matrix->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_matrix->setShowGrid(false);
    for (QHeaderView *header : {m_matrix->horizontalHeader(), m_matrix->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setHighlightSections(false);
    }
    m_matrix->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    box->addWidget(m_matrix);
    box->addWidget(m_legend);
    box->addWidget(m_matrixHintLabel);
    box->addStretch(1);
    return box;
}

void SentenceMapWindow::connectActions()
{
    setFocusProxy(m_editor);
    // Read as the demos read their editors, so that every character typed
    // (a no-break space too) is sent as typed.
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        m_text = typedText(m_editor);
        render();
    });
    connect(m_button, &QPushButton::clicked, this, &SentenceMapWindow::mapSentences);
    connect(m_exportMatrixButton, &QPushButton::clicked, this, [this] { exportWithDialog(true); });
    connect(m_exportMapButton, &QPushButton::clicked, this, [this] { exportWithDialog(false); });
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (canMap())
                mapSentences();
        });
    }
    connect(&m_settings, &AppSettings::selectedEmbeddingModelChanged, this, &SentenceMapWindow::render);
    m_revealTimer.setSingleShot(true);
    // Long enough for the frame of one part to be drawn before the next.
    m_revealTimer.setInterval(1);
    connect(&m_revealTimer, &QTimer::timeout, this, &SentenceMapWindow::revealNext);
}

QSize SentenceMapWindow::matrixCellSize(const QFont &font, int textMargin)
{
    // The widest text a cell can hold, with the style's margin on both sides
    // and some air, and at least the legend's proportions.
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString &text : {SentenceMap::percentText(1.0f), SentenceMap::percentText(0.88f),
                                QString::number(SentenceMap::maximumSentences)})
        widest = qMax(widest, metrics.horizontalAdvance(text));
    return {qMax(40, widest + 2 * textMargin + 8), qMax(26, metrics.height() + 2 * textMargin + 6)};
}

SentenceMapWindow::~SentenceMapWindow() = default;

void SentenceMapWindow::setSentences(const QStringList &sentences)
{
    m_editor->setPlainText(sentences.join(QLatin1Char('\n')));
}

QStringList SentenceMapWindow::sentences() const
{
    return SentenceMap::sentencesFromText(m_text);
}

bool SentenceMapWindow::canMap() const
{
    const qsizetype count = sentences().size();
    return !m_isMapping && m_settings.selectedEmbeddingModel().has_value()
        && count >= SentenceMap::minimumSentences && count <= SentenceMap::maximumSentences;
}

void SentenceMapWindow::mapSentences()
{
    const std::optional<QString> model = m_settings.selectedEmbeddingModel();
    if (!model) {
        m_errorMessage = tr("Please select an embedding model in Settings");
        render();
        return;
    }
    const QStringList texts = sentences();
    if (m_isMapping || texts.size() < SentenceMap::minimumSentences || texts.size() > SentenceMap::maximumSentences)
        return;

    m_isMapping = true;
    m_errorMessage.reset();
    m_result.reset();
    m_presentation.reset();
    m_revealed = Revealed::nothing;
    // A reveal cut short (the window closed or hidden between turns) leaves
    // no layout held.
    m_results->layout()->setEnabled(true);
    m_exportStatus.reset();
    // The placeholder keeps the last result's room while the next is made,
    // so that the column keeps its height: nothing below moves, and the
    // next result takes the same room without the column growing or
    // shrinking twice.
    if (m_results->isVisible())
        m_placeholderLabel->setMinimumHeight(m_results->height());
    // The window shows that it maps in the next turn: the press sends the
    // request, and the new state is set and drawn apart from it, so that
    // neither turn runs long.
    QTimer::singleShot(1, this, &SentenceMapWindow::render);

    // The window is the context: a reply after it has closed is dropped.
    SentenceEmbeddings::fetch(texts, *model, this,
                              [this, texts, model = *model](const Result<SentenceMap::Layout> &layout) {
        if (!layout) {
            m_isMapping = false;
            m_errorMessage = tr("Error: %1").arg(layout.error().description);
            render();
            // Every run ends in the session history, whichever way it ends.
            Q_EMIT runFinished(DemoHistory::sentenceMapFailure(model, texts, *m_errorMessage));
            return;
        }
        // The texts of 256 cells and of the lists take a millisecond or two
        // to write: the worker writes them too.
        BackgroundWork::run(
            this, [model, texts, layout = layout.value()] { return present(model, texts, layout); },
            [this](const std::shared_ptr<const Presentation> &presentation) { showPresentation(presentation); });
    }, m_settings, m_http);
}

std::shared_ptr<const SentenceMapWindow::Presentation>
SentenceMapWindow::present(const QString &model, const QStringList &texts, const SentenceMap::Layout &layout)
{
    auto p = std::make_shared<Presentation>();
    p->result = MapResult{model, texts, layout};
    const int n = int(texts.size());
    SimilarityMatrixModel::Contents &contents = p->matrix;
    contents.size = n;
    contents.cells.reserve(qsizetype(n) * n);
    for (int i = 0; i < n; ++i)
        contents.headerTips.append(tr("%1: %2").arg(QString::number(i + 1), texts[i]));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const float value = layout.matrix.value(i).value(j);
            SimilarityMatrixModel::Cell cell;
            cell.text = SentenceMap::percentText(value);
            cell.fill = SimilarityLegend::colorFor(shownSimilarity(value).value_or(0.0f));
            cell.ink = SimilarityLegend::textColorOn(cell.fill);
            // Built in one step: a "%1" in a sentence stays as typed.
            const QString first = QString::number(i + 1);
            const QString second = QString::number(j + 1);
            cell.toolTip = tr("%1 and %2: %3\n%1: %4\n%2: %5").arg(first, second, cell.text, texts[i], texts[j]);
            cell.accessibleText =
                tr("Sentence %1, \"%2\", and sentence %3, \"%4\": %5").arg(first, texts[i], second, texts[j], cell.text);
            contents.cells.append(std::move(cell));
        }
    }
    QStringList lines;
    for (const SentenceMap::Neighbour &neighbour : layout.neighbours)
        lines.append(SentenceMap::neighbourLine(neighbour));
    p->neighbours = lines.join(QLatin1Char('\n'));
    QStringList key;
    for (qsizetype i = 0; i < texts.size(); ++i)
        key.append(tr("%1  %2").arg(QString::number(i + 1), texts[i]));
    p->key = key.join(QLatin1Char('\n'));
    // The list says in words what both pictures show.
    p->alternative = tr("Nearest neighbours: %1").arg(lines.join(QStringLiteral("; ")));
    p->spread = SentenceMap::spreadLine(layout.projection);
    p->entry = DemoHistory::sentenceMap(model, texts, layout);
    return p;
}

void SentenceMapWindow::showPresentation(std::shared_ptr<const Presentation> presentation)
{
    // Nothing changes on screen in the turn the result arrives in.
    m_presentation = std::move(presentation);
    m_result = m_presentation->result;
    m_revealed = Revealed::arrived;
    m_revealTimer.start();
}

void SentenceMapWindow::revealNext()
{
    if (!m_result || m_revealed == Revealed::lists)
        return;
    m_revealed = Revealed(int(m_revealed) + 1);
    switch (m_revealed) {
    case Revealed::cells:
        m_matrixModel->setContents(m_presentation->matrix);
        sizeMatrix();
        break;
    case Revealed::measured:
        render();
        // A wrapped label measures its text at several widths, a few tenths
        // of a millisecond each for a list of sixteen lines; measured now,
        // the layout of the next turn finds the answers kept (at the width
        // of the last layout, which the next usually keeps; a label never
        // laid out has no such width).
        for (QLabel *label : {m_keyLabel, m_neighboursLabel, m_spreadLabel}) {
            label->sizeHint();
            label->minimumSizeHint();
            if (label->testAttribute(Qt::WA_Resized))
                label->heightForWidth(label->width());
        }
        m_revealTimer.start();
        return;
    case Revealed::background: {
        // The map of the last run is replaced before the plot is drawn again.
        m_plot->setMap(m_result->sentences, m_result->layout.projection);
        // Tab goes from the grid through the map's points to the exports.
        QWidget *previous = m_matrix;
        for (QWidget *marker : m_plot->markers()) {
            QWidget::setTabOrder(previous, marker);
            previous = marker;
        }
        QWidget::setTabOrder(previous, m_exportMatrixButton);
        QWidget::setTabOrder(m_exportMatrixButton, m_exportMapButton);
        break;
    }
    case Revealed::lists:
        // The run ends when its result is all on screen: then the next can
        // start.
        m_isMapping = false;
        render();
        Q_EMIT runFinished(m_presentation->entry);
        return;
    default:
        break;
    }
    m_revealTimer.start();
    if (m_revealed == Revealed::shown) {
        // Shown, the area would lay itself out at once at the size it had
        // while hidden, and again when the column gives it its room: its
        // layout waits until the next turn, when the column has placed it.
        m_results->layout()->setEnabled(false);
        render();
        layOutColumn();
        return;
    }
    if (m_revealed == Revealed::laidOut) {
        // Then the area is laid out once, in the room the column gave it.
        m_results->layout()->setEnabled(true);
        m_results->layout()->activate();
        return;
    }
    render();
}

void SentenceMapWindow::layOutColumn()
{
    // The column takes its new height at once. Left to the scroll area, it
    // would be laid out first at its old height, with the results squeezed,
    // and again when the scroll area caught up.
    QWidget *content = m_scrollArea->widget();
    const QWidget *viewport = m_scrollArea->viewport();
    const int width = viewport->width();
    content->resize(width, std::max(viewport->height(), content->heightForWidth(width)));
    content->layout()->activate();
}

void SentenceMapWindow::sizeMatrix()
{
    // Cells sized from the font they are drawn in, so that "100 %" fits at
    // any font size.
    const QFont font = TextStyles::font(TextStyle::Caption2);
    m_matrix->setFont(font);
    const int margin = m_matrix->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_matrix) + 1;
    const QSize cell = matrixCellSize(font, margin);
    for (QHeaderView *header : {m_matrix->horizontalHeader(), m_matrix->verticalHeader()})
        header->setFont(font);
    m_matrix->horizontalHeader()->setMinimumSectionSize(cell.width());
    m_matrix->horizontalHeader()->setDefaultSectionSize(cell.width());
    m_matrix->verticalHeader()->setMinimumSectionSize(cell.height());
    m_matrix->verticalHeader()->setDefaultSectionSize(cell.height());
    m_matrix->verticalHeader()->setMinimumWidth(cell.width() * 2 / 3);
}

bool SentenceMapWindow::exportMatrixTo(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!m_result) {
        setExportStatus(false, tr("Nothing to save yet: map some sentences first."));
        return false;
    }
    const QByteArray data = SentenceMap::matrixCsv(m_result->sentences, m_result->layout.matrix);
    if (const auto failure = HistoryCsv::writeBytes(path, data)) {
        setExportStatus(false, tr("Could not save %1: %2").arg(name, *failure));
        return false;
    }
    setExportStatus(true, tr("Saved the matrix to %1.").arg(name));
    return true;
}

bool SentenceMapWindow::exportMapTo(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    // The picture is taken from the screen: not before the map is drawn.
    if (!m_result || m_revealed < Revealed::map) {
        setExportStatus(false, tr("Nothing to save yet: map some sentences first."));
        return false;
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    // The map as shown, on an opaque background so that it reads in any viewer.
    QImage image = m_plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        setExportStatus(false, tr("Could not save %1: the picture could not be made.").arg(name));
        return false;
    }
    if (const auto failure = HistoryCsv::writeBytes(path, data)) {
        setExportStatus(false, tr("Could not save %1: %2").arg(name, *failure));
        return false;
    }
    setExportStatus(true, tr("Saved the map to %1.").arg(name));
    return true;
}

void SentenceMapWindow::setExportStatus(bool ok, const QString &message)
{
    m_exportStatus = ExportStatus{ok, message};
    render();
}

void SentenceMapWindow::exportWithDialog(bool matrix)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suffix = matrix ? QStringLiteral("csv") : QStringLiteral("png");
    const QString suggested = QDir(folder.isEmpty() ? QDir::homePath() : folder)
                                  .filePath(QStringLiteral("quillmere-sentence-%1-%2.%3")
                                                .arg(matrix ? QStringLiteral("matrix") : QStringLiteral("map"),
                                                     QDate::currentDate().toString(Qt::ISODate), suffix));
    ExportDialog::ask(this, matrix ? tr("Export Matrix") : tr("Export Map"), suggested,
                      matrix ? tr("CSV files (*.csv);;All files (*)") : tr("PNG pictures (*.png);;All files (*)"),
                      suffix, [this, matrix](const QString &path) {
                          if (matrix)
                              exportMatrixTo(path);
                          else
                              exportMapTo(path);
                      });
}

void SentenceMapWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The grid's cells are sized from their font, which follows the zoom.
    if (event->type() == QEvent::FontChange && m_result)
        sizeMatrix();
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        render();
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void SentenceMapWindow::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);
    const bool hasModel = m_settings.selectedEmbeddingModel().has_value();

    setForeground(m_introLabel, secondary);
    m_editorPanel->setFillColor(pal.color(QPalette::Base));
    m_editorPanel->setBorderColor(NamedColors::withOpacity(secondary, 0.3));

    const int count = int(sentences().size());
    QString countText;
    bool tooMany = false;
    if (count == 0) {
        countText = tr("Type 3 to 16 sentences, one per line; blank lines are skipped.");
    } else if (count < SentenceMap::minimumSentences) {
        countText = tr("%n of at least 3 sentences.", nullptr, count);
    } else if (count > SentenceMap::maximumSentences) {
        tooMany = true;
        countText = tr("%n sentences: one map holds at most 16, so remove %1.", nullptr, count)
                        .arg(count - SentenceMap::maximumSentences);
    } else {
        countText = tr("%n sentences.", nullptr, count);
    }
    m_countLabel->setText(countText);
    setForeground(m_countLabel, tooMany ? NamedColors::color(NamedColor::Orange, pal) : secondary);

    const QString buttonTitle = m_isMapping ? tr("Mapping...") : tr("Map Sentences");
    m_button->setText(buttonTitle);
    m_button->setAccessibleName(buttonTitle);
    m_button->setEnabled(canMap());
    m_button->setBusy(m_isMapping);

    m_errorLabel->setVisible(m_errorMessage.has_value());
    m_errorLabel->setText(m_errorMessage.value_or(QString()));
    setForeground(m_errorLabel, NamedColors::color(NamedColor::Red, pal));

    m_warningCard->setVisible(!hasModel);
    // The stand-in's models are named "standin-...".
    m_standinNoteLabel->setVisible(hasModel
                                   && m_settings.selectedEmbeddingModel()->startsWith(QLatin1String("standin-")));
    setForeground(m_standinNoteLabel, secondary);
    if (auto *symbol = m_warningCard->findChild<SymbolView *>())
        symbol->setColor(NamedColors::color(NamedColor::Orange, pal));
    m_warningCard->setFillColor(NamedColors::color(NamedColor::Orange, 0.1, pal));

    const bool shown = m_result && m_revealed >= Revealed::shown;
    m_results->setVisible(shown);
    m_placeholderLabel->setVisible(!shown && hasModel);
    if (!m_isMapping)
        m_placeholderLabel->setMinimumHeight(0);
    setForeground(m_placeholderLabel, secondary);
    m_exportMatrixButton->setEnabled(m_result.has_value() && !m_isMapping);
    m_exportMapButton->setEnabled(m_result.has_value() && !m_isMapping);
    setForeground(m_matrixHintLabel, secondary);
    setForeground(m_mapHintLabel, secondary);
    // Every text that sets the area's height comes with its layout; each
    // part is drawn in its own turn.
    const auto from = [this](Revealed part) { return m_presentation && m_revealed >= part; };
    const auto drawn = [this, &from](Revealed part) { return !m_presentation || from(part); };
    m_results->setUpdatesEnabled(drawn(Revealed::background));
    for (QWidget *part : m_results->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const Revealed due = part == m_matrix   ? Revealed::grid
            : part == m_plot                    ? Revealed::map
            : part == m_keyLabel                ? Revealed::key
            : part == m_neighboursLabel         ? Revealed::lists
                                                : Revealed::frame;
        part->setUpdatesEnabled(drawn(due));
    }
    m_matrix->setCellsShown(from(Revealed::grid));
    m_keyLabel->setText(from(Revealed::measured) ? m_presentation->key : QString());
    m_neighboursLabel->setText(from(Revealed::measured) ? m_presentation->neighbours : QString());
    m_spreadLabel->setText(from(Revealed::measured) ? m_presentation->spread : QString());
    const bool listed = from(Revealed::lists);
    m_matrix->setAccessibleDescription(listed ? m_presentation->alternative : QString());
    m_plot->setAccessibleDescription(listed ? m_presentation->alternative : QString());

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
