#pragma once

#include <QTabWidget>

class AppSettings;

// The Settings window's content: "General" (server URL) and "Model" tabs.
class SettingsView : public QTabWidget
{
    Q_OBJECT

public:
    explicit SettingsView(QWidget *parent = nullptr);
    explicit SettingsView(AppSettings &settings, QWidget *parent = nullptr);
};
