#pragma once

#include "SamplingMath.h"
#include "catalogue/ClientError.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class AppSettings;
class HttpClient;

// Asks the model the demo's rating question several times, one request after
// another, with chosen sampling settings and a different seed each time, and
// counts the ratings that come back. Each answer is read the way the demo
// reads its own; an answer that is no rating from 1 to 5 counts as "no
// number".
class SamplingRun : public QObject
{
    Q_OBJECT

public:
    // Index 0 to 4 for ratings 1 to 5, 5 for "no number".
    using Counts = std::array<int, 6>;
    static constexpr int noNumber = 5;

    SamplingRun(AppSettings &settings, HttpClient &http, QObject *parent = nullptr);

    // Starts a run of `total` requests with seeds firstSeed, firstSeed + 1,
    // and so on. A run already going is dropped first.
    void start(const QString &text, const QString &model, const SamplingSettings &sampling, int total,
               quint32 firstSeed);
    // Sends no further request; the reply to the one in flight is dropped.
    void stop();

    bool isRunning() const { return m_running; }
    int answered() const { return m_answered; }
    int total() const { return m_total; }
    const Counts &counts() const { return m_counts; }
    // "Error: ..." when a request failed; the counts before it stay.
    const QString &error() const { return m_error; }
    const SamplingSettings &sampling() const { return m_sampling; }

    // One request's body: the demo's prompt and model, not streamed, no
    // thinking, and the sampling options with a short answer and the seed.
    static QByteArray requestBody(const QString &text, const QString &model, const SamplingSettings &sampling,
                                  quint32 seed);

Q_SIGNALS:
    // After each answer, and when the run starts.
    void progressed();
    // When the run ends: all answered, stopped or failed.
    void finished();

private:
    void sendNext();
    void end();

    AppSettings &m_settings;
    HttpClient &m_http;
    QString m_text;
    QString m_model;
    SamplingSettings m_sampling;
    int m_total = 0;
    int m_answered = 0;
    quint32 m_firstSeed = 0;
    Counts m_counts{};
    QString m_error;
    bool m_running = false;
    // Counts runs and stops, so that a reply from before either is dropped.
    quint64 m_generation = 0;
};

// Asks the server for a model's show reply and hands over its "parameters"
// text (absent when the reply has none or the request fails: the caller then
// starts from the server's defaults). Not called once `context` is gone.
void fetchModelParameters(const QString &model, QObject *context,
                          std::function<void(const std::optional<QString> &)> callback, AppSettings &settings,
                          HttpClient &http);
