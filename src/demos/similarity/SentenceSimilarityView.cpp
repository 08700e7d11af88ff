#include "SentenceSimilarityView.h"

#include "SimilarityClient.h"
#include "SimilarityDetailsPanel.h"
#include "SimilarityMath.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "catalogue/TextTrimming.h"
#include "demos/sentiment/DisclosureButton.h"
#include "history/SessionHistory.h"
#include "widgets/Labels.h"
#include "widgets/BusyIndicator.h"
#include "widgets/CircularProgressGauge.h"
#include "widgets/NamedColors.h"
#include "widgets/ProminentButton.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"
#include "widgets/TextStyles.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Lengths in device-independent pixels.
constexpr int defaultInset = 16;
constexpr int columnSpacing = 20;
constexpr int groupSpacing = 8;
constexpr int cardSpacing = 16;
constexpr int editorHeight = 100;
constexpr int editorMargin = 8;
constexpr int gaugeSide = 150;
constexpr int gaugeFontSize = 32;
constexpr double gaugeTrackWidth = 12;

const QString calculateTitle = QStringLiteral("Calculate Similarity");
const QString calculatingTitle = QStringLiteral("Calculating...");
const QString detailsTitle = QStringLiteral("How was this computed?");

} // namespace

SentenceSimilarityView::SentenceSimilarityView(OllamaService &service, AppSettings &settings, QWidget *parent)
    : SentenceSimilarityView(service, settings, HttpClient::shared(), parent)
{
}

SentenceSimilarityView::SentenceSimilarityView(OllamaService &service, AppSettings &settings, HttpClient &http,
                                               QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_settings(settings)
    , m_http(http)
    , m_history(&SessionHistory::shared())
    , m_scrollArea(new QScrollArea(this))
    , m_content(new QWidget)
    , m_titleLabel(makeLabel(QStringLiteral("titleLabel"), QStringLiteral("Sentence Similarity Demo"),
                             TextStyle::Title2, QFont::DemiBold))
    , m_introLabel(makeLabel(QStringLiteral("introLabel"),
                             QStringLiteral("This demo uses embeddings to measure how similar two sentences are. "
                                            "Embeddings convert text into numerical vectors, and cosine similarity "
                                            "measures the angle between these vectors (0% = completely different, "
                                            "100% = identical)."),
                             TextStyle::Body))
    , m_sentence1Label(makeLabel(QStringLiteral("sentence1Label"), QStringLiteral("First Sentence:"),
                                 TextStyle::Headline))
    , m_editor1Panel(new RoundedPanel)
    , m_editor1(new QPlainTextEdit)
    , m_hint1Label(makeLabel(QStringLiteral("sentence1Hint"), QStringLiteral("Example: \"The cat sat on the mat\""),
                             TextStyle::Caption))
    , m_sentence2Label(makeLabel(QStringLiteral("sentence2Label"), QStringLiteral("Second Sentence:"),
                                 TextStyle::Headline))
    , m_editor2Panel(new RoundedPanel)
    , m_editor2(new QPlainTextEdit)
    , m_hint2Label(makeLabel(QStringLiteral("sentence2Hint"),
                             QStringLiteral("Example: \"A feline rested on the rug\""), TextStyle::Caption))
    , m_button(new ProminentButton)
    , m_resultCard(new RoundedPanel)
    , m_resultTitleLabel(makeLabel(QStringLiteral("resultTitleLabel"), QStringLiteral("Similarity Score:"),
                                   TextStyle::Headline))
    , m_gauge(new CircularProgressGauge)
    , m_descriptionLabel(makeLabel(QStringLiteral("similarityDescriptionLabel"), QString(), TextStyle::Body))
    , m_detailsGroup(new QWidget)
    , m_detailsToggle(new DisclosureButton(detailsTitle))
    , m_detailsPanel(new SimilarityDetailsPanel)
    , m_errorLabel(makeLabel(QStringLiteral("errorLabel"), QString(), TextStyle::Caption))
    , m_warningCard(new RoundedPanel)
    , m_warningSymbol(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"),
                                     QFontMetrics(TextStyles::font(TextStyle::Title)).height(), QColor()))
    , m_warningTitleLabel(makeLabel(QStringLiteral("warningTitleLabel"),
                                    QStringLiteral("No embedding model selected"), TextStyle::Headline))
    , m_warningTextLabel(makeLabel(QStringLiteral("warningTextLabel"),
                                   QStringLiteral("Please select an embedding model in Settings to use this demo."),
                                   TextStyle::Caption))
{
    setObjectName(QStringLiteral("sentenceSimilarityView"));

    // The whole screen scrolls vertically when the window is shorter than it.
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);
    m_scrollArea->setObjectName(QStringLiteral("scrollArea"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->viewport()->setAutoFillBackground(false);
    m_content->setObjectName(QStringLiteral("content"));
    m_content->setAutoFillBackground(false);

    auto *column = new QVBoxLayout(m_content);
    column->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    column->setSpacing(columnSpacing);

    // Header.
    auto *header = new QWidget;
    header->setObjectName(QStringLiteral("header"));
    auto *headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(0, defaultInset, 0, defaultInset);
    headerLayout->setSpacing(groupSpacing);
    headerLayout->addWidget(m_titleLabel);
    headerLayout->addWidget(m_introLabel);
    column->addWidget(header);

    // Two equal input columns side by side. They are aligned at the top, so
    // that the editors stay level when one column's hint comes or goes.
    auto *inputsRow = new QWidget;
    inputsRow->setObjectName(QStringLiteral("inputsRow"));
    auto *rowLayout = new QHBoxLayout(inputsRow);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(columnSpacing);
    const auto addInputColumn = [&](const QString &name, QLabel *label, RoundedPanel *panel, QPlainTextEdit *editor,
                                    QLabel *hint) {
        auto *inputColumn = new QWidget;
        inputColumn->setObjectName(name);
        auto *layout = new QVBoxLayout(inputColumn);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(groupSpacing);
        layout->addWidget(label);
        panel->setFixedHeight(editorHeight);
        auto *panelLayout = new QVBoxLayout(panel);
        panelLayout->setContentsMargins(editorMargin, editorMargin, editorMargin, editorMargin);
        panelLayout->addWidget(editor);
        editor->setFrameShape(QFrame::NoFrame);
        editor->setTabChangesFocus(true);
        // The text wraps at the editor's width; a horizontal bar would only
        // flicker in when the column narrows by a few pixels.
        editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        editor->document()->setDocumentMargin(0);
        editor->viewport()->setAutoFillBackground(false);
        TextStyles::apply(editor, TextStyle::Body);
        editor->setAccessibleName(label->text());
        label->setBuddy(editor);
        editor->installEventFilter(this);
        layout->addWidget(panel);
        layout->addWidget(hint);
        layout->addStretch(1);
        rowLayout->addWidget(inputColumn, 1);
    };
    m_editor1Panel->setObjectName(QStringLiteral("sentence1EditorPanel"));
    m_editor1->setObjectName(QStringLiteral("sentence1Editor"));
    m_editor2Panel->setObjectName(QStringLiteral("sentence2EditorPanel"));
    m_editor2->setObjectName(QStringLiteral("sentence2Editor"));
    addInputColumn(QStringLiteral("sentence1Column"), m_sentence1Label, m_editor1Panel, m_editor1, m_hint1Label);
    addInputColumn(QStringLiteral("sentence2Column"), m_sentence2Label, m_editor2Panel, m_editor2, m_hint2Label);
    column->addWidget(inputsRow);

    // The button.
    m_button->setObjectName(QStringLiteral("calculateButton"));
    column->addWidget(m_button, 0, Qt::AlignHCenter);

    // Result card: title, gauge, description.
    m_resultCard->setObjectName(QStringLiteral("resultCard"));
    auto *cardLayout = new QVBoxLayout(m_resultCard);
    cardLayout->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    cardLayout->setSpacing(cardSpacing);
    m_resultTitleLabel->setAlignment(Qt::AlignHCenter);
    cardLayout->addWidget(m_resultTitleLabel);
    m_gauge->setObjectName(QStringLiteral("similarityGauge"));
    m_gauge->setFixedSize(gaugeSide, gaugeSide);
    m_gauge->setFontSize(gaugeFontSize);
    m_gauge->setTrackWidth(gaugeTrackWidth);
    m_gauge->setAnimated(true);
    m_gauge->setSystemImage(QString());
    cardLayout->addWidget(m_gauge, 0, Qt::AlignHCenter);
    m_descriptionLabel->setAlignment(Qt::AlignHCenter);
    m_descriptionLabel->setContentsMargins(defaultInset, 0, defaultInset, 0);
    cardLayout->addWidget(m_descriptionLabel);
    column->addWidget(m_resultCard);

    // Under the card: "How was this computed?" and the panel it opens. The
    // group shows only with a result, so without one the column is as it
    // would be without the group.
    m_detailsGroup->setObjectName(QStringLiteral("detailsGroup"));
    auto *detailsLayout = new QVBoxLayout(m_detailsGroup);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->setSpacing(groupSpacing);
    m_detailsToggle->setObjectName(QStringLiteral("detailsToggle"));
    m_detailsToggle->setAccessibleDescription(QStringLiteral("Shows both vectors and each step from them to "
                                                             "the percentage"));
    TextStyles::apply(m_detailsToggle, TextStyle::Subheadline);
    detailsLayout->addWidget(m_detailsToggle, 0, Qt::AlignLeft);
    detailsLayout->addWidget(m_detailsPanel);
    column->addWidget(m_detailsGroup);

    // Error line.
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_errorLabel);

    // No-model warning.
    m_warningCard->setObjectName(QStringLiteral("warningCard"));
    auto *warningLayout = new QVBoxLayout(m_warningCard);
    warningLayout->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    warningLayout->setSpacing(groupSpacing);
    m_warningSymbol->setObjectName(QStringLiteral("warningSymbol"));
    m_warningSymbol->setAccessibleName(QStringLiteral("Warning"));
    warningLayout->addWidget(m_warningSymbol, 0, Qt::AlignHCenter);
    m_warningTitleLabel->setAlignment(Qt::AlignHCenter);
    warningLayout->addWidget(m_warningTitleLabel);
    m_warningTextLabel->setAlignment(Qt::AlignHCenter);
    warningLayout->addWidget(m_warningTextLabel);
    column->addWidget(m_warningCard);

    // On to many sentences at once, in the Sentence Map window.
    auto *mapLink = new QPushButton(QStringLiteral("Compare more sentences in the Sentence Map…"));
    mapLink->setObjectName(QStringLiteral("sentenceMapLink"));
    mapLink->setFlat(true);
    mapLink->setCursor(Qt::PointingHandCursor);
    TextStyles::apply(mapLink, TextStyle::Subheadline);
    connect(mapLink, &QPushButton::clicked, this, [this] { Q_EMIT sentenceMapRequested({m_sentence1, m_sentence2}); });
    column->addWidget(mapLink, 0, Qt::AlignHCenter);

    column->addStretch(1);
    m_scrollArea->setWidget(m_content);

    setFocusProxy(m_editor1);
    QWidget::setTabOrder(m_editor1, m_editor2);
    QWidget::setTabOrder(m_editor2, m_button);
    QWidget::setTabOrder(m_button, m_detailsToggle);

    connect(m_editor1, &QPlainTextEdit::textChanged, this, [this] {
        m_sentence1 = m_editor1->toPlainText();
        render();
    });
    connect(m_editor2, &QPlainTextEdit::textChanged, this, [this] {
        m_sentence2 = m_editor2->toPlainText();
        render();
    });
    connect(m_button, &QPushButton::clicked, this, &SentenceSimilarityView::calculateSimilarity);
    connect(m_detailsToggle, &DisclosureButton::toggled, this, &SentenceSimilarityView::setShowingDetails);
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (canCalculate())
                calculateSimilarity();
        });
    }

    connect(&m_settings, &AppSettings::selectedEmbeddingModelChanged, this, &SentenceSimilarityView::render);
    connect(&m_settings, &AppSettings::selectedLLMModelChanged, this, &SentenceSimilarityView::render);
    connect(&m_settings, &AppSettings::ollamaURLChanged, this, &SentenceSimilarityView::render);
    connect(&m_service, &OllamaService::availableModelsChanged, this, &SentenceSimilarityView::render);
    connect(&m_service, &OllamaService::isLoadingModelsChanged, this, &SentenceSimilarityView::render);
    connect(&m_service, &OllamaService::modelErrorChanged, this, &SentenceSimilarityView::render);

    render();
}

SentenceSimilarityView::~SentenceSimilarityView() = default;

bool SentenceSimilarityView::canCalculate() const
{
    return !m_isCalculating && m_settings.selectedEmbeddingModel().has_value()
        && !TextTrimming::trimmedWhitespaceAndLineBreaks(m_sentence1).isEmpty()
        && !TextTrimming::trimmedWhitespaceAndLineBreaks(m_sentence2).isEmpty();
}

void SentenceSimilarityView::calculateSimilarity()
{
    const std::optional<QString> model = m_settings.selectedEmbeddingModel();
    if (!model) {
        m_errorMessage = QStringLiteral("Please select an embedding model in Settings");
        render();
        return;
    }
    const QString first = TextTrimming::trimmedWhitespaceAndLineBreaks(m_sentence1);
    const QString second = TextTrimming::trimmedWhitespaceAndLineBreaks(m_sentence2);
    if (first.isEmpty() || second.isEmpty())
        return;

    m_isCalculating = true;
    m_errorMessage.reset();
    m_hasCalculated = false;
    m_reading.reset();
    render();

    // The screen is the context: replies that arrive after it is gone are
    // dropped, and the second request is not sent.
    computeSimilarityDetails(first, second, *model, this,
                             [this, first, second, model = *model](const Result<SimilarityReading> &result) {
        const std::optional<float> stored =
            result ? clampedSimilarity(result.value().arithmetic.cosine) : std::nullopt;
        if (stored) {
            m_similarity = *stored;
            m_hasCalculated = true;
            m_reading = result.value();
        } else {
            const ClientError error = result ? ClientError::invalidResponse() : result.error();
            m_errorMessage = QStringLiteral("Error: ") + error.description;
        }
        m_isCalculating = false;
        render();
        if (m_history) {
            m_history->add(stored ? HistoryEntry::similarity(model, first, second, m_similarity)
                                  : HistoryEntry::failure(DemoType::sentenceSimilarity, model, {first, second},
                                                          *m_errorMessage));
        }
    }, m_settings, m_http);
}

void SentenceSimilarityView::setShowingDetails(bool showing)
{
    if (showing == m_isShowingDetails)
        return;
    m_isShowingDetails = showing;
    render();
    if (showing && m_detailsPanel->isVisibleTo(this)) {
        // Once the column has made room for the panel, scroll it into view.
        QMetaObject::invokeMethod(this, [this] {
            if (m_detailsPanel->isVisibleTo(this))
                m_scrollArea->ensureWidgetVisible(m_detailsPanel, 0, 0);
        }, Qt::QueuedConnection);
    }
}

void SentenceSimilarityView::setSentences(const QString &first, const QString &second)
{
    // The editors' textChanged keeps the sentences and the screen in step.
    if (m_editor1->toPlainText() != first)
        m_editor1->setPlainText(first);
    if (m_editor2->toPlainText() != second)
        m_editor2->setPlainText(second);
}

void SentenceSimilarityView::setHistory(SessionHistory *history)
{
    m_history = history;
}

std::optional<float> SentenceSimilarityView::clampedSimilarity(float value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return std::max(std::min(value, 1.0f), 0.0f);
}

void SentenceSimilarityView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        render();
}

bool SentenceSimilarityView::eventFilter(QObject *watched, QEvent *event)
{
    // Each editor's outline shows whether it has the keyboard focus.
    if ((watched == m_editor1 || watched == m_editor2)
        && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        render();
    return QWidget::eventFilter(watched, event);
}

void SentenceSimilarityView::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);
    const bool hasModel = m_settings.selectedEmbeddingModel().has_value();

    // Header and inputs.
    setForeground(m_introLabel, secondary);
    for (const auto &[panel, editor] : {std::pair{m_editor1Panel, m_editor1}, std::pair{m_editor2Panel, m_editor2}}) {
        panel->setFillColor(pal.color(QPalette::Base));
        panel->setBorderColor(editor->hasFocus() ? pal.color(QPalette::Highlight)
                                                 : NamedColors::withOpacity(secondary, 0.3));
    }
    setForeground(m_hint1Label, secondary);
    setForeground(m_hint2Label, secondary);
    m_hint1Label->setVisible(m_sentence1.isEmpty());
    m_hint2Label->setVisible(m_sentence2.isEmpty());

    // Button.
    const QString buttonTitle = m_isCalculating ? calculatingTitle : calculateTitle;
    m_button->setText(buttonTitle);
    m_button->setAccessibleName(buttonTitle);
    m_button->setEnabled(canCalculate());
    m_button->setBusy(m_isCalculating);

    // Result card. It is shown before the gauge takes the new value, so that
    // the arc animates towards it.
    m_resultCard->setVisible(m_hasCalculated);
    m_resultCard->setFillColor(pal.color(QPalette::Base));
    if (m_gauge->progress() != m_similarity)
        m_gauge->setProgress(m_similarity);
    const QString gaugeSummary = QStringLiteral("Similarity ") + CircularProgressGauge::accessibleValueText(m_similarity);
    m_gauge->setAccessibleName(gaugeSummary);
    m_descriptionLabel->setText(similarityDescription(m_similarity));
    setForeground(m_descriptionLabel, secondary);

    // "How was this computed?" goes with the result box; its panel opens
    // only on request.
    const bool canExplain = m_hasCalculated && m_reading.has_value();
    m_detailsGroup->setVisible(canExplain);
    if (m_detailsToggle->isChecked() != m_isShowingDetails)
        m_detailsToggle->setChecked(m_isShowingDetails);
    m_detailsPanel->setVisible(canExplain && m_isShowingDetails);
    // Filled only while open: a closed panel needs none of that work.
    if (canExplain && m_isShowingDetails)
        m_detailsPanel->setReading(*m_reading, m_similarity);

    // Error line.
    m_errorLabel->setVisible(m_errorMessage.has_value());
    m_errorLabel->setText(m_errorMessage.value_or(QString()));
    setForeground(m_errorLabel, NamedColors::color(NamedColor::Red, pal));

    // No-model warning.
    m_warningCard->setVisible(!hasModel);
    m_warningCard->setFillColor(NamedColors::color(NamedColor::Orange, 0.1, pal));
    m_warningSymbol->setColor(NamedColors::color(NamedColor::Orange, pal));
    setForeground(m_warningTextLabel, secondary);

    // A new result or error is announced once.
    const QString announcement = m_errorMessage ? *m_errorMessage : m_hasCalculated ? gaugeSummary : QString();
    if (announcement != m_announced) {
        m_announced = announcement;
        if (m_errorMessage)
            announce(m_errorLabel, QAccessible::Alert);
        else if (m_hasCalculated)
            announce(m_gauge, QAccessible::NameChanged);
    }
}

void SentenceSimilarityView::announce(QWidget *widget, QAccessible::Event type)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}
