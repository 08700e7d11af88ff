#pragma once

#include "catalogue/ModelRecords.h"

#include <QList>
#include <QLocale>
#include <QString>

// Which models of the server's list are offered for each role, and how a
// model's size is written next to its name.
namespace ModelChoices {

// The models that can turn text into vectors (embedding flag set), in list
// order.
QList<OllamaModel> embeddingModels(const QList<OllamaModel> &models);

// The text-only language models (neither vision nor embedding), in list
// order. A model whose capabilities could not be fetched has every flag false
// and therefore counts as a language model.
QList<OllamaModel> llmModels(const QList<OllamaModel> &models);

// The first model of the list with exactly this name, if any.
const OllamaModel *findModel(const QList<OllamaModel> &models, const QString &name);

// A size in bytes in decimal units (a thousand bytes to the kilobyte), with
// two decimals below ten of the unit and one from ten on: "999 bytes",
// "4.66 GB", "274.3 MB". A value that would round up to a thousand of its
// unit is written in the next unit ("1.00 GB", not "1000.0 MB").
QString formattedModelSize(qint64 bytes, const QLocale &locale);

} // namespace ModelChoices
