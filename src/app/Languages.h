#pragma once

#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

#include <memory>

class QTranslator;

// The languages the interface is translated into, and the loading of their
// translations. The translations are built into the program as resources
// under ":/i18n"; Qt's own (for its standard buttons and dialogs) come from
// the system's Qt translations when they are installed.
namespace Languages {

struct Language
{
    QString code; // "de"; empty for the desktop's language
    QString nativeName; // the language's name in itself, e.g. "Deutsch"
};

// Every language the interface speaks, each named in itself, in the order the
// picker lists them after "System default".
QList<Language> available();

// The locale a stored choice stands for. An empty or unknown code follows the
// desktop (LANGUAGE, LC_ALL, LC_MESSAGES, LANG): its first language that the
// interface speaks, else English; numbers then keep the desktop's regional
// conventions where its language is the one chosen.
QLocale localeFor(const QString &code, const QLocale &desktop = QLocale::system());

// Whether the interface speaks English now (an English or "C" default
// locale).
bool speaksEnglish();

// A whole percentage as the current language writes it: the number in the
// default locale, then "%" after `englishSeparator` in English ("81%",
// "81 %"), after a no-break space in the other languages ("81 %").
QString percent(qint64 value, const QString &englishSeparator = QString());
// The same for a number already written in the default locale.
QString withPercentSign(const QString &number, const QString &englishSeparator = QString());

// A number with a fixed count of decimals in the default locale: "0.81" in
// English, "0,81" in German.
QString decimal(double value, int decimals);

// A number written in the C locale ("-0.25", "1e-05") in the default
// locale's form: its decimal point and minus sign ("−0,25" in German).
QString localizedNumber(const QString &cNumber);

// Installs the translations of one language at a time into the application.
// Installing one sends every widget a QEvent::LanguageChange, which screens
// answer by rendering their texts again.
class Translator : public QObject
{
    Q_OBJECT

public:
    explicit Translator(QObject *parent = nullptr);
    ~Translator() override;

    // Switches to the language of a stored choice (see localeFor) and makes
    // its locale the default for numbers. Returns the locale now in use.
    QLocale apply(const QString &code);

    // Switches to a translation of the caller's, such as a test's.
    void use(std::unique_ptr<QTranslator> translation, const QLocale &locale);

Q_SIGNALS:
    // After a switch: for objects that are not widgets and so receive no
    // QEvent::LanguageChange of their own.
    void changed();

private:
    std::unique_ptr<QTranslator> m_own;
    std::unique_ptr<QTranslator> m_qt;
};

} // namespace Languages
