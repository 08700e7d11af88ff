#pragma once

#include "catalogue/AppSettings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// Settings over a preferences file of the test's own, so no test touches the
// user's real preferences.
class TestSettings
{
public:
    TestSettings()
        : m_store(std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("prefs.ini")), QSettings::IniFormat))
    {
    }

    // The store, to pre-fill before creating the settings, or to inspect.
    QSettings &store() { return *m_store; }

    // What a system-wide file sets, for the settings created from now on.
    void setSystem(const SystemSettings &system) { m_system = system; }

    // Created on first use over the store.
    AppSettings &settings()
    {
        if (!m_settings)
            m_settings = std::make_unique<AppSettings>(m_store.get(), m_system);
        return *m_settings;
    }

    // A new instance over the same store, as after a restart.
    std::unique_ptr<AppSettings> reopen() { return std::make_unique<AppSettings>(m_store.get(), m_system); }

    QString path() const { return m_dir.filePath(QStringLiteral("prefs.ini")); }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QSettings> m_store;
    SystemSettings m_system;
    std::unique_ptr<AppSettings> m_settings;
};
