#include "SentimentAnalysisView.h"

#include "SentimentClient.h"
#include "SentimentDetailsPanel.h"
#include "SentimentScore.h"
#include "SamplingLab.h"
#include "TokenProbabilitiesSection.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/TextTrimming.h"
#include "demos/DemoHistory.h"
#include "guide/GuideWindow.h"
#include "history/SessionHistory.h"
#include "widgets/Labels.h"
#include "widgets/RoundedPanel.h"
#include "widgets/SymbolView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// Lengths in device-independent pixels.
constexpr int groupSpacing = 8;
constexpr int editorHeight = 120;
constexpr int hintExtraInset = 4;
constexpr int starSize = 32;
constexpr int starSpacing = 4;
constexpr int starCount = 5;

} // namespace

SentimentAnalysisView::SentimentAnalysisView(OllamaService &service, AppSettings &settings, SessionHistory *history,
                                             QWidget *parent)
    : SentimentAnalysisView(service, settings, HttpClient::shared(), history, parent)
{
}

SentimentAnalysisView::SentimentAnalysisView(OllamaService &service, AppSettings &settings, HttpClient &http,
                                             SessionHistory *history, QWidget *parent)
    : DemoScreen(service, settings, http, history,
                 [] {
                 return Texts{
                     .objectName = QStringLiteral("sentimentAnalysisView"),
                     .title = tr("Sentiment Analysis Demo"),
                     .intro = tr("This demo uses a language model to analyze the sentiment of text. "
                                 "Enter any text below and click 'Analyze' to determine if it's "
                                 "positive, negative, or neutral."),
                     .buttonObjectName = QStringLiteral("analyzeButton"),
                     .buttonTitle = tr("Analyze Sentiment"),
                     .busyButtonTitle = tr("Analyzing..."),
                     .resultTitle = tr("Sentiment Analysis:"),
                     .detailsDescription = tr("Shows the prompt, the model's answer and how the score "
                                              "was read from it"),
                     .warningTitle = tr("No LLM model selected"),
                     .warningText = tr("Please select a language model in Settings to use this demo."),
                     .guideSection = GuideWindow::sentimentSection,
                 };
                 },
                 parent)
    , m_promptLabel(makeLabel(QStringLiteral("promptLabel"), QString(), TextStyle::Headline))
    , m_editorPanel(new RoundedPanel)
    , m_editor(new QPlainTextEdit)
    , m_hintLabel(makeLabel(QStringLiteral("inputHint"), QString(), TextStyle::Caption))
    , m_starRow(new QWidget)
    , m_scoreLabel(makeLabel(QStringLiteral("sentimentLabel"), QString(), TextStyle::Title3, QFont::Medium))
    , m_descriptionLabel(makeLabel(QStringLiteral("sentimentDescriptionLabel"), QString(), TextStyle::Body))
    , m_detailsPanel(new SentimentDetailsPanel)
{
    buildInput();
    buildResult();
    retranslate();
    setDetailsPanel(m_detailsPanel);
    // The probabilities request goes to the same server, model and client as
    // the screen's own.
    m_detailsPanel->probabilitiesSection()->setServices(m_settings, m_http);
    m_detailsPanel->probabilitiesSection()->samplingLab()->setHistory(m_history);
    finish();
}

SentimentAnalysisView::~SentimentAnalysisView() = default;

void SentimentAnalysisView::retranslate()
{
    m_promptLabel->setText(tr("Tell me about your recent vacations:"));
    m_editor->setAccessibleName(m_promptLabel->text());
    m_hintLabel->setText(tr("Example: \"I love this beautiful sunny day!\""));
    for (int i = 1; i <= int(m_stars.size()); ++i)
        m_stars[i - 1]->setAccessibleName(tr("Star %1").arg(i));
}

void SentimentAnalysisView::buildInput()
{
    // The label, the editor in its rounded field, the hint under it.
    auto *inputGroup = new QWidget;
    inputGroup->setObjectName(QStringLiteral("inputGroup"));
    auto *layout = new QVBoxLayout(inputGroup);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(groupSpacing);
    layout->addWidget(m_promptLabel);
    m_editorPanel->setObjectName(QStringLiteral("inputEditorPanel"));
    m_editor->setObjectName(QStringLiteral("inputEditor"));
    setUpEditor(m_editorPanel, m_editor, m_promptLabel, editorHeight);
    layout->addWidget(m_editorPanel);
    m_hintLabel->setContentsMargins(0, hintExtraInset, 0, 0);
    layout->addWidget(m_hintLabel);
    // The editor takes the height the column has to spare.
    setInputs(inputGroup, 1);

    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        m_inputText = typedText(m_editor);
        render();
    });
}

void SentimentAnalysisView::buildResult()
{
    // Under the card's title: the stars, the label and the description.
    m_starRow->setObjectName(QStringLiteral("starRow"));
    auto *starLayout = new QHBoxLayout(m_starRow);
    starLayout->setContentsMargins(0, 0, 0, 0);
    starLayout->setSpacing(starSpacing);
    for (int i = 1; i <= starCount; ++i) {
        auto *star = new SymbolView(QStringLiteral("star"), starSize, QColor(), m_starRow);
        star->setObjectName(QStringLiteral("star%1").arg(i));
        starLayout->addWidget(star, 0, Qt::AlignVCenter);
        m_stars.append(star);
    }
    resultLayout()->addWidget(m_starRow, 0, Qt::AlignHCenter);
    m_scoreLabel->setAlignment(Qt::AlignHCenter);
    resultLayout()->addWidget(m_scoreLabel);
    m_descriptionLabel->setAlignment(Qt::AlignHCenter);
    resultLayout()->addWidget(m_descriptionLabel);
}

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
        m_errorMessage = tr("Please select an LLM model in Settings");
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
            m_errorMessage = tr("Error: %1").arg(result.error().description);
        }
        m_isAnalyzing = false;
        render();
        if (m_history) {
            m_history->add(result ? DemoHistory::sentiment(model, text, m_sentimentScore)
                                  : DemoHistory::failure(DemoType::sentimentAnalysis, model, {text},
                                                          *m_errorMessage));
        }
    }, m_settings, m_http);
}

void SentimentAnalysisView::setInputText(const QString &text)
{
    // The editor's textChanged keeps inputText and the screen in step.
    if (typedText(m_editor) != text)
        m_editor->setPlainText(text);
}

void SentimentAnalysisView::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);

    setForeground(m_hintLabel, secondary);
    m_hintLabel->setVisible(m_inputText.isEmpty());

    const bool showResult = m_sentimentScore >= 1;
    const QColor tone = NamedColors::color(sentimentColor(m_sentimentScore), pal);
    const QColor unfilled = NamedColors::color(NamedColor::Gray, 0.3, pal);
    resultCard()->setFillColor(NamedColors::withOpacity(tone, 0.1));
    for (int i = 1; i <= m_stars.size(); ++i) {
        SymbolView *star = m_stars.at(i - 1);
        const bool filled = i <= m_sentimentScore;
        star->setSymbolName(filled ? QStringLiteral("star.fill") : QStringLiteral("star"));
        star->setColor(filled ? tone : unfilled);
    }
    const QString label = sentimentLabel(m_sentimentScore);
    const QString starSummary = tr("%1 of 5 stars, %2").arg(m_sentimentScore).arg(label);
    m_starRow->setAccessibleName(starSummary);
    m_scoreLabel->setText(label);
    setForeground(m_scoreLabel, tone);
    m_descriptionLabel->setText(sentimentDescription(m_sentimentScore));
    setForeground(m_descriptionLabel, secondary);

    // The panel is filled only while open: building the highlighted prompt
    // is work a closed panel does not need.
    const bool canExplain = showResult && m_reading.has_value();
    if (canExplain && isShowingDetails())
        m_detailsPanel->setReading(*m_reading);

    renderShared({
        .isBusy = m_isAnalyzing,
        .canStart = canAnalyze(),
        .showsResult = showResult,
        .canExplain = canExplain,
        .errorMessage = m_errorMessage,
        .hasModel = m_settings.selectedLLMModel().has_value(),
        .resultWidget = m_starRow,
        .resultSummary = starSummary,
    });
}
