#pragma once

#include <QChar>
#include <QString>

// The character sets that user texts and model answers are trimmed by.
namespace TextTrimming {

// White space: Unicode general category Zs plus the tab.
bool isWhitespace(QChar c);
// Line breaks: U+000A to U+000D, NEXT LINE, LINE SEPARATOR, PARAGRAPH SEPARATOR.
bool isLineBreak(QChar c);

// Trims white space and line breaks from both ends.
QString trimmedWhitespaceAndLineBreaks(const QString &text);
// Trims white space only (line breaks stay).
QString trimmedWhitespace(const QString &text);

// Trims every character for which the predicate holds from both ends.
template <typename Predicate>
QString trimmedBy(const QString &text, Predicate shouldTrim)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && shouldTrim(text.at(begin)))
        ++begin;
    while (end > begin && shouldTrim(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace TextTrimming
