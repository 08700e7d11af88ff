#include "SentimentAnalysisView.h"

#include "SentimentClient.h"
#include "DisclosureButton.h"
#include "SentimentDetailsPanel.h"
#include "SentimentScore.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/OllamaService.h"
#include "catalogue/TextTrimming.h"
#include "history/SessionHistory.h"
#include "widgets/Labels.h"
#include "widgets/BusyIndicator.h"
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

namespace {

// Lengths in device-independent pixels.
constexpr int defaultInset = 16;
constexpr int columnSpacing = 20;
constexpr int groupSpacing = 8;
constexpr int cardSpacing = 16;
constexpr int editorHeight = 120;
constexpr int editorMargin = 8;
constexpr int hintExtraInset = 4;
constexpr int starSize = 32;
constexpr int starSpacing = 4;
constexpr int starCount = 5;

const QString analyzeTitle = QStringLiteral("Analyze Sentiment");
const QString analyzingTitle = QStringLiteral("Analyzing...");
const QString detailsTitle = QStringLiteral("How was this computed?");

} // namespace

SentimentAnalysisView::SentimentAnalysisView(OllamaService &service, AppSettings &settings, QWidget *parent)
    : SentimentAnalysisView(service, settings, HttpClient::shared(), parent)
{
}

SentimentAnalysisView::SentimentAnalysisView(OllamaService &service, AppSettings &settings, HttpClient &http,
                                             QWidget *parent)
    : QWidget(parent)
    , m_service(service)
    , m_settings(settings)
    , m_http(http)
    , m_history(&SessionHistory::shared())
    , m_scrollArea(new QScrollArea(this))
    , m_content(new QWidget)
    , m_titleLabel(makeLabel(QStringLiteral("titleLabel"), QStringLiteral("Sentiment Analysis Demo"),
                             TextStyle::Title2, QFont::DemiBold))
    , m_introLabel(makeLabel(QStringLiteral("introLabel"),
                             QStringLiteral("This demo uses a language model to analyze the sentiment of text. "
                                            "Enter any text below and click 'Analyze' to determine if it's "
                                            "positive, negative, or neutral."),
                             TextStyle::Body))
    , m_promptLabel(makeLabel(QStringLiteral("promptLabel"), QStringLiteral("Tell me about your recent vacations:"),
                              TextStyle::Headline))
    , m_editorPanel(new RoundedPanel)
    , m_editor(new QPlainTextEdit)
    , m_hintLabel(makeLabel(QStringLiteral("inputHint"), QStringLiteral("Example: \"I love this beautiful sunny day!\""),
                            TextStyle::Caption))
    , m_button(new ProminentButton)
    , m_resultCard(new RoundedPanel)
    , m_resultTitleLabel(makeLabel(QStringLiteral("resultTitleLabel"), QStringLiteral("Sentiment Analysis:"),
                                   TextStyle::Headline))
    , m_starRow(new QWidget)
    , m_scoreLabel(makeLabel(QStringLiteral("sentimentLabel"), QString(), TextStyle::Title3, QFont::Medium))
    , m_descriptionLabel(makeLabel(QStringLiteral("sentimentDescriptionLabel"), QString(), TextStyle::Body))
    , m_detailsGroup(new QWidget)
    , m_detailsToggle(new DisclosureButton(detailsTitle))
    , m_detailsPanel(new SentimentDetailsPanel)
    , m_errorLabel(makeLabel(QStringLiteral("errorLabel"), QString(), TextStyle::Caption))
    , m_warningCard(new RoundedPanel)
    , m_warningSymbol(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"),
                                     QFontMetrics(TextStyles::font(TextStyle::Title)).height(), QColor()))
    , m_warningTitleLabel(makeLabel(QStringLiteral("warningTitleLabel"), QStringLiteral("No LLM model selected"),
                                    TextStyle::Headline))
    , m_warningTextLabel(makeLabel(QStringLiteral("warningTextLabel"),
                                   QStringLiteral("Please select a language model in Settings to use this demo."),
                                   TextStyle::Caption))
{
    setObjectName(QStringLiteral("sentimentAnalysisView"));

    // The column scrolls only when the window is too short for it; otherwise
    // its items stay at the top.
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

    // Input: label, editor in a rounded field, hint.
    auto *inputGroup = new QWidget;
    inputGroup->setObjectName(QStringLiteral("inputGroup"));
    auto *inputLayout = new QVBoxLayout(inputGroup);
    inputLayout->setContentsMargins(0, 0, 0, 0);
    inputLayout->setSpacing(groupSpacing);
    inputLayout->addWidget(m_promptLabel);
    m_editorPanel->setObjectName(QStringLiteral("inputEditorPanel"));
    m_editorPanel->setFixedHeight(editorHeight);
    auto *panelLayout = new QVBoxLayout(m_editorPanel);
    panelLayout->setContentsMargins(editorMargin, editorMargin, editorMargin, editorMargin);
    panelLayout->addWidget(m_editor);
    m_editor->setObjectName(QStringLiteral("inputEditor"));
    m_editor->setFrameShape(QFrame::NoFrame);
    m_editor->setTabChangesFocus(true);
    // The text wraps at the editor's width; a horizontal bar would only
    // flicker in when the column narrows by a few pixels.
    m_editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_editor->document()->setDocumentMargin(0);
    m_editor->viewport()->setAutoFillBackground(false);
    TextStyles::apply(m_editor, TextStyle::Body);
    m_editor->setAccessibleName(m_promptLabel->text());
    m_promptLabel->setBuddy(m_editor);
    m_editor->installEventFilter(this);
    inputLayout->addWidget(m_editorPanel);
    m_hintLabel->setContentsMargins(0, hintExtraInset, 0, 0);
    inputLayout->addWidget(m_hintLabel);
    column->addWidget(inputGroup);

    // The button.
    m_button->setObjectName(QStringLiteral("analyzeButton"));
    column->addWidget(m_button, 0, Qt::AlignHCenter);

    // Result card: title, stars, label, description.
    m_resultCard->setObjectName(QStringLiteral("resultCard"));
    auto *cardLayout = new QVBoxLayout(m_resultCard);
    cardLayout->setContentsMargins(defaultInset, defaultInset, defaultInset, defaultInset);
    cardLayout->setSpacing(cardSpacing);
    m_resultTitleLabel->setAlignment(Qt::AlignHCenter);
    cardLayout->addWidget(m_resultTitleLabel);
    m_starRow->setObjectName(QStringLiteral("starRow"));
    auto *starLayout = new QHBoxLayout(m_starRow);
    starLayout->setContentsMargins(0, 0, 0, 0);
    starLayout->setSpacing(starSpacing);
    for (int i = 1; i <= starCount; ++i) {
        auto *star = new SymbolView(QStringLiteral("star"), starSize, QColor(), m_starRow);
        star->setObjectName(QStringLiteral("star%1").arg(i));
        star->setAccessibleName(QStringLiteral("Star %1").arg(i));
        starLayout->addWidget(star, 0, Qt::AlignVCenter);
        m_stars.append(star);
    }
    cardLayout->addWidget(m_starRow, 0, Qt::AlignHCenter);
    m_scoreLabel->setAlignment(Qt::AlignHCenter);
    cardLayout->addWidget(m_scoreLabel);
    m_descriptionLabel->setAlignment(Qt::AlignHCenter);
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
    m_detailsToggle->setAccessibleDescription(QStringLiteral("Shows the prompt, the model's answer and how the "
                                                             "score was read from it"));
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

    column->addStretch(1);

    setFocusProxy(m_editor);
    QWidget::setTabOrder(m_editor, m_button);
    QWidget::setTabOrder(m_button, m_detailsToggle);

    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        m_inputText = m_editor->toPlainText();
        render();
    });
    connect(m_button, &QPushButton::clicked, this, &SentimentAnalysisView::analyzeSentiment);
    connect(m_detailsToggle, &DisclosureButton::toggled, this, &SentimentAnalysisView::setShowingDetails);
    for (const QKeySequence &keys : {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)}) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (canAnalyze())
                analyzeSentiment();
        });
    }

    connect(&m_settings, &AppSettings::selectedLLMModelChanged, this, &SentimentAnalysisView::render);
    connect(&m_settings, &AppSettings::selectedEmbeddingModelChanged, this, &SentimentAnalysisView::render);
    connect(&m_settings, &AppSettings::ollamaURLChanged, this, &SentimentAnalysisView::render);
    connect(&m_service, &OllamaService::availableModelsChanged, this, &SentimentAnalysisView::render);
    connect(&m_service, &OllamaService::isLoadingModelsChanged, this, &SentimentAnalysisView::render);
    connect(&m_service, &OllamaService::modelErrorChanged, this, &SentimentAnalysisView::render);

    render();
    // Only now, with the empty cards hidden, does the scroll area take the
    // column: it measures its widget at once, and hidden widgets cost nothing.
    m_scrollArea->setWidget(m_content);
}

SentimentAnalysisView::~SentimentAnalysisView() = default;

NamedColor SentimentAnalysisView::sentimentColor(int score)
{
    switch (score) {
    case 1: return NamedColor::Red;
    case 2: return NamedColor::Orange;
    case 3: return NamedColor::Blue;
    case 4:
    case 5: return NamedColor::Green;
    default: return NamedColor::Gray;
    }
}

bool SentimentAnalysisView::canAnalyze() const
{
    return !m_isAnalyzing && m_settings.selectedLLMModel().has_value()
        && !TextTrimming::trimmedWhitespaceAndLineBreaks(m_inputText).isEmpty();
}

void SentimentAnalysisView::analyzeSentiment()
{
    const std::optional<QString> model = m_settings.selectedLLMModel();
    if (!model) {
        m_errorMessage = QStringLiteral("Please select an LLM model in Settings");
        render();
        return;
    }
    const QString text = TextTrimming::trimmedWhitespaceAndLineBreaks(m_inputText);
    if (text.isEmpty())
        return;

    m_isAnalyzing = true;
    m_errorMessage.reset();
    m_sentimentScore = 0;
    m_reading.reset();
    render();

    // The screen is the context: a reply that arrives after it is gone is
    // dropped.
    fetchSentimentDetails(text, *model, this, [this, text, model = *model](const Result<SentimentReading> &result) {
        if (result) {
            m_sentimentScore = result.value().score;
            m_reading = result.value();
        } else {
            m_errorMessage = QStringLiteral("Error: ") + result.error().description;
        }
        m_isAnalyzing = false;
        render();
        if (m_history) {
            m_history->add(result ? HistoryEntry::sentiment(model, text, m_sentimentScore)
                                  : HistoryEntry::failure(DemoType::sentimentAnalysis, model, {text},
                                                          *m_errorMessage));
        }
    }, m_settings, m_http);
}

void SentimentAnalysisView::setShowingDetails(bool showing)
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

void SentimentAnalysisView::setInputText(const QString &text)
{
    // The editor's textChanged keeps inputText and the screen in step.
    if (m_editor->toPlainText() != text)
        m_editor->setPlainText(text);
}

void SentimentAnalysisView::setHistory(SessionHistory *history)
{
    m_history = history;
}

void SentimentAnalysisView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        render();
}

bool SentimentAnalysisView::eventFilter(QObject *watched, QEvent *event)
{
    // The editor's outline shows whether it has the keyboard focus.
    if (watched == m_editor && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        render();
    return QWidget::eventFilter(watched, event);
}

void SentimentAnalysisView::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);
    const bool hasModel = m_settings.selectedLLMModel().has_value();

    // Header and input.
    setForeground(m_introLabel, secondary);
    setForeground(m_hintLabel, secondary);
    m_editorPanel->setFillColor(pal.color(QPalette::Base));
    m_editorPanel->setBorderColor(m_editor->hasFocus() ? pal.color(QPalette::Highlight)
                                                       : NamedColors::withOpacity(secondary, 0.3));
    m_hintLabel->setVisible(m_inputText.isEmpty());

    // Button.
    const QString buttonTitle = m_isAnalyzing ? analyzingTitle : analyzeTitle;
    m_button->setText(buttonTitle);
    m_button->setAccessibleName(buttonTitle);
    m_button->setEnabled(canAnalyze());
    m_button->setBusy(m_isAnalyzing);

    // Result card.
    const bool showResult = m_sentimentScore >= 1;
    m_resultCard->setVisible(showResult);
    const QColor tone = NamedColors::color(sentimentColor(m_sentimentScore), pal);
    const QColor unfilled = NamedColors::color(NamedColor::Gray, 0.3, pal);
    m_resultCard->setFillColor(NamedColors::withOpacity(tone, 0.1));
    for (int i = 1; i <= m_stars.size(); ++i) {
        SymbolView *star = m_stars.at(i - 1);
        const bool filled = i <= m_sentimentScore;
        star->setSymbolName(filled ? QStringLiteral("star.fill") : QStringLiteral("star"));
        star->setColor(filled ? tone : unfilled);
    }
    const QString label = sentimentLabel(m_sentimentScore);
    const QString starSummary = QStringLiteral("%1 of 5 stars, %2").arg(m_sentimentScore).arg(label);
    m_starRow->setAccessibleName(starSummary);
    m_scoreLabel->setText(label);
    setForeground(m_scoreLabel, tone);
    m_descriptionLabel->setText(sentimentDescription(m_sentimentScore));
    setForeground(m_descriptionLabel, secondary);

    // "How was this computed?" goes with the result card; its panel opens
    // only on request.
    const bool canExplain = showResult && m_reading.has_value();
    m_detailsGroup->setVisible(canExplain);
    if (m_detailsToggle->isChecked() != m_isShowingDetails)
        m_detailsToggle->setChecked(m_isShowingDetails);
    m_detailsPanel->setVisible(canExplain && m_isShowingDetails);
    // The panel is filled only while open: building the highlighted prompt
    // is work a closed panel does not need.
    if (canExplain && m_isShowingDetails)
        m_detailsPanel->setReading(*m_reading);

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
    const QString announcement = m_errorMessage ? *m_errorMessage : showResult ? starSummary : QString();
    if (announcement != m_announced) {
        m_announced = announcement;
        if (m_errorMessage)
            announce(m_errorLabel, QAccessible::Alert);
        else if (showResult)
            announce(m_starRow, QAccessible::NameChanged);
    }
}

void SentimentAnalysisView::announce(QWidget *widget, QAccessible::Event type)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}
