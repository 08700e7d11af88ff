#include "SettingsView.h"

#include "catalogue/AppSettings.h"

SettingsView::SettingsView(QWidget *parent)
    : SettingsView(AppSettings::shared(), parent)
{
}

SettingsView::SettingsView(AppSettings &, QWidget *parent)
    : QTabWidget(parent)
{
    setFixedSize(600, 500);
    addTab(new QWidget, QStringLiteral("General"));
    addTab(new QWidget, QStringLiteral("Model"));
}
