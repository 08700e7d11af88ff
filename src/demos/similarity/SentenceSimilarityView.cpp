#include "SentenceSimilarityView.h"

#include "SimilarityClient.h"
#include "SimilarityDetailsPanel.h"
#include "SimilarityMath.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "catalogue/TextTrimming.h"
#include "demos/DemoHistory.h"
#include "guide/GuideWindow.h"
#include "history/SessionHistory.h"
#include "widgets/CircularProgressGauge.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/RoundedPanel.h"
#include "widgets/TextStyles.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Lengths in device-independent pixels.
constexpr int defaultInset = 16;
constexpr int columnSpacing = 20;
constexpr int groupSpacing = 8;
constexpr int editorHeight = 100;
constexpr int gaugeFontSize = 32;
constexpr double gaugeTrackWidth = 12;

// A button that looks and acts like a link: text in the palette's link
// colour, underlined while the pointer is over it or it has the keyboard
// focus, a pointing hand, and Return, Enter or Space to follow it. To
// assistive technology it is a button named by its text.
class LinkButton : public QPushButton
{
public:
    explicit LinkButton(const QString &text)
        : QPushButton(text)
    {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_Hover);
        setAccessibleName(text);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(text()), metrics.height()).grownBy(QMargins(4, 2, 4, 2));
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            return;
        }
        QPushButton::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QFont linkFont = font();
        linkFont.setUnderline(underMouse() || hasFocus());
        painter.setFont(linkFont);
        painter.setPen(palette().color(isDown() ? QPalette::LinkVisited : QPalette::Link));
        painter.drawText(rect(), Qt::AlignCenter, text());
        if (hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
    }
};

} // namespace

SentenceSimilarityView::SentenceSimilarityView(OllamaService &service, AppSettings &settings,
                                               SessionHistory *history, QWidget *parent)
    : SentenceSimilarityView(service, settings, HttpClient::shared(), history, parent)
{
}

SentenceSimilarityView::SentenceSimilarityView(OllamaService &service, AppSettings &settings, HttpClient &http,
                                               SessionHistory *history, QWidget *parent)
    : DemoScreen(service, settings, http, history,
                 [] {
                 return Texts{
                     .objectName = QStringLiteral("sentenceSimilarityView"),
                     .title = tr("Sentence Similarity Demo"),
                     .intro = tr("This demo uses embeddings to measure how similar two sentences are. "
                                 "Embeddings convert text into numerical vectors, and cosine similarity "
                                 "measures the angle between these vectors (0% = completely different, "
                                 "100% = identical)."),
                     .buttonObjectName = QStringLiteral("calculateButton"),
                     .buttonTitle = tr("Calculate Similarity"),
                     .busyButtonTitle = tr("Calculating..."),
                     .resultTitle = tr("Similarity Score:"),
                     .detailsDescription = tr("Shows both vectors and each step from them to the "
                                              "percentage"),
                     .warningTitle = tr("No embedding model selected"),
                     .warningText = tr("Please select an embedding model in Settings to use this demo."),
                     .guideSection = GuideWindow::similaritySection,
                 };
                 },
                 parent)
    , m_sentence1Label(makeLabel(QStringLiteral("sentence1Label"), QString(), TextStyle::Headline))
    , m_editor1Panel(new RoundedPanel)
    , m_editor1(new QPlainTextEdit)
    , m_hint1Label(makeLabel(QStringLiteral("sentence1Hint"), QString(), TextStyle::Caption))
    , m_sentence2Label(makeLabel(QStringLiteral("sentence2Label"), QString(), TextStyle::Headline))
    , m_editor2Panel(new RoundedPanel)
    , m_editor2(new QPlainTextEdit)
    , m_hint2Label(makeLabel(QStringLiteral("sentence2Hint"), QString(), TextStyle::Caption))
    , m_gauge(new CircularProgressGauge)
    , m_descriptionLabel(makeLabel(QStringLiteral("similarityDescriptionLabel"), QString(), TextStyle::Body))
    , m_detailsPanel(new SimilarityDetailsPanel)
{
    retranslate();
    buildInputs();
    buildResult();
    setDetailsPanel(m_detailsPanel);
    finish();
}

SentenceSimilarityView::~SentenceSimilarityView() = default;

void SentenceSimilarityView::buildInputs()
{
    // Two equal columns side by side. Both take the row's full height, so
    // they are centred on the same line, and each editor takes the height
    // its column has to spare (the column whose hint is hidden gives its
    // editor that room too).
    auto *row = new QWidget;
    row->setObjectName(QStringLiteral("inputsRow"));
    auto *rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(columnSpacing);
    const auto addColumn = [&](const QString &name, QLabel *label, RoundedPanel *field, QPlainTextEdit *editor,
                               QLabel *hint, QString &sentence) {
        auto *column = new QWidget;
        column->setObjectName(name + QStringLiteral("Column"));
        auto *layout = new QVBoxLayout(column);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(groupSpacing);
        layout->addWidget(label);
        field->setObjectName(name + QStringLiteral("EditorPanel"));
        editor->setObjectName(name + QStringLiteral("Editor"));
        setUpEditor(field, editor, label, editorHeight);
        layout->addWidget(field);
        layout->addWidget(hint);
        rowLayout->addWidget(column, 1);
        connect(editor, &QPlainTextEdit::textChanged, this, [this, editor, &sentence] {
            sentence = typedText(editor);
            render();
        });
    };
    addColumn(QStringLiteral("sentence1"), m_sentence1Label, m_editor1Panel, m_editor1, m_hint1Label, m_sentence1);
    addColumn(QStringLiteral("sentence2"), m_sentence2Label, m_editor2Panel, m_editor2, m_hint2Label, m_sentence2);
    setInputs(row, 1);
}

void SentenceSimilarityView::buildResult()
{
    // Under the card's title: the gauge and the description.
    m_gauge->setObjectName(QStringLiteral("similarityGauge"));
    // Its size hint, which follows the zoom.
    m_gauge->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_gauge->setFontSize(gaugeFontSize);
    m_gauge->setTrackWidth(gaugeTrackWidth);
    m_gauge->setAnimated(true);
    m_gauge->setSystemImage(QString());
    resultLayout()->addWidget(m_gauge, 0, Qt::AlignHCenter);
    m_descriptionLabel->setAlignment(Qt::AlignHCenter);
    m_descriptionLabel->setContentsMargins(defaultInset, 0, defaultInset, 0);
    resultLayout()->addWidget(m_descriptionLabel);

    // On to many sentences at once, in the Sentence Map window.
    auto *mapLink = new LinkButton(QString());
    m_mapLink = mapLink;
    mapLink->setObjectName(QStringLiteral("sentenceMapLink"));
    TextStyles::apply(mapLink, TextStyle::Subheadline);
    connect(mapLink, &QPushButton::clicked, this, [this] { Q_EMIT sentenceMapRequested({m_sentence1, m_sentence2}); });
    addFooter(mapLink);
    retranslate();
}

void SentenceSimilarityView::retranslate()
{
    m_sentence1Label->setText(tr("First Sentence:"));
    m_hint1Label->setText(tr("Example: \"The cat sat on the mat\""));
    m_sentence2Label->setText(tr("Second Sentence:"));
    m_hint2Label->setText(tr("Example: \"A feline rested on the rug\""));
    if (m_mapLink)
        m_mapLink->setText(tr("Compare more sentences in the Sentence Map…"));
}

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
        m_errorMessage = tr("Please select an embedding model in Settings");
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

    // The screen is the context: both requests still run when it is gone,
    // but the outcome is then dropped.
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
            m_errorMessage = tr("Error: %1").arg(error.description);
        }
        m_isCalculating = false;
        render();
        if (m_history) {
            m_history->add(stored ? DemoHistory::similarity(model, first, second, m_similarity)
                                  : DemoHistory::failure(DemoType::sentenceSimilarity, model, {first, second},
                                                          *m_errorMessage));
        }
    }, m_settings, m_http);
}

void SentenceSimilarityView::setSentences(const QString &first, const QString &second)
{
    // The editors' textChanged keeps the sentences and the screen in step.
    if (typedText(m_editor1) != first)
        m_editor1->setPlainText(first);
    if (typedText(m_editor2) != second)
        m_editor2->setPlainText(second);
}

std::optional<float> SentenceSimilarityView::clampedSimilarity(float value)
{
    return shownSimilarity(value);
}

void SentenceSimilarityView::render()
{
    const QPalette &pal = palette();
    const QColor secondary = NamedColors::secondaryText(pal);

    setForeground(m_hint1Label, secondary);
    setForeground(m_hint2Label, secondary);
    m_hint1Label->setVisible(m_sentence1.isEmpty());
    m_hint2Label->setVisible(m_sentence2.isEmpty());

    // The card is shown before the gauge takes the new value, so that the
    // arc animates towards it.
    resultCard()->setVisible(m_hasCalculated);
    resultCard()->setFillColor(pal.color(QPalette::Base));
    if (m_gauge->progress() != m_similarity)
        m_gauge->setProgress(m_similarity);
    const QString gaugeSummary = tr("Similarity %1").arg(CircularProgressGauge::accessibleValueText(m_similarity));
    m_gauge->setAccessibleName(gaugeSummary);
    m_descriptionLabel->setText(similarityDescription(m_similarity));
    setForeground(m_descriptionLabel, secondary);

    // Filled only while open: a closed panel needs none of that work.
    const bool canExplain = m_hasCalculated && m_reading.has_value();
    if (canExplain && isShowingDetails())
        m_detailsPanel->setReading(*m_reading, m_similarity);

    renderShared({
        .isBusy = m_isCalculating,
        .canStart = canCalculate(),
        .showsResult = m_hasCalculated,
        .canExplain = canExplain,
        .errorMessage = m_errorMessage,
        .hasModel = m_settings.selectedEmbeddingModel().has_value(),
        .resultWidget = m_gauge,
        .resultSummary = gaugeSummary,
    });
}
