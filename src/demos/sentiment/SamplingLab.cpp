#include "SamplingLab.h"

#include "SamplingChart.h"
#include "catalogue/AppSettings.h"
#include "catalogue/HttpClient.h"
#include "demos/DemoHistory.h"
#include "history/SessionHistory.h"
#include "widgets/Labels.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <array>
#include <cmath>

namespace {

constexpr int requestChoices[] = {5, 10, 20};
constexpr int defaultChoice = 1;
constexpr int columnSpacing = 24;

QString ratingName(int rating)
{
    return rating > 0 ? SamplingLab::tr("Rating %1").arg(rating) : QString();
}

// The bars of the odds chart: ratings 1 to 5, then the kept candidates that
// are no rating.
QList<SamplingChart::Row> oddsRows(const SampledOdds &odds)
{
    QList<SamplingChart::Row> rows;
    for (int rating = 1; rating <= 6; ++rating) {
        const bool other = rating == 6;
        const double p = other ? odds.noRating : odds.ratings[size_t(rating - 1)];
        const QString spoken = other ? SamplingLab::tr("Something else with these settings: %1")
                                     : SamplingLab::tr("Rating %1 with these settings: %2").arg(rating);
        rows.append({other ? SamplingLab::tr("something else") : QString::number(rating), p, std::nullopt,
                     other ? 0 : rating, TokenProbabilityText::percent(p),
                     spoken.arg(TokenProbabilityText::percentSpoken(p))});
    }
    return rows;
}

// The bars of the answers chart: how many answers were each rating (and no
// number, when any was), each with the odds beside it.
QList<SamplingChart::Row> answerRows(const SamplingRun::Counts &counts, int answered, const SampledOdds &odds)
{
    QList<SamplingChart::Row> rows;
    for (int i = 0; i <= SamplingRun::noNumber; ++i) {
        const int count = counts[size_t(i)];
        const bool noNumber = i == SamplingRun::noNumber;
        if (noNumber && count == 0)
            continue;
        const QString figure = SamplingLab::tr("%1 of %2").arg(count).arg(answered);
        rows.append({noNumber ? SamplingLab::tr("no number") : QString::number(i + 1),
                     answered > 0 ? double(count) / answered : 0.0,
                     noNumber ? odds.noRating : odds.ratings[size_t(i)], noNumber ? 0 : i + 1, figure,
                     SamplingLab::tr("%1: %2").arg(noNumber ? SamplingLab::tr("No number") : ratingName(i + 1), figure)});
    }
    return rows;
}

// "7 of 10 answers were 4; the odds said 58 %." for the most frequent answer.
QString answersSentence(const SamplingRun::Counts &counts, int answered, const SampledOdds &odds)
{
    if (answered == 0)
        return {};
    const auto most = std::max_element(counts.begin(), counts.end());
    const int index = int(most - counts.begin());
    if (index == SamplingRun::noNumber)
        return SamplingLab::tr("%1 of %2 answers had no number; the odds said %3.")
            .arg(*most)
            .arg(answered)
            .arg(TokenProbabilityText::percent(odds.noRating));
    return SamplingLab::tr("%1 of %2 answers were %3; the odds said %4.")
        .arg(*most)
        .arg(answered)
        .arg(index + 1)
        .arg(TokenProbabilityText::percent(odds.ratings[size_t(index)]));
}

// "4 ×7, 5 ×3": the counts of a run for the history.
QString countsLine(const SamplingRun::Counts &counts)
{
    QStringList parts;
    for (int i = 0; i <= SamplingRun::noNumber; ++i) {
        if (counts[size_t(i)] > 0)
            parts << SamplingLab::tr("%1 ×%2")
                         .arg(i == SamplingRun::noNumber ? SamplingLab::tr("no number") : QString::number(i + 1))
                         .arg(counts[size_t(i)]);
    }
    return parts.join(QStringLiteral(", "));
}

QSlider *makeSlider(const QString &name, int minimum, int maximum)
{
    auto *slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(name);
    slider->setRange(minimum, maximum);
    slider->setFocusPolicy(Qt::StrongFocus);
    return slider;
}

QDoubleSpinBox *makeDoubleBox(const QString &name, double minimum, double maximum)
{
    auto *box = new QDoubleSpinBox;
    box->setObjectName(name);
    box->setDecimals(2);
    box->setRange(minimum, maximum);
    box->setSingleStep(0.05);
    box->setKeyboardTracking(false);
    return box;
}

} // namespace

SamplingLab::SamplingLab(QWidget *parent)
    : QWidget(parent)
    , m_caption(makeLabel(QStringLiteral("samplingCaption"), QString(),
                          TextStyle::Subheadline, QFont::DemiBold))
    , m_note(makeLabel(QStringLiteral("samplingNote"),
                       QString(),
                       TextStyle::Caption))
    , m_temperatureSlider(makeSlider(QStringLiteral("samplingTemperatureSlider"), 5, 200))
    , m_temperatureBox(makeDoubleBox(QStringLiteral("samplingTemperature"), SamplingMath::minTemperature,
                                     SamplingMath::maxTemperature))
    , m_topKSlider(makeSlider(QStringLiteral("samplingTopKSlider"), 0, SamplingMath::maxTopK))
    , m_topKBox(new QSpinBox)
    , m_topPSlider(makeSlider(QStringLiteral("samplingTopPSlider"), 5, 100))
    , m_topPBox(makeDoubleBox(QStringLiteral("samplingTopP"), SamplingMath::minTopP, SamplingMath::maxTopP))
    , m_startLabel(makeLabel(QStringLiteral("samplingStart"), QString(), TextStyle::Caption))
    , m_oddsCaption(makeLabel(QStringLiteral("samplingOddsCaption"), QString(),
                              TextStyle::Body, QFont::DemiBold))
    , m_oddsChart(new SamplingChart)
    , m_unlistedLabel(makeLabel(QStringLiteral("samplingUnlisted"), QString(), TextStyle::Caption))
    , m_arithmeticLabel(makeLabel(QStringLiteral("samplingArithmetic"), QString(), TextStyle::Caption))
    , m_temperatureNote(makeLabel(QStringLiteral("samplingTemperatureNote"),
                                  QString(),
                                  TextStyle::Caption))
    , m_answersCaption(makeLabel(QStringLiteral("samplingAnswersCaption"), QString(),
                                 TextStyle::Body, QFont::DemiBold))
    , m_countBox(new QComboBox)
    , m_askButton(new QPushButton)
    , m_stopButton(new QPushButton(QString()))
    , m_progressBar(new QProgressBar)
    , m_progressLabel(makeLabel(QStringLiteral("samplingProgress"), QString(), TextStyle::Caption))
    , m_errorLabel(makeLabel(QStringLiteral("samplingError"), QString(), TextStyle::Caption))
    , m_answersChart(new SamplingChart)
    , m_answersLegend(makeLabel(QStringLiteral("samplingAnswersLegend"),
                                QString(),
                                TextStyle::Caption))
    , m_answersSummary(makeLabel(QStringLiteral("samplingAnswersSummary"), QString(), TextStyle::Body))
    , m_left(new QWidget)
    , m_right(new QWidget)
{
    Retranslate::texts(this, [this] {
        m_caption->setText(tr("How does the model pick one answer?"));
        m_note->setText(tr("The server draws the answer from these odds after its sampling settings reshape them. Move the settings to see how; then ask the model several times to see the draws follow the odds."));
        m_oddsCaption->setText(tr("The odds with these settings"));
        m_temperatureNote->setText(tr("A temperature near 0 gives the top candidate all the odds: the model always answers the same. A high one flattens the odds, so less likely ratings come up more often."));
        m_answersCaption->setText(tr("Ask the model many times"));
        m_stopButton->setText(tr("Stop"));
        m_answersLegend->setText(tr("Thick bars: the answers. Thin bars: the odds with the settings the run used."));
        m_topKBox->setSpecialValueText(tr("Off"));
        m_oddsChart->setAccessibleName(tr("Probability of each rating with these settings"));
        m_answersChart->setAccessibleName(tr("Answers the model gave"));
        m_countBox->setAccessibleName(tr("Number of requests"));
        m_progressBar->setAccessibleName(tr("Progress"));
    });
    setObjectName(QStringLiteral("samplingLab"));

    m_topKBox->setObjectName(QStringLiteral("samplingTopK"));
    m_topKBox->setRange(0, SamplingMath::maxTopK);
    m_topKBox->setKeyboardTracking(false);

    // Each setting: its name, a slider, a box to type in, and one line that
    // says what it does. Both controls carry the name.
    auto *grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    // Named in the current language by the function below.
    const std::pair<QSlider *, QAbstractSpinBox *> controls[] = {
        {m_temperatureSlider, m_temperatureBox}, {m_topKSlider, m_topKBox}, {m_topPSlider, m_topPBox}};
    int row = 0;
    std::array<std::pair<QLabel *, QLabel *>, 3> labels{};
    for (const auto &[slider, box] : controls) {
        auto *label = makeLabel(box->objectName() + QStringLiteral("Label"), QString(), TextStyle::Body);
        label->setWordWrap(false);
        label->setBuddy(box);
        auto *explanation = makeLabel(box->objectName() + QStringLiteral("Explanation"), QString(), TextStyle::Caption);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0.000")) + 40);
        grid->addWidget(label, row, 0);
        grid->addWidget(slider, row, 1);
        grid->addWidget(box, row, 2);
        grid->addWidget(explanation, row + 1, 1, 1, 2);
        labels[size_t(row / 2)] = {label, explanation};
        row += 2;
    }
    Retranslate::texts(this, [this, labels] {
        const struct {
            QString name;
            QString explanation;
            QSlider *slider;
            QAbstractSpinBox *box;
        } settings[] = {
            {tr("Temperature"), tr("Low sharpens the odds toward the top candidate; high flattens them."),
             m_temperatureSlider, m_temperatureBox},
            {tr("Top-k"), tr("Only the k most likely candidates may be drawn; Off keeps them all."), m_topKSlider,
             m_topKBox},
            {tr("Top-p"), tr("Only the most likely candidates whose shares add up to p may be drawn."), m_topPSlider,
             m_topPBox},
        };
        // Both controls carry the setting's name.
        for (size_t i = 0; i < labels.size(); ++i) {
            const auto &setting = settings[i];
            labels[i].first->setText(setting.name);
            labels[i].second->setText(setting.explanation);
            setting.slider->setAccessibleName(setting.name);
            setting.slider->setAccessibleDescription(setting.explanation);
            setting.box->setAccessibleName(setting.name);
            setting.box->setAccessibleDescription(setting.explanation);
        }
        for (int i = 0; i < m_countBox->count(); ++i)
            m_countBox->setItemText(i, tr("%n times", nullptr, m_countBox->itemData(i).toInt()));
        m_stopButton->setAccessibleName(m_stopButton->text());
    });

    m_oddsChart->setObjectName(QStringLiteral("samplingOddsChart"));
    m_answersChart->setObjectName(QStringLiteral("samplingAnswersChart"));

    m_countBox->setObjectName(QStringLiteral("samplingCount"));
    for (const int count : requestChoices)
        m_countBox->addItem(tr("%n times", nullptr, count), count);
    m_countBox->setCurrentIndex(defaultChoice);
    m_askButton->setObjectName(QStringLiteral("samplingAskButton"));
    m_askButton->setAutoDefault(false);
    m_stopButton->setObjectName(QStringLiteral("samplingStopButton"));
    m_stopButton->setAutoDefault(false);
    m_progressBar->setObjectName(QStringLiteral("samplingProgressBar"));
    m_progressBar->setTextVisible(false);

    auto *left = new QVBoxLayout(m_left);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(6);
    left->addWidget(m_oddsCaption);
    left->addWidget(m_oddsChart);
    left->addWidget(m_unlistedLabel);
    left->addWidget(m_arithmeticLabel);
    left->addWidget(m_temperatureNote);
    left->addStretch(1);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(m_countBox);
    buttons->addWidget(m_askButton);
    buttons->addWidget(m_stopButton);
    buttons->addStretch(1);
    auto *progress = new QHBoxLayout;
    progress->addWidget(m_progressBar, 1);
    progress->addWidget(m_progressLabel);
    auto *right = new QVBoxLayout(m_right);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(6);
    right->addWidget(m_answersCaption);
    right->addLayout(buttons);
    right->addLayout(progress);
    right->addWidget(m_errorLabel);
    right->addWidget(m_answersChart);
    right->addWidget(m_answersLegend);
    right->addWidget(m_answersSummary);
    right->addStretch(1);

    m_columns = new QBoxLayout(QBoxLayout::LeftToRight);
    m_columns->setSpacing(columnSpacing);
    m_columns->addWidget(m_left, 1);
    m_columns->addWidget(m_right, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(m_caption);
    layout->addWidget(m_note);
    layout->addLayout(grid);
    layout->addWidget(m_startLabel);
    layout->addSpacing(4);
    layout->addLayout(m_columns);

    // Sliders hold hundredths (top-k its own number); the boxes the values.
    const auto changed = [this](SamplingSettings next) {
        if (next == m_sampling)
            return;
        m_sampling = next;
        m_adjustedByUser = true;
        render();
    };
    connect(m_temperatureSlider, &QSlider::valueChanged, this, [this, changed](int value) {
        changed({value / 100.0, m_sampling.topK, m_sampling.topP});
    });
    connect(m_temperatureBox, &QDoubleSpinBox::valueChanged, this,
            [this, changed](double value) { changed({value, m_sampling.topK, m_sampling.topP}); });
    const auto topK = [](int value) { return value > 0 ? std::optional<int>(value) : std::nullopt; };
    connect(m_topKSlider, &QSlider::valueChanged, this, [this, changed, topK](int value) {
        changed({m_sampling.temperature, topK(value), m_sampling.topP});
    });
    connect(m_topKBox, &QSpinBox::valueChanged, this, [this, changed, topK](int value) {
        changed({m_sampling.temperature, topK(value), m_sampling.topP});
    });
    connect(m_topPSlider, &QSlider::valueChanged, this, [this, changed](int value) {
        changed({m_sampling.temperature, m_sampling.topK, value / 100.0});
    });
    connect(m_topPBox, &QDoubleSpinBox::valueChanged, this,
            [this, changed](double value) { changed({m_sampling.temperature, m_sampling.topK, value}); });
    connect(m_countBox, &QComboBox::currentIndexChanged, this, &SamplingLab::render);
    connect(m_askButton, &QPushButton::clicked, this, &SamplingLab::askRepeatedly);
    connect(m_stopButton, &QPushButton::clicked, this, &SamplingLab::stop);

    // Tab goes through the settings in reading order, then the run's controls.
    QWidget *const order[] = {m_temperatureSlider, m_temperatureBox, m_topKSlider, m_topKBox,
                              m_topPSlider,        m_topPBox,        m_countBox,   m_askButton, m_stopButton};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    m_start = SamplingMath::startFrom(std::nullopt);
    m_sampling = SamplingMath::clamped(m_start.settings);
    render();
}

SamplingLab::~SamplingLab() = default;

void SamplingLab::setServices(AppSettings &settings, HttpClient &http)
{
    m_settings = &settings;
    m_http = &http;
    m_hasOwnServices = true;
}

void SamplingLab::setHistory(SessionHistory *history)
{
    m_history = history;
}

void SamplingLab::useServices()
{
    // The shared instances are looked up only when needed, so that building
    // the lab touches no preferences.
    if (!m_hasOwnServices) {
        m_settings = &AppSettings::shared();
        m_http = &HttpClient::shared();
    }
}

void SamplingLab::setCandidates(const QString &text, const QString &model, const QList<TokenCandidate> &candidates)
{
    if (text == m_text && model == m_model && candidates == m_candidates)
        return;
    const bool newSubject = text != m_text || model != m_model;
    const bool newModel = model != m_model;
    m_text = text;
    m_model = model;
    m_candidates = candidates;
    if (newSubject && m_run) {
        // Answers about another text or model would mislead.
        delete m_run;
        m_run = nullptr;
    }
    if (newModel) {
        ++m_subjectNumber;
        m_startIsKnown = false;
        m_startRequested = false;
        m_adjustedByUser = false;
    }
    // The model's own settings are asked for once there is something to
    // apply them to.
    if (!m_startRequested && !m_candidates.isEmpty() && !m_model.isEmpty()) {
        useServices();
        if (m_settings && m_http) {
            m_startRequested = true;
            const quint64 number = m_subjectNumber;
            fetchModelParameters(m_model, this, [this, number](const std::optional<QString> &parameters) {
                if (number != m_subjectNumber)
                    return;
                m_start = SamplingMath::startFrom(parameters);
                m_startIsKnown = true;
                // Values the learner has already set stay; the line that
                // says where the start came from still follows the model.
                if (m_adjustedByUser)
                    render();
                else
                    setSampling(m_start.settings);
            }, *m_settings, *m_http);
        }
    }
    render();
}

void SamplingLab::setSampling(const SamplingSettings &sampling)
{
    m_sampling = SamplingMath::clamped(sampling);
    render();
}

int SamplingLab::requestCount() const
{
    return m_countBox->currentData().toInt();
}

void SamplingLab::askRepeatedly()
{
    useServices();
    if ((m_run && m_run->isRunning()) || !m_settings || !m_http || m_model.isEmpty())
        return;
    const bool hadFocus = m_askButton->hasFocus();
    delete m_run;
    m_run = new SamplingRun(*m_settings, *m_http, this);
    connect(m_run, &SamplingRun::progressed, this, &SamplingLab::render);
    connect(m_run, &SamplingRun::finished, this, &SamplingLab::runEnded);
    m_runOdds = m_odds;
    m_run->start(m_text, m_model, m_sampling, requestCount(), QRandomGenerator::global()->generate());
    // The button disables itself while the run goes: its neighbour takes the
    // focus rather than something that changes the screen.
    if (hadFocus)
        m_stopButton->setFocus();
}

void SamplingLab::stop()
{
    if (m_run)
        m_run->stop();
}

void SamplingLab::runEnded()
{
    const bool hadFocus = m_stopButton->hasFocus();
    render();
    if (hadFocus)
        m_askButton->setFocus();
    if (!m_history || !m_run)
        return;
    // One entry for the whole run, not one per request.
    if (!m_run->error().isEmpty()) {
        m_history->add(DemoHistory::failure(DemoType::sentimentAnalysis, m_model, {m_text}, m_run->error()));
    } else if (m_run->answered() > 0) {
        HistoryEntry entry;
        entry.demo = DemoTypes::title(DemoType::sentimentAnalysis);
        entry.model = m_model;
        entry.texts = {m_text};
        entry.result = tr("Asked %n times with %1: %2", nullptr, m_run->answered())
                           .arg(SamplingText::settingsLine(m_run->sampling()), countsLine(m_run->counts()));
        m_history->add(entry);
    }
}

void SamplingLab::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The boxes write their numbers in the new language's form.
    if (event->type() == QEvent::LanguageChange) {
        for (QAbstractSpinBox *box : {static_cast<QAbstractSpinBox *>(m_temperatureBox),
                                      static_cast<QAbstractSpinBox *>(m_topKBox),
                                      static_cast<QAbstractSpinBox *>(m_topPBox)})
            box->setLocale(QLocale());
    }
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange
        || event->type() == QEvent::FontChange || event->type() == QEvent::LanguageChange)
        render();
}

void SamplingLab::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The two charts side by side when both fit at their smallest, else one
    // above the other.
    const int needed = m_left->minimumSizeHint().width() + m_right->minimumSizeHint().width() + columnSpacing;
    const auto direction = width() >= needed ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (m_columns->direction() != direction)
        m_columns->setDirection(direction);
}

void SamplingLab::render()
{
    const QPalette &pal = palette();
    for (QLabel *label : {m_note, m_startLabel, m_unlistedLabel, m_arithmeticLabel, m_temperatureNote, m_answersLegend})
        setForeground(label, NamedColors::secondaryText(pal));
    setForeground(m_errorLabel, NamedColors::color(NamedColor::Red, pal));

    {
        const QSignalBlocker blockers[] = {QSignalBlocker(m_temperatureSlider), QSignalBlocker(m_temperatureBox),
                                           QSignalBlocker(m_topKSlider),        QSignalBlocker(m_topKBox),
                                           QSignalBlocker(m_topPSlider),        QSignalBlocker(m_topPBox)};
        m_temperatureSlider->setValue(int(std::lround(m_sampling.temperature * 100)));
        m_temperatureBox->setValue(m_sampling.temperature);
        m_topKSlider->setValue(m_sampling.topK.value_or(0));
        m_topKBox->setValue(m_sampling.topK.value_or(0));
        m_topPSlider->setValue(int(std::lround(m_sampling.topP * 100)));
        m_topPBox->setValue(m_sampling.topP);
    }
    m_startLabel->setText(m_startIsKnown ? SamplingText::startSentence(m_start) : QString());
    m_startLabel->setVisible(m_startIsKnown);

    m_odds = SamplingMath::apply(m_candidates, m_sampling);
    m_oddsChart->setRows(oddsRows(m_odds));
    double listed = 0.0;
    for (const TokenCandidate &c : std::as_const(m_candidates))
        listed += std::exp(c.logprob);
    m_unlistedLabel->setText(
        tr("Left out: the %1 of probability on tokens the server did not list; the settings can only reshape the "
           "candidates it listed.")
            .arg(TokenProbabilityText::percent(std::max(0.0, 1.0 - listed))));
    m_arithmeticLabel->setText(SamplingText::arithmetic(m_odds, m_sampling));

    renderAnswers();
}

void SamplingLab::renderAnswers()
{
    const bool running = m_run && m_run->isRunning();
    m_askButton->setText(tr("Ask %n Times", nullptr, requestCount()));
    m_askButton->setAccessibleName(m_askButton->text());
    m_askButton->setEnabled(!running && !m_model.isEmpty() && !m_candidates.isEmpty());
    m_countBox->setEnabled(!running);
    m_stopButton->setEnabled(running);

    m_progressBar->setVisible(running);
    m_progressLabel->setVisible(m_run != nullptr);
    m_errorLabel->setVisible(m_run && !m_run->error().isEmpty());
    const bool hasAnswers = m_run && m_run->answered() > 0;
    m_answersChart->setVisible(hasAnswers);
    m_answersLegend->setVisible(hasAnswers);
    m_answersSummary->setVisible(hasAnswers);
    if (!m_run)
        return;

    m_progressBar->setRange(0, m_run->total());
    m_progressBar->setValue(m_run->answered());
    const QString progress = tr("%1 of %2").arg(m_run->answered()).arg(m_run->total());
    m_progressLabel->setText(running || m_run->answered() == m_run->total()
                                 ? progress
                                 : tr("Stopped at %1").arg(progress));
    m_errorLabel->setText(m_run->error());
    m_answersChart->setRows(answerRows(m_run->counts(), m_run->answered(), m_runOdds));
    m_answersSummary->setText(answersSentence(m_run->counts(), m_run->answered(), m_runOdds));
}
