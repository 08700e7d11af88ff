#pragma once

#include <QTabWidget>

class AppSettings;
class ModelSettingsView;
class OllamaSettingsView;

// The Settings window's content: a tab container of fixed size with the
// "General" tab (server URL) and the "Model" tab (model choices). The first
// tab shows when the window opens.
class SettingsView : public QTabWidget
{
    Q_OBJECT

public:
    explicit SettingsView(QWidget *parent = nullptr);
    explicit SettingsView(AppSettings &settings, QWidget *parent = nullptr);

    OllamaSettingsView *generalTab() const { return m_general; }
    ModelSettingsView *modelTab() const { return m_model; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyIcons();
    void applyZoomedSize();

    OllamaSettingsView *const m_general;
    ModelSettingsView *const m_model;
};
