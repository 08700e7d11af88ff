#pragma once

#include "SamplingMath.h"
#include "SamplingRun.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class AppSettings;
class HttpClient;
class QBoxLayout;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSlider;
class QSpinBox;
class SamplingChart;
class SessionHistory;

// Under the probabilities chart: the sampling settings (temperature, top-k,
// top-p) applied by hand to the candidates the server listed, a chart of the
// odds they give and the arithmetic behind them; and a run that asks the
// model the same question several times with those settings, whose answers
// are shown beside the odds.
//
// The lab keeps its state in plain members; render() derives everything
// visible from it.
class SamplingLab : public QWidget
{
    Q_OBJECT

public:
    explicit SamplingLab(QWidget *parent = nullptr);
    ~SamplingLab() override;

    // Requests go through AppSettings::shared() and HttpClient::shared()
    // until this names others.
    void setServices(AppSettings &settings, HttpClient &http);
    // Where a finished run is recorded, as one entry.
    void setHistory(SessionHistory *history);

    // The candidates the server listed for the first token of the rating of
    // `text` by `model`. Another text or model stops a run and drops its
    // answers; another model also asks the server for its own settings.
    void setCandidates(const QString &text, const QString &model, const QList<TokenCandidate> &candidates);

    const SamplingSettings &sampling() const { return m_sampling; }
    void setSampling(const SamplingSettings &sampling);
    const SamplingStart &start() const { return m_start; }
    // Whether the model's show reply (or its failure) has come in.
    bool isStartKnown() const { return m_startIsKnown; }
    const SampledOdds &odds() const { return m_odds; }
    // The run in progress or last finished; null before the first.
    const SamplingRun *run() const { return m_run; }

    // The buttons' actions.
    void askRepeatedly();
    void stop();

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void useServices();
    void runEnded();
    void render();
    void renderAnswers();
    int requestCount() const;

    QPointer<AppSettings> m_settings;
    QPointer<HttpClient> m_http;
    bool m_hasOwnServices = false;
    QPointer<SessionHistory> m_history;

    QString m_text;
    QString m_model;
    QList<TokenCandidate> m_candidates;
    SamplingStart m_start;
    bool m_startIsKnown = false;
    bool m_startRequested = false;
    // Whether the learner has moved a control since the model was chosen.
    bool m_adjustedByUser = false;
    SamplingSettings m_sampling;
    SampledOdds m_odds;
    // The odds with the settings the last run used.
    SampledOdds m_runOdds;
    SamplingRun *m_run = nullptr;
    // Counts subjects, so that a show reply for an earlier model is dropped.
    quint64 m_subjectNumber = 0;

    QLabel *const m_caption;
    QLabel *const m_note;
    QSlider *const m_temperatureSlider;
    QDoubleSpinBox *const m_temperatureBox;
    QSlider *const m_topKSlider;
    QSpinBox *const m_topKBox;
    QSlider *const m_topPSlider;
    QDoubleSpinBox *const m_topPBox;
    QLabel *const m_startLabel;
    QLabel *const m_oddsCaption;
    SamplingChart *const m_oddsChart;
    QLabel *const m_unlistedLabel;
    QLabel *const m_arithmeticLabel;
    QLabel *const m_temperatureNote;
    QLabel *const m_answersCaption;
    QComboBox *const m_countBox;
    QPushButton *const m_askButton;
    QPushButton *const m_stopButton;
    QProgressBar *const m_progressBar;
    QLabel *const m_progressLabel;
    QLabel *const m_errorLabel;
    SamplingChart *const m_answersChart;
    QLabel *const m_answersLegend;
    QLabel *const m_answersSummary;
    QBoxLayout *m_columns = nullptr;
    QWidget *const m_left;
    QWidget *const m_right;
};
