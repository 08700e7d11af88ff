#pragma once

#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <optional>

class AppSettings;
class FormSection;
class QLabel;
class QLineEdit;
class QPushButton;
class StatusRow;

// The "General" tab of the Settings window: the Ollama server's base URL,
// validated and stored on "Save", with three example URLs for reference.
//
// The field is reloaded from the settings each time the tab appears; the
// error and confirmation rows are left as they are. A successful save shows a
// confirmation that hides itself a few seconds later; every save schedules
// its own hide, and none is ever cancelled.
class OllamaSettingsView : public QWidget
{
    Q_OBJECT

public:
    // Runs `action` on the main thread after `delay`, unless `context` is gone.
    using Scheduler = std::function<void(std::chrono::milliseconds delay, QObject *context, std::function<void()> action)>;

    static constexpr std::chrono::milliseconds confirmationDuration{3000};
    static constexpr const char *confirmationText = QT_TR_NOOP("Settings saved! Restart the app to apply changes.");
    static constexpr const char *lockedText = QT_TR_NOOP("Set by your school's administrator.");

    // Uses AppSettings::shared().
    explicit OllamaSettingsView(QWidget *parent = nullptr);
    explicit OllamaSettingsView(AppSettings &settings, QWidget *parent = nullptr);

    // Replaces how the confirmation's hide is scheduled (a single-shot timer
    // by default), so that tests control time.
    void setScheduler(Scheduler scheduler);

    QString urlText() const { return m_urlText; }
    bool isShowingSaveConfirmation() const { return m_showingSaveConfirmation; }
    std::optional<QString> errorMessage() const { return m_errorMessage; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void reset();
    void save();
    void render();

    AppSettings &m_settings;
    Scheduler m_scheduler;

    // State.
    QString m_urlText;
    bool m_showingSaveConfirmation = false;
    std::optional<QString> m_errorMessage;

    FormSection *const m_urlSection;
    QLabel *const m_title;
    QLabel *const m_explanation;
    QLineEdit *const m_urlField;
    QPushButton *const m_resetButton;
    StatusRow *const m_errorRow;
    StatusRow *const m_confirmationRow;
    StatusRow *const m_lockedRow;
    QPushButton *const m_saveButton;
    FormSection *const m_examplesSection;
    QList<QLabel *> m_exampleLabels;
};
