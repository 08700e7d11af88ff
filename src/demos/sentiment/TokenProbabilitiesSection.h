#pragma once

#include "TokenProbabilities.h"
#include "widgets/FocusKeeper.h"

#include <QAccessible>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class AppSettings;
class HttpClient;
class ProbabilityBarChart;
class QLabel;
class QPushButton;
class QTableWidget;
class SamplingLab;

// "How sure was the model?": on request, asks the model the same rating
// question once more, this time for the probabilities of its first token's
// candidates, and shows them as a bar chart, the expected rating, a sentence
// that reads them, and a table of the candidates as sent.
//
// The section keeps its state in plain members; render() derives everything
// visible from it.
class TokenProbabilitiesSection : public QWidget
{
    Q_OBJECT

public:
    // Requests go through AppSettings::shared() and HttpClient::shared()
    // until setServices() names others.
    explicit TokenProbabilitiesSection(QWidget *parent = nullptr);
    ~TokenProbabilitiesSection() override;

    void setServices(AppSettings &settings, HttpClient &http);

    // The analysis to ask about. A different text or model drops what was
    // shown, and a reply still on its way for the old one.
    void setSubject(const QString &text, const QString &model);

    bool isLoading() const { return m_isLoading; }
    const std::optional<TokenProbabilities> &probabilities() const { return m_probabilities; }
    // The inline message, when the request failed or brought nothing usable.
    const QString &message() const { return m_message; }
    // What assistive technology was last told: the new result's summary or
    // message, once each; empty while a request is on its way.
    const QString &lastAnnouncement() const { return m_announced; }

    // The button's action.
    void requestProbabilities();

    // The row of the candidates table for one candidate: the token with its
    // invisible characters drawn, the log-probability and the probability.
    static QStringList tableRow(const TokenCandidate &candidate);

    // The sampling settings and repeated requests, under the chart.
    SamplingLab *samplingLab() const { return m_samplingLab; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void render();
    void renderResult(const TokenProbabilities &probabilities);
    void fitTable();
    static void announce(QWidget *widget, QAccessible::Event type);

    QPointer<AppSettings> m_settings;
    QPointer<HttpClient> m_http;
    bool m_hasOwnServices = false;

    QString m_text;
    QString m_model;
    bool m_isLoading = false;
    std::optional<TokenProbabilities> m_probabilities;
    QString m_message;
    bool m_messageIsError = false;
    // What was last announced to assistive technology, so that each new
    // result or message is announced once.
    QString m_announced;
    // Counts requests, so that only the reply to the latest one is shown.
    quint64 m_requestNumber = 0;

    QLabel *const m_caption;
    QLabel *const m_note;
    QPushButton *const m_button;
    QLabel *const m_messageLabel;
    QWidget *const m_result;
    ProbabilityBarChart *const m_chart;
    QLabel *const m_producedLabel;
    QLabel *const m_expectedLabel;
    QLabel *const m_summaryLabel;
    QLabel *const m_tableCaption;
    QTableWidget *const m_table;
    SamplingLab *const m_samplingLab;
    // Keeps the focus in the section while the button is disabled.
    FocusKeeper m_focusKeeper;
};
