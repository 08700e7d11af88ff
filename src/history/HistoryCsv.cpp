#include "HistoryCsv.h"

#include <QSaveFile>

namespace HistoryCsv {

namespace {

const QByteArray lineEnd = QByteArrayLiteral("\r\n");

QString isoTime(const QDateTime &time)
{
    if (!time.isValid())
        return {};
    // With the offset written out, so that the time means the same wherever
    // the file is opened.
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

// The column of fields() that holds a number.
constexpr qsizetype valueColumn = 6;

QByteArray row(const QStringList &values)
{
    QStringList quoted;
    quoted.reserve(values.size());
    for (qsizetype i = 0; i < values.size(); ++i)
        quoted.append(i == valueColumn ? field(values.at(i)) : textField(values.at(i)));
    return quoted.join(QLatin1Char(',')).toUtf8() + lineEnd;
}

bool startsFormula(QChar c)
{
    return c == u'=' || c == u'+' || c == u'-' || c == u'@' || c == u'\t' || c == u'\r';
}

// Whether the text is `quotes` or more single quotes, then a character that
// starts a formula.
bool quotesThenFormula(const QString &text, qsizetype quotes)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u'\'')
        ++i;
    return i >= quotes && i < text.size() && startsFormula(text.at(i));
}

// Takes off the mark that textField() adds.
QString unmarked(const QString &value)
{
    return quotesThenFormula(value, 1) ? value.mid(1) : value;
}

} // namespace

QStringList header()
{
    return {QStringLiteral("Time"),        QStringLiteral("Demo"),   QStringLiteral("Model"),
            QStringLiteral("Text"),        QStringLiteral("Second Text"), QStringLiteral("Result"),
            QStringLiteral("Value"),       QStringLiteral("Error")};
}

QStringList fields(const HistoryEntry &entry)
{
    return {isoTime(entry.time),
            entry.demo,
            entry.model,
            entry.texts.value(0),
            entry.texts.value(1),
            entry.isFailure() ? QString() : entry.result,
            entry.isFailure() ? QString() : entry.valueText,
            entry.error.value_or(QString())};
}

QString field(const QString &text)
{
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
        || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!needsQuotes)
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString textField(const QString &text)
{
    return field(quotesThenFormula(text, 0) ? QLatin1Char('\'') + text : text);
}

QByteArray write(const QList<HistoryEntry> &entries)
{
    QByteArray data = row(header());
    for (const HistoryEntry &entry : entries)
        data += row(fields(entry));
    return data;
}

QList<QStringList> read(const QByteArray &data)
{
    const QString text = QString::fromUtf8(data);
    QList<QStringList> rows;
    QStringList current;
    QString value;
    bool quoted = false;
    // Whether anything of the current row has been read, so that a final
    // line end does not make an empty row.
    bool inRow = false;

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    value += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                value += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            inRow = true;
        } else if (c == u',') {
            current.append(unmarked(value));
            value.clear();
            inRow = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            current.append(unmarked(value));
            rows.append(current);
            current.clear();
            value.clear();
            inRow = false;
        } else {
            value += c;
            inRow = true;
        }
    }
    if (inRow) {
        current.append(unmarked(value));
        rows.append(current);
    }
    return rows;
}

std::optional<QString> writeFile(const QString &path, const QList<HistoryEntry> &entries)
{
    return writeBytes(path, write(entries));
}

std::optional<QString> writeBytes(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace HistoryCsv
