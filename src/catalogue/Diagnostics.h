#pragma once

#include <QString>

// Diagnostic lines about model capabilities, written to standard output.
namespace Diagnostics {

// Writes the line followed by a newline, as UTF-8, and flushes.
void writeLine(const QString &line);

// Makes text from a server safe to print: control characters (C0, DEL, C1)
// and the line and paragraph separators are written as escapes (\n, \t, \e,
// \u0085, ...), so a server cannot add lines or terminal escape sequences to
// standard output. Ordinary text, non-ASCII letters and emoji included, is
// returned unchanged.
QString escapeControlCharacters(const QString &text);

} // namespace Diagnostics
