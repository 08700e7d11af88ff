#include "Diagnostics.h"

#include <cstdio>

namespace Diagnostics {

void writeLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

QString escapeControlCharacters(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool isControl = u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029;
        if (!isControl) {
            out.append(c);
            continue;
        }
        switch (u) {
        case u'\n': out.append(QLatin1String("\\n")); break;
        case u'\r': out.append(QLatin1String("\\r")); break;
        case u'\t': out.append(QLatin1String("\\t")); break;
        case 0x1B: out.append(QLatin1String("\\e")); break;
        default:
            out.append(QStringLiteral("\\u%1").arg(static_cast<uint>(u), 4, 16, QLatin1Char('0')));
        }
    }
    return out;
}

} // namespace Diagnostics
