#pragma once

#include "SessionHistory.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The session history as comma-separated values: a header row, then one row
// per entry; UTF-8, CRLF line ends, and a field quoted when it holds a comma,
// a double quote, a CR or an LF (quotes inside doubled).
//
// A spreadsheet runs a cell that starts with "=", "+", "-", "@", a tab or a
// carriage return as a formula. Text cells that start so are written with a
// single quote in front ("'=1+1"), which spreadsheets take as "this is text";
// number cells are written as they are. So that the reader can take the mark
// off again without guessing, a text that already starts with quotes followed
// by one of those characters ("'=x") gets one more quote too: the reader
// removes exactly one leading quote from every field that starts with one or
// more quotes followed by one of those characters, and so reads back exactly
// what was written.
namespace HistoryCsv {

// "Time", "Demo", "Model", "Text", "Second Text", "Result", "Value", "Error".
QStringList header();

// One entry's fields: the time in ISO 8601 with its UTC offset, the demo's
// title, the model, both texts in full (the second empty for sentiment), the
// result in words, its number (the score, or the similarity from 0 to 1),
// and the error line (empty for a result; result and number empty for a
// failure).
QStringList fields(const HistoryEntry &entry);

// One field, quoted only when it has to be; for numbers and other texts that
// cannot start like a formula.
QString field(const QString &text);
// A text field: marked with a leading quote when it could start a formula
// (see above), then quoted when it has to be.
QString textField(const QString &text);

// The whole file: header row and one row per entry, in the given order.
QByteArray write(const QList<HistoryEntry> &entries);

// Reads comma-separated values back into rows of fields: quoted fields may
// hold commas, doubled quotes and line breaks; rows end at CRLF, a lone LF or
// a lone CR. A final line end adds no empty row. The formula mark is taken
// off as described above.
QList<QStringList> read(const QByteArray &data);

// Writes the file at `path` in one go (the file is replaced only once it is
// complete). Returns the reason on failure, nothing on success.
std::optional<QString> writeFile(const QString &path, const QList<HistoryEntry> &entries);

// Writes any bytes the same way: the file at `path` is replaced only once
// they are all written, so a failed save leaves the old file as it was.
std::optional<QString> writeBytes(const QString &path, const QByteArray &data);

} // namespace HistoryCsv
