#pragma once

#include "ModelRecords.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class AppSettings;
class HttpClient;

// Fetches the server's model list and each model's capabilities, and publishes
// the list, a busy flag and an error text for the screens.
//
// Every published field emits willChange() before it changes and its own
// changed signal after. Fields change on the main thread only; the network
// work never blocks it.
class OllamaService : public QObject
{
    Q_OBJECT

public:
    using CapabilitiesCallback = std::function<void(const std::optional<ModelCapabilities> &)>;

    explicit OllamaService(AppSettings &settings, QObject *parent = nullptr);
    OllamaService(AppSettings &settings, HttpClient &http, QObject *parent = nullptr);
    ~OllamaService() override;

    const QList<OllamaModel> &availableModels() const { return m_availableModels; }
    bool isLoadingModels() const { return m_isLoadingModels; }
    const std::optional<QString> &modelError() const { return m_modelError; }

    // Fetches the list, then every model's capabilities at once, and publishes
    // the outcome. Never fails to its caller. Overlapping fetches each run to
    // the end and publish their own outcome; the last to end decides the list.
    void fetchModels();

    // Asks the server about one model. The callback receives the flags, or
    // absent when the URL, the request or the reply fails (a diagnostic line is
    // written for the latter two). It is not called once this service is gone.
    void fetchCapabilities(const QString &name, CapabilitiesCallback callback);

    // For the owner's destructor: takes the service out of the owner's hands
    // and deletes it once no fetch is running (at once when none is). A fetch
    // that is under way thus still ends, writes its diagnostic lines and
    // publishes, although nobody shows the outcome any more.
    void releaseWhenIdle();

    // Maps a show reply's "capabilities" list to the four flags and writes the
    // diagnostic lines about it.
    static ModelCapabilities parseCapabilities(const OllamaShowResponse &response);

Q_SIGNALS:
    void willChange();
    void availableModelsChanged();
    void isLoadingModelsChanged();
    void modelErrorChanged();

private:
    void setAvailableModels(const QList<OllamaModel> &models);
    void setLoadingModels(bool loading);
    void setModelError(const std::optional<QString> &error);
    void fetchAllCapabilities(const QList<OllamaModel> &models);
    // Marks the end of one fetch, after its outcome is published.
    void fetchEnded();

    AppSettings &m_settings;
    HttpClient &m_http;
    QList<OllamaModel> m_availableModels;
    bool m_isLoadingModels = false;
    std::optional<QString> m_modelError;
    int m_runningFetches = 0;
    bool m_isReleased = false;
};
