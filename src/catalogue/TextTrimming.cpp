#include "TextTrimming.h"

namespace TextTrimming {

bool isWhitespace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isLineBreak(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x000A && u <= 0x000D) || u == 0x0085 || u == 0x2028 || u == 0x2029;
}

QString trimmedWhitespaceAndLineBreaks(const QString &text)
{
    return trimmedBy(text, [](QChar c) { return isWhitespace(c) || isLineBreak(c); });
}

QString trimmedWhitespace(const QString &text)
{
    return trimmedBy(text, isWhitespace);
}

} // namespace TextTrimming
