#include "TokenProbabilitiesSection.h"

#include "ProbabilityBarChart.h"
#include "SamplingLab.h"
#include "SentimentClient.h"
#include "app/Languages.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int captionSpacing = 6;

} // namespace

TokenProbabilitiesSection::TokenProbabilitiesSection(QWidget *parent)
    : QWidget(parent)
    , m_caption(makeLabel(QStringLiteral("probabilitiesCaption"), QString(),
                          TextStyle::Subheadline, QFont::DemiBold))
    , m_note(makeLabel(QStringLiteral("probabilitiesNote"),
                       QString(),
                       TextStyle::Caption))
    , m_button(new QPushButton(QString()))
    , m_messageLabel(makeLabel(QStringLiteral("probabilitiesMessage"), QString(), TextStyle::Caption))
    , m_result(new QWidget)
    , m_chart(new ProbabilityBarChart)
    , m_producedLabel(makeLabel(QStringLiteral("probabilitiesProduced"), QString(), TextStyle::Body))
    , m_expectedLabel(makeLabel(QStringLiteral("probabilitiesExpected"), QString(), TextStyle::Body))
    , m_summaryLabel(makeLabel(QStringLiteral("probabilitiesSummary"), QString(), TextStyle::Body))
    , m_tableCaption(makeLabel(QStringLiteral("probabilitiesTableCaption"),
                               QString(),
                               TextStyle::Caption))
    , m_table(new QTableWidget(0, 3))
    , m_samplingLab(new SamplingLab)
    , m_focusKeeper(this)
{
    Retranslate::texts(this, [this] {
        m_caption->setText(tr("How sure was the model?"));
        m_note->setText(tr("A language model gives every possible next token a probability and then draws one. This asks the model the same question once more and shows the odds it gave each rating."));
        m_button->setText(tr("Show the model's probabilities"));
        m_tableCaption->setText(tr("Candidates for the first token, as the server sent them"));
        m_chart->setAccessibleName(tr("Probability of each rating"));
        m_table->setAccessibleName(tr("Candidates for the first token"));
        m_table->setHorizontalHeaderLabels({tr("Token"), tr("Log-probability"), tr("Probability")});
    });
    setObjectName(QStringLiteral("probabilitiesSection"));
    // The section holds the keyboard focus while its button is disabled.
    Retranslate::texts(this, [this] {
        setAccessibleName(m_caption->text());
        m_button->setAccessibleDescription(m_note->text());
    });

    m_button->setObjectName(QStringLiteral("probabilitiesButton"));
    m_button->setAccessibleName(m_button->text());
    m_button->setFocusPolicy(Qt::StrongFocus);
    m_button->setAutoDefault(false);

    m_result->setObjectName(QStringLiteral("probabilitiesResult"));
    m_chart->setObjectName(QStringLiteral("probabilitiesChart"));

    m_table->setObjectName(QStringLiteral("probabilitiesTable"));
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setTabKeyNavigation(false);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_tableCaption->setBuddy(m_table);

    auto *resultLayout = new QVBoxLayout(m_result);
    resultLayout->setContentsMargins(0, 4, 0, 0);
    resultLayout->setSpacing(8);
    resultLayout->addWidget(m_chart);
    resultLayout->addWidget(m_producedLabel);
    resultLayout->addWidget(m_expectedLabel);
    resultLayout->addWidget(m_summaryLabel);
    resultLayout->addSpacing(4);
    resultLayout->addWidget(m_tableCaption);
    resultLayout->addWidget(m_table);
    resultLayout->addWidget(m_samplingLab);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(captionSpacing);
    layout->addWidget(m_caption);
    layout->addWidget(m_note);
    layout->addWidget(m_button, 0, Qt::AlignLeft);
    layout->addWidget(m_messageLabel);
    layout->addWidget(m_result);

    connect(m_button, &QPushButton::clicked, this, &TokenProbabilitiesSection::requestProbabilities);
    render();
}

TokenProbabilitiesSection::~TokenProbabilitiesSection() = default;

void TokenProbabilitiesSection::setServices(AppSettings &settings, HttpClient &http)
{
    m_settings = &settings;
    m_http = &http;
    m_hasOwnServices = true;
    m_samplingLab->setServices(settings, http);
}

void TokenProbabilitiesSection::setSubject(const QString &text, const QString &model)
{
    if (text == m_text && model == m_model)
        return;
    m_text = text;
    m_model = model;
    ++m_requestNumber;
    m_isLoading = false;
    m_probabilities.reset();
    m_message.clear();
    m_samplingLab->setCandidates(text, model, {});
    render();
}

void TokenProbabilitiesSection::requestProbabilities()
{
    // The shared instances are looked up only now, so that building the
    // section touches no preferences.
    if (!m_hasOwnServices) {
        m_settings = &AppSettings::shared();
        m_http = &HttpClient::shared();
    }
    if (m_isLoading || !m_settings || !m_http)
        return;
    m_isLoading = true;
    m_probabilities.reset();
    m_message.clear();
    render();

    const quint64 number = ++m_requestNumber;
    fetchTokenProbabilities(m_text, m_model, this, [this, number](const Result<TokenProbabilityReading> &result) {
        if (number != m_requestNumber)
            return;
        m_isLoading = false;
        if (!result) {
            m_message = tr("Error: %1").arg(result.error().description);
            m_messageIsError = true;
        } else if (const auto *problem = std::get_if<TokenProbabilityProblem>(&result.value())) {
            m_message = TokenProbabilityText::problemMessage(*problem);
            m_messageIsError = false;
        } else {
            m_probabilities = std::get<TokenProbabilities>(result.value());
        }
        render();
    }, *m_settings, *m_http);
}

QStringList TokenProbabilitiesSection::tableRow(const TokenCandidate &candidate)
{
    return {TokenProbabilityText::visibleToken(candidate.token),
            TokenProbabilityText::tableLogprob(candidate.logprob),
            TokenProbabilityText::tablePercent(std::exp(candidate.logprob))};
}

void TokenProbabilitiesSection::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::FontChange || event->type() == QEvent::LanguageChange)
        render();
}

void TokenProbabilitiesSection::fitTable()
{
    int height = m_table->horizontalHeader()->height() + 2 * m_table->frameWidth();
    for (int row = 0; row < m_table->rowCount(); ++row)
        height += m_table->rowHeight(row);
    m_table->setFixedHeight(height);
}

void TokenProbabilitiesSection::render()
{
    const QPalette &pal = palette();
    setForeground(m_note, NamedColors::secondaryText(pal));
    setForeground(m_tableCaption, NamedColors::secondaryText(pal));

    // A focused button that disables itself would hand the focus on to the
    // next control in the chain, which can be the demo switch at the top; the
    // section keeps it until the button is back.
    m_focusKeeper.setEnabled(m_button, !m_isLoading && !m_model.isEmpty());
    m_button->setText(m_isLoading ? tr("Asking the model…") : tr("Show the model's probabilities"));
    m_button->setAccessibleName(m_button->text());

    m_messageLabel->setVisible(!m_message.isEmpty());
    m_messageLabel->setText(m_message);
    setForeground(m_messageLabel, NamedColors::color(m_messageIsError ? NamedColor::Red : NamedColor::Orange, pal));

    m_result->setVisible(m_probabilities.has_value());
    if (m_probabilities)
        renderResult(*m_probabilities);

    // A new result or message is announced once, as the demo screens
    // announce theirs.
    const QString announcement = !m_message.isEmpty() ? m_message
                                 : m_probabilities ? m_summaryLabel->text()
                                                   : QString();
    if (announcement != m_announced) {
        m_announced = announcement;
        if (!m_message.isEmpty())
            announce(m_messageLabel, QAccessible::Alert);
        else if (m_probabilities)
            announce(m_result, QAccessible::NameChanged);
    }
}

void TokenProbabilitiesSection::announce(QWidget *widget, QAccessible::Event type)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(widget, type);
    QAccessible::updateAccessibility(&event);
}

void TokenProbabilitiesSection::renderResult(const TokenProbabilities &p)
{
    m_chart->setProbabilities(p);
    m_samplingLab->setCandidates(m_text, m_model, p.candidates);
    m_result->setAccessibleName(TokenProbabilityText::summary(p));
    m_producedLabel->setText(tr("The model's answer began with the token “%1”.")
                                 .arg(TokenProbabilityText::visibleToken(p.producedToken)));
    const std::optional<double> expected = p.expectedRating();
    m_expectedLabel->setText(
        expected ? tr("Expected rating, an average among the ratings only (each weighted by its probability): %1")
                       .arg(Languages::decimal(*expected, 2))
                 : tr("Expected rating: none, no candidate is a rating."));
    m_summaryLabel->setText(TokenProbabilityText::summary(p));

    m_table->setRowCount(int(p.candidates.size()));
    for (int row = 0; row < p.candidates.size(); ++row) {
        const QStringList cells = tableRow(p.candidates.at(row));
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = new QTableWidgetItem(cells.at(column));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // The table rounds; the full value is one hover away.
            if (column == 1)
                item->setToolTip(QString::number(p.candidates.at(row).logprob, 'g', QLocale::FloatingPointShortest));
            m_table->setItem(row, column, item);
        }
    }
    fitTable();
}
