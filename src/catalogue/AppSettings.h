#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

#include "SystemSettings.h"

#include <optional>

class QSettings;

// The user settings: the server's base URL and the two selected model names,
// the zoom of the windows and the interface language. Every assignment is
// written straight through to the preferences store, so nothing needs saving
// at exit.
//
// The machine's system-wide settings supply the URL and the models that the
// user has not chosen; such a default is not written to the user's store, so
// a later change of the system-wide file still reaches the user. A locked
// field always holds the system's value and ignores assignments.
//
// Each assignment emits willChange() before the field takes its new value and
// the field's own changed signal after it. Assigning the value a field already
// holds still notifies and still writes.
//
// Fields may be read from any thread; assignments happen on the main thread.
class AppSettings : public QObject
{
    Q_OBJECT

public:
    static inline const QString defaultOllamaURL = QStringLiteral("http://localhost:11434");

    static inline const QString ollamaURLKey = QStringLiteral("ollamaURL");
    static inline const QString selectedEmbeddingModelKey = QStringLiteral("selectedEmbeddingModel");
    static inline const QString selectedLLMModelKey = QStringLiteral("selectedLLMModel");
    static inline const QString zoomPercentKey = QStringLiteral("zoomPercent");
    static inline const QString languageKey = QStringLiteral("language");

    // The process-wide instance over the user's preferences, created on first
    // use from any thread.
    static AppSettings &shared();

    // Builds an instance over the given store, which must outlive it. Only
    // shared() and tests construct instances.
    explicit AppSettings(QSettings *store, QObject *parent = nullptr);
    AppSettings(QSettings *store, const SystemSettings &system, QObject *parent = nullptr);
    ~AppSettings() override;

    QString ollamaURL() const;
    void setOllamaURL(const QString &url);

    std::optional<QString> selectedEmbeddingModel() const;
    void setSelectedEmbeddingModel(const std::optional<QString> &name);

    std::optional<QString> selectedLLMModel() const;
    void setSelectedLLMModel(const std::optional<QString> &name);

    // Writes pending changes to the preferences file now. Returns why that
    // failed (naming the file), or nothing when the file is up to date.
    std::optional<QString> writeToDisk();

    // True when both model selections are present (an empty name counts).
    bool isConfigured() const;

    const SystemSettings &systemSettings() const { return m_system; }
    // What "Reset" puts into the URL field: the system's URL, else the
    // built-in default.
    QString defaultURL() const;
    bool isServerLocked() const { return m_system.lockServer; }
    // Whether the system-wide file fixes the given model.
    bool isEmbeddingModelLocked() const;
    bool isLLMModelLocked() const;

    // The zoom of every window in percent; 100 when nothing usable is stored.
    int zoomPercent() const;
    void setZoomPercent(int percent);

    // The interface language as a code such as "de"; empty follows the
    // desktop's language.
    QString language() const;
    void setLanguage(const QString &code);

    // Reads the text stored under a key: a stored text as it is, a stored
    // number as its decimal text, anything else as absent.
    static std::optional<QString> readText(const QSettings &store, const QString &key);

Q_SIGNALS:
    void willChange();
    void ollamaURLChanged(const QString &url);
    void selectedEmbeddingModelChanged();
    void selectedLLMModelChanged();
    void zoomPercentChanged(int percent);
    void languageChanged(const QString &code);

private:
    void storeOptional(const QString &key, const std::optional<QString> &value);

    QSettings *const m_store;
    const SystemSettings m_system;
    mutable QMutex m_mutex;
    QString m_ollamaURL;
    std::optional<QString> m_selectedEmbeddingModel;
    std::optional<QString> m_selectedLLMModel;
    int m_zoomPercent = 100;
    QString m_language;
};
