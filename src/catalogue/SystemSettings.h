#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What an administrator sets for every user of a machine, in a system-wide
// file "Quillmere/Quillmere.conf" (INI format) under one of the directories
// of XDG_CONFIG_DIRS (/etc/xdg when unset), the first one found winning, as
// for every other XDG configuration file:
//
//   [General]
//   ollamaURL=http://ollama.school.lan:11434
//   selectedEmbeddingModel=nomic-embed-text:latest
//   selectedLLMModel=llama3.2:latest
//   lockServer=true
//   lockModels=false
//
// The URL and models are defaults for users who have not chosen their own.
// lockServer makes the URL the only one used (a user's own is ignored and
// cannot be stored); lockModels does the same for both models. A lock
// without a URL locks the built-in default; lockModels fixes only the
// models the file names.
struct SystemSettings
{
    static inline const QString lockServerKey = QStringLiteral("lockServer");
    static inline const QString lockModelsKey = QStringLiteral("lockModels");

    // The file that was read; empty when none was found.
    QString path;
    std::optional<QString> ollamaURL;
    std::optional<QString> selectedEmbeddingModel;
    std::optional<QString> selectedLLMModel;
    bool lockServer = false;
    bool lockModels = false;

    // The directories searched, most important first.
    static QStringList searchDirectories();
    // Reads the first file found in searchDirectories(); empty settings when
    // there is none.
    static SystemSettings load();
    // Reads the given file.
    static SystemSettings read(const QString &path);

    // Key=value lines for administrators: the file, what it sets and what it
    // locks.
    QString describe() const;
};
