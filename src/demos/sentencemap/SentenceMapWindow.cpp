#include "SentenceMapWindow.h"

#include "SentenceEmbeddings.h"
#include "SentenceMapPlot.h"
#include "SimilarityLegend.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "history/HistoryCsv.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/ProminentButton.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int inset = 16;
constexpr int spacing = 12;
constexpr int editorHeight = 170;
constexpr int cellWidth = 44;
constexpr int cellHeight = 28;

const QString mapTitle = QStringLiteral("Map Sentences");
const QString mappingTitle = QStringLiteral("Mapping...");

QLabel *headline(const QString &name, const QString &text)
{
    return makeLabel(name, text, TextStyle::Headline);
}

} // namespace

SentenceMapWindow::SentenceMapWindow(AppSettings &settings, QWidget *parent)
    : SentenceMapWindow(settings, HttpClient::shared(), parent)
{
}

SentenceMapWindow::SentenceMapWindow(AppSettings &settings, HttpClient &http, QWidget *parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_http(http)
    , m_scrollArea(new QScrollArea(this))
    , m_titleLabel(makeLabel(QStringLiteral("titleLabel"), QStringLiteral("Sentence Map"), TextStyle::Title2,
                             QFont::DemiBold))
    , m_introLabel(makeLabel(QStringLiteral("introLabel"),
                             QStringLiteral("Type 3 to 16 sentences, one per line. The embedding model turns each "
                                            "into a vector; the grid compares every pair, and the map lays the "
                                            "vectors out flat, so that sentences with similar meanings sit close "
                                            "together."),
                             TextStyle::Body))
    , m_editorPanel(new RoundedPanel)
    , m_editor(new QPlainTextEdit)
    , m_countLabel(makeLabel(QStringLiteral("countLabel"), QString(), TextStyle::Caption))
    , m_button(new ProminentButton)
    , m_errorLabel(makeLabel(QStringLiteral("errorLabel"), QString(), TextStyle::Caption))
    , m_warningCard(new RoundedPanel)
    , m_results(new QWidget)
    , m_matrix(new QTableWidget)
    , m_legend(new SimilarityLegend)
    , m_matrixHintLabel(makeLabel(QStringLiteral("matrixHintLabel"),
                                  QStringLiteral("Bright cells are pairs with close meanings. Look for bright "
                                                 "blocks away from the diagonal: groups of sentences about the same "
                                                 "thing. The diagonal is each sentence against itself."),
                                  TextStyle::Caption))
    , m_plot(new SentenceMapPlot)
    , m_spreadLabel(makeLabel(QStringLiteral("spreadLabel"), QString(), TextStyle::Subheadline))
    , m_mapHintLabel(makeLabel(QStringLiteral("mapHintLabel"),
                               QStringLiteral("Look for clusters: sentences about the same thing gather, and the "
                                              "gaps between groups are what the model tells apart. Two directions "
                                              "cannot hold everything, so distances are only roughly right."),
                               TextStyle::Caption))
    , m_keyLabel(makeLabel(QStringLiteral("keyLabel"), QString(), TextStyle::Subheadline))
    , m_neighboursLabel(makeLabel(QStringLiteral("neighboursLabel"), QString(), TextStyle::Body))
    , m_exportMatrixButton(new QPushButton(QStringLiteral("Export Matrix CSV…")))
    , m_exportMapButton(new QPushButton(QStringLiteral("Export Map PNG…")))
    , m_statusRow(new QWidget)
    , m_statusSymbol(new SymbolView(QStringLiteral("checkmark.circle.fill"),
                                    TextStyles::unzoomedLineHeight(TextStyle::Caption), QColor()))
    , m_statusLabel(makeLabel(QStringLiteral("exportStatusLabel"), QString(), TextStyle::Caption))
{
    setObjectName(QStringLiteral("sentenceMapWindow"));
    setWindowTitle(QStringLiteral("Sentence Map"));
    resize(1180, 860);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);
    m_scrollArea->setObjectName(QStringLiteral("scrollArea"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(inset, inset, inset, inset);
    column->setSpacing(spacing);

    column->addWidget(m_titleLabel);
    column->addWidget(m_introLabel);

    // The editor, one sentence per line.
    m_editorPanel->setObjectName(QStringLiteral("editorPanel"));
    m_editorPanel->setFixedHeight(editorHeight);
    auto *panelLayout = new QVBoxLayout(m_editorPanel);
    panelLayout->setContentsMargins(8, 8, 8, 8);
    panelLayout->addWidget(m_editor);
    m_editor->setObjectName(QStringLiteral("sentencesEditor"));
    m_editor->setAccessibleName(QStringLiteral("Sentences, one per line"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setTabChangesFocus(true);
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->document()->setDocumentMargin(0);
    m_editor->viewport()->setAutoFillBackground(false);
    m_editor->setPlaceholderText(QStringLiteral("The cat sat on the mat.\nA dog slept by the fire.\n"
                                                "The train leaves at seven."));
    TextStyles::apply(m_editor, TextStyle::Body);
    column->addWidget(m_editorPanel);
    column->addWidget(m_countLabel);

    m_button->setObjectName(QStringLiteral("mapButton"));
    column->addWidget(m_button, 0, Qt::AlignHCenter);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_errorLabel);

    // No-model warning.
    m_warningCard->setObjectName(QStringLiteral("warningCard"));
    auto *warningLayout = new QVBoxLayout(m_warningCard);
    warningLayout->setContentsMargins(inset, inset, inset, inset);
    auto *warningSymbol = new SymbolView(QStringLiteral("exclamationmark.triangle.fill"),
                                         TextStyles::unzoomedLineHeight(TextStyle::Title),
                                         NamedColors::color(NamedColor::Orange));
    warningSymbol->setObjectName(QStringLiteral("warningSymbol"));
    warningSymbol->setAccessibleName(QStringLiteral("Warning"));
    warningLayout->addWidget(warningSymbol, 0, Qt::AlignHCenter);
    for (QLabel *label : {headline(QStringLiteral("warningTitleLabel"), QStringLiteral("No embedding model selected")),
                          makeLabel(QStringLiteral("warningTextLabel"),
                                    QStringLiteral("Please select an embedding model in Settings to map sentences."),
                                    TextStyle::Caption)}) {
        label->setAlignment(Qt::AlignHCenter);
        warningLayout->addWidget(label);
    }
    column->addWidget(m_warningCard);

    // Results: the grid and the map side by side, the list under them.
    m_results->setObjectName(QStringLiteral("results"));
    auto *resultsLayout = new QVBoxLayout(m_results);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->setSpacing(spacing);
    auto *pictures = new QHBoxLayout;
    pictures->setSpacing(2 * spacing);

    auto *matrixBox = new QVBoxLayout;
    matrixBox->setSpacing(8);
    matrixBox->addWidget(headline(QStringLiteral("matrixTitleLabel"), QStringLiteral("Similarity Matrix")));
    m_matrix->setObjectName(QStringLiteral("similarityMatrix"));
    m_matrix->setAccessibleName(QStringLiteral("Similarity matrix"));
    m_matrix->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_matrix->setSelectionMode(QAbstractItemView::SingleSelection);
    m_matrix->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_matrix->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_matrix->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_matrix->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_matrix->setShowGrid(false);
    TextStyles::apply(m_matrix, TextStyle::Caption2);
    for (QHeaderView *header : {m_matrix->horizontalHeader(), m_matrix->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setHighlightSections(false);
    }
    m_matrix->horizontalHeader()->setDefaultSectionSize(cellWidth);
    m_matrix->horizontalHeader()->setMinimumSectionSize(cellWidth);
    m_matrix->verticalHeader()->setDefaultSectionSize(cellHeight);
    m_matrix->verticalHeader()->setMinimumSectionSize(cellHeight);
    m_matrix->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    matrixBox->addWidget(m_matrix);
    matrixBox->addWidget(m_legend);
    m_matrixHintLabel->setMaximumWidth(16 * cellWidth + 30);
    matrixBox->addWidget(m_matrixHintLabel);
    // The numbers of the grid and the map, with their sentences.
    matrixBox->addSpacing(8);
    matrixBox->addWidget(headline(QStringLiteral("keyTitleLabel"), QStringLiteral("Sentences")));
    m_keyLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_keyLabel->setMaximumWidth(16 * cellWidth + 30);
    matrixBox->addWidget(m_keyLabel);
    matrixBox->addStretch(1);
    pictures->addLayout(matrixBox, 0);

    auto *mapBox = new QVBoxLayout;
    mapBox->setSpacing(8);
    mapBox->addWidget(headline(QStringLiteral("mapTitleLabel"), QStringLiteral("Map of Meaning")));
    m_plot->setMaximumWidth(560);
    mapBox->addWidget(m_plot);
    mapBox->addWidget(m_spreadLabel);
    mapBox->addWidget(m_mapHintLabel);
    mapBox->addSpacing(8);
    mapBox->addWidget(headline(QStringLiteral("neighboursTitleLabel"), QStringLiteral("Nearest Neighbours")));
    m_neighboursLabel->setAccessibleName(QStringLiteral("Nearest neighbours"));
    m_neighboursLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mapBox->addWidget(m_neighboursLabel);
    mapBox->addStretch(1);
    pictures->addLayout(mapBox, 1);
    resultsLayout->addLayout(pictures);

    m_statusRow->setObjectName(QStringLiteral("exportStatusRow"));
    auto *statusLayout = new QHBoxLayout(m_statusRow);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    statusLayout->setSpacing(6);
    m_statusSymbol->setObjectName(QStringLiteral("exportStatusSymbol"));
    statusLayout->addWidget(m_statusSymbol, 0, Qt::AlignTop);
    statusLayout->addWidget(m_statusLabel, 1);
    resultsLayout->addWidget(m_statusRow);
    auto *buttons = new QHBoxLayout;
    m_exportMatrixButton->setObjectName(QStringLiteral("exportMatrixButton"));
    m_exportMatrixButton->setToolTip(QStringLiteral("Save the grid of similarities as a CSV file"));
    m_exportMapButton->setObjectName(QStringLiteral("exportMapButton"));
    m_exportMapButton->setToolTip(QStringLiteral("Save the map as a PNG picture"));
    buttons->addWidget(m_exportMatrixButton);
    buttons->addWidget(m_exportMapButton);
    buttons->addStretch(1);
    resultsLayout->addLayout(buttons);
    column->addWidget(m_results);
    column->addStretch(1);
    m_scrollArea->setWidget(content);

    setFocusProxy(m_editor);
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        m_text = m_editor->toPlainText();
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

    render();
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
        m_errorMessage = QStringLiteral("Please select an embedding model in Settings");
        render();
        return;
    }
    const QStringList texts = sentences();
    if (m_isMapping || texts.size() < SentenceMap::minimumSentences || texts.size() > SentenceMap::maximumSentences)
        return;

    m_isMapping = true;
    m_errorMessage.reset();
    m_result.reset();
    m_exportStatus.reset();
    render();

    // The window is the context: a reply after it has closed is dropped.
    SentenceEmbeddings::fetch(texts, *model, this,
                              [this, texts, model = *model](const Result<QList<EmbeddingVector>> &vectors) {
        m_isMapping = false;
        if (!vectors) {
            m_errorMessage = QStringLiteral("Error: ") + vectors.error().description;
            render();
            return;
        }
        SentenceMap::Layout layout = SentenceMap::computeLayout(vectors.value());
        for (const QList<float> &row : std::as_const(layout.matrix)) {
            for (const float value : row) {
                // Finite floats can still overflow in the sums.
                if (!std::isfinite(value)) {
                    m_errorMessage = QStringLiteral("Error: ") + ClientError::invalidResponse().description;
                    render();
                    return;
                }
            }
        }
        m_result = MapResult{model, texts, std::move(layout)};
        fillMatrix();
        m_plot->setMap(m_result->sentences, m_result->layout.projection);
        // Tab goes from the grid through the map's points to the exports.
        QWidget *previous = m_matrix;
        for (QWidget *marker : m_plot->markers()) {
            QWidget::setTabOrder(previous, marker);
            previous = marker;
        }
        QWidget::setTabOrder(previous, m_exportMatrixButton);
        QWidget::setTabOrder(m_exportMatrixButton, m_exportMapButton);
        render();
    }, m_settings, m_http);
}

void SentenceMapWindow::fillMatrix()
{
    const QStringList &texts = m_result->sentences;
    const SentenceMap::Matrix &matrix = m_result->layout.matrix;
    const int n = int(texts.size());
    m_matrix->clear();
    m_matrix->setRowCount(n);
    m_matrix->setColumnCount(n);
    for (int i = 0; i < n; ++i) {
        for (const bool row : {true, false}) {
            auto *header = new QTableWidgetItem(QString::number(i + 1));
            header->setToolTip(QStringLiteral("%1: %2").arg(i + 1).arg(texts[i]));
            if (row)
                m_matrix->setVerticalHeaderItem(i, header);
            else
                m_matrix->setHorizontalHeaderItem(i, header);
        }
    }
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const float value = matrix[i][j];
            const QString percent = SentenceMap::percentText(value);
            auto *item = new QTableWidgetItem(percent);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(Qt::AlignCenter);
            const QColor fill = SimilarityLegend::colorFor(value);
            item->setBackground(fill);
            item->setForeground(SimilarityLegend::textColorOn(fill));
            item->setToolTip(QStringLiteral("%1 and %2: %3\n%1: %4\n%2: %5")
                                 .arg(i + 1)
                                 .arg(j + 1)
                                 .arg(percent, texts[i], texts[j]));
            item->setData(Qt::AccessibleTextRole, QStringLiteral("Sentence %1, \"%2\", and sentence %3, \"%4\": %5")
                                                      .arg(i + 1)
                                                      .arg(texts[i])
                                                      .arg(j + 1)
                                                      .arg(texts[j], percent));
            m_matrix->setItem(i, j, item);
        }
    }
}

bool SentenceMapWindow::exportMatrixTo(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!m_result) {
        setExportStatus(false, QStringLiteral("Nothing to save yet: map some sentences first."));
        return false;
    }
    const QByteArray data = SentenceMap::matrixCsv(m_result->sentences, m_result->layout.matrix);
    if (const auto failure = HistoryCsv::writeBytes(path, data)) {
        setExportStatus(false, QStringLiteral("Could not save %1: %2").arg(name, *failure));
        return false;
    }
    setExportStatus(true, QStringLiteral("Saved the matrix to %1.").arg(name));
    return true;
}

bool SentenceMapWindow::exportMapTo(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    if (!m_result) {
        setExportStatus(false, QStringLiteral("Nothing to save yet: map some sentences first."));
        return false;
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    // The map as shown, on an opaque background so that it reads in any viewer.
    QImage image = m_plot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        setExportStatus(false, QStringLiteral("Could not save %1: the picture could not be made.").arg(name));
        return false;
    }
    if (const auto failure = HistoryCsv::writeBytes(path, data)) {
        setExportStatus(false, QStringLiteral("Could not save %1: %2").arg(name, *failure));
        return false;
    }
    setExportStatus(true, QStringLiteral("Saved the map to %1.").arg(name));
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
    QString path = QFileDialog::getSaveFileName(
        this, matrix ? QStringLiteral("Export Matrix") : QStringLiteral("Export Map"), suggested,
        matrix ? QStringLiteral("CSV files (*.csv);;All files (*)") : QStringLiteral("PNG pictures (*.png);;All files (*)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    if (matrix)
        exportMatrixTo(path);
    else
        exportMapTo(path);
}

void SentenceMapWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        render();
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
        countText = QStringLiteral("Type 3 to 16 sentences, one per line; blank lines are skipped.");
    } else if (count < SentenceMap::minimumSentences) {
        countText = QStringLiteral("%1 of at least 3 sentences.").arg(count);
    } else if (count > SentenceMap::maximumSentences) {
        tooMany = true;
        countText = QStringLiteral("%1 sentences: one map holds at most 16, so remove %2.")
                        .arg(count)
                        .arg(count - SentenceMap::maximumSentences);
    } else {
        countText = QStringLiteral("%1 sentences.").arg(count);
    }
    m_countLabel->setText(countText);
    setForeground(m_countLabel, tooMany ? NamedColors::color(NamedColor::Orange, pal) : secondary);

    const QString buttonTitle = m_isMapping ? mappingTitle : mapTitle;
    m_button->setText(buttonTitle);
    m_button->setAccessibleName(buttonTitle);
    m_button->setEnabled(canMap());
    m_button->setBusy(m_isMapping);

    m_errorLabel->setVisible(m_errorMessage.has_value());
    m_errorLabel->setText(m_errorMessage.value_or(QString()));
    setForeground(m_errorLabel, NamedColors::color(NamedColor::Red, pal));

    m_warningCard->setVisible(!hasModel);
    if (auto *symbol = m_warningCard->findChild<SymbolView *>())
        symbol->setColor(NamedColors::color(NamedColor::Orange, pal));
    m_warningCard->setFillColor(NamedColors::color(NamedColor::Orange, 0.1, pal));

    m_results->setVisible(m_result.has_value());
    m_exportMatrixButton->setEnabled(m_result.has_value());
    m_exportMapButton->setEnabled(m_result.has_value());
    setForeground(m_matrixHintLabel, secondary);
    setForeground(m_mapHintLabel, secondary);
    if (m_result) {
        QStringList lines;
        for (const SentenceMap::Neighbour &neighbour : m_result->layout.neighbours)
            lines.append(SentenceMap::neighbourLine(neighbour));
        m_neighboursLabel->setText(lines.join(QLatin1Char('\n')));
        QStringList key;
        for (qsizetype i = 0; i < m_result->sentences.size(); ++i)
            key.append(QStringLiteral("%1  %2").arg(i + 1).arg(m_result->sentences[i]));
        m_keyLabel->setText(key.join(QLatin1Char('\n')));
        // The list says in words what both pictures show.
        const QString alternative = QStringLiteral("Nearest neighbours: ") + lines.join(QStringLiteral("; "));
        m_matrix->setAccessibleDescription(alternative);
        m_plot->setAccessibleDescription(alternative);
        m_spreadLabel->setText(SentenceMap::spreadLine(m_result->layout.projection));
    }

    m_statusRow->setVisible(m_exportStatus.has_value());
    if (m_exportStatus) {
        const NamedColor tone = m_exportStatus->ok ? NamedColor::Green : NamedColor::Orange;
        m_statusSymbol->setSymbolName(m_exportStatus->ok ? QStringLiteral("checkmark.circle.fill")
                                                         : QStringLiteral("exclamationmark.triangle.fill"));
        m_statusSymbol->setColor(NamedColors::color(tone, pal));
        m_statusSymbol->setAccessibleName(m_exportStatus->ok ? QStringLiteral("Saved") : QStringLiteral("Not saved"));
        m_statusLabel->setText(m_exportStatus->message);
    }
}
