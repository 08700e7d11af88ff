#include "Languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace Languages {

QList<Language> available()
{
    return {
        {QStringLiteral("de"), QStringLiteral("Deutsch")},
        {QStringLiteral("fr"), QStringLiteral("Français")},
        {QStringLiteral("es"), QStringLiteral("Español")},
        {QStringLiteral("en"), QStringLiteral("English")},
    };
}

namespace {

bool speaks(QLocale::Language language)
{
    for (const Language &known : available()) {
        if (QLocale(known.code).language() == language)
            return true;
    }
    return false;
}

} // namespace

QLocale localeFor(const QString &code, const QLocale &desktop)
{
    const QLocale chosen(code);
    const bool known = !code.isEmpty() && speaks(chosen.language());
    if (known)
        return desktop.language() == chosen.language() ? desktop : chosen;
    // The desktop's languages in its order of preference.
    for (const QString &name : desktop.uiLanguages()) {
        const QLocale candidate(name);
        if (speaks(candidate.language()))
            return candidate.language() == desktop.language() ? desktop : candidate;
    }
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

bool speaksEnglish()
{
    const QLocale::Language language = QLocale().language();
    return language == QLocale::English || language == QLocale::C;
}

QString withPercentSign(const QString &number, const QString &englishSeparator)
{
    return number + (speaksEnglish() ? englishSeparator : QString(QChar(0x00A0))) + QLatin1Char('%');
}

QString percent(qint64 value, const QString &englishSeparator)
{
    return withPercentSign(QLocale().toString(value), englishSeparator);
}

QString decimal(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString localizedNumber(const QString &cNumber)
{
    const QLocale locale;
    QString text = cNumber;
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    if (text.startsWith(QLatin1Char('-')))
        text.replace(0, 1, locale.negativeSign());
    return text;
}

Translator::Translator(QObject *parent)
    : QObject(parent)
{
}

Translator::~Translator()
{
    // Numbers go back to the desktop's conventions with the translations.
    QLocale::setDefault(QLocale::system());
    if (m_own)
        QCoreApplication::removeTranslator(m_own.get());
    if (m_qt)
        QCoreApplication::removeTranslator(m_qt.get());
}

QLocale Translator::apply(const QString &code)
{
    const QLocale locale = localeFor(code);
    auto own = std::make_unique<QTranslator>();
    // English has a translation too: it holds only the plural forms, so
    // that a count of one reads "1 sentence".
    const QString language = QLocale::languageToCode(locale.language());
    if (!own->load(QStringLiteral(":/i18n/quillmere_%1.qm").arg(language)))
        own.reset();
    use(std::move(own), locale);
    return locale;
}

void Translator::use(std::unique_ptr<QTranslator> own, const QLocale &locale)
{
    QLocale::setDefault(locale);
    if (m_qt)
        QCoreApplication::removeTranslator(m_qt.get());
    m_qt.reset();
    if (locale.language() != QLocale::English) {
        auto qt = std::make_unique<QTranslator>();
        if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            m_qt = std::move(qt);
            QCoreApplication::installTranslator(m_qt.get());
        }
    }
    // The new one goes in before the old one leaves, so that screens
    // rendering on the language change never see untranslated texts. Each
    // installation and removal sends the language change on to every widget.
    std::unique_ptr<QTranslator> old = std::move(m_own);
    m_own = std::move(own);
    if (m_own)
        QCoreApplication::installTranslator(m_own.get());
    if (old)
        QCoreApplication::removeTranslator(old.get());
    Q_EMIT changed();
}

} // namespace Languages
