#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The built quillmere executable, run as a script would run it: the options
// that store preferences, with the preferences under a temporary
// XDG_CONFIG_HOME, and no display at all, so that any attempt to open a
// window fails the run.
namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString errors;
};

// Runs quillmere with `arguments`, its preferences under `config` and the
// system-wide folders `systemDirs` (none when empty).
Run runQuillmere(const QStringList &arguments, const QString &home, const QString &config,
                 const QString &systemDirs = QString(), const QString &desktopLanguage = QString())
{
    QProcess quillmere;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("XDG_CONFIG_DIRS"),
                       systemDirs.isEmpty() ? home + QStringLiteral("/none") : systemDirs);
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("LANGUAGE"), desktopLanguage);
    quillmere.setProcessEnvironment(environment);
    quillmere.start(QStringLiteral(QUILLMERE_EXECUTABLE), arguments);
    if (!quillmere.waitForFinished(60000) || quillmere.exitStatus() != QProcess::NormalExit)
        return {-1, QString(), quillmere.errorString()};
    return {quillmere.exitCode(), QString::fromUtf8(quillmere.readAllStandardOutput()),
            QString::fromUtf8(quillmere.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storesAllOrNothing_data();
    void storesAllOrNothing();
    void followsTheSchoolsFile_data();
    void followsTheSchoolsFile();
    void helpSpeaksTheChosenLanguage_data();
    void helpSpeaksTheChosenLanguage();
};

void TestCommandLine::storesAllOrNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected"); // URL, embedding model, language model; empty: nothing stored
    QTest::addColumn<QString>("message");      // on standard error, or printed with --show-settings
    QTest::addColumn<bool>("folderIsAFile");   // the configuration folder is a file

    const QStringList all{"--set-server", "http://127.0.0.1:11434", "--set-embedding-model",
                          "standin-embedding:latest", "--set-language-model", "standin-sentiment:latest"};
    QTest::newRow("all three") << all << QStringList{all[1], all[3], all[5]} << QString() << false;
    QTest::newRow("server in the = form, spaces trimmed")
        << QStringList{"--set-server=  https://ollama.lan:8080  "}
        << QStringList{"https://ollama.lan:8080", "old-embed", "old-llm"} << QString() << false;
    QTest::newRow("one model, then shown")
        << QStringList{"--set-language-model", "llama3.2", "--show-settings"}
        << QStringList{"http://localhost:9999", "old-embed", "llama3.2"}
        << "ollamaURL=http://localhost:9999\nselectedEmbeddingModel=old-embed\nselectedLLMModel=llama3.2\n" << false;

    const QString noScheme = QStringLiteral("URL must start with http:// or https://");
    const struct { const char *tag; int index; const char *value; QString message; } bad[] = {
        {"no scheme", 1, "localhost:11434", noScheme},
        {"scheme in capitals", 1, "HTTP://localhost:11434", noScheme},
        {"no host", 1, "http://", QStringLiteral("Invalid URL format")},
        {"empty embedding model", 3, "", QStringLiteral("--set-embedding-model: the model name is empty")},
        {"blank language model", 5, " \t", QStringLiteral("--set-language-model: the model name is empty")},
    };
    for (const auto &row : bad) {
        QStringList arguments = all;
        arguments[row.index] = QString::fromLatin1(row.value);
        QTest::newRow(row.tag) << arguments << QStringList() << row.message << false;
    }
    QTest::newRow("refused in the = form") << QStringList{"--set-server=ftp://x"} << QStringList() << noScheme
                                           << false;
    // The values are valid, but the preferences file cannot be written.
    QTest::newRow("unwritable preferences") << QStringList{"--set-server=http://127.0.0.1:1"} << QStringList()
                                            << "could not be saved" << true;
}

void TestCommandLine::storesAllOrNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    QFETCH(bool, folderIsAFile);

    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    const QString prefsPath = config + QStringLiteral("/Quillmere/Quillmere.conf");
    if (folderIsAFile) {
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        QSettings prefs(prefsPath, QSettings::IniFormat);
        prefs.setValue("ollamaURL", "http://localhost:9999");
        prefs.setValue("selectedEmbeddingModel", "old-embed");
        prefs.setValue("selectedLLMModel", "old-llm");
    }
    QFile file(prefsPath);
    const QByteArray before = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.close();

    const Run run = runQuillmere(arguments, home.path(), config);
    const QString &out = run.out;
    const QString &errors = run.errors;
    QCOMPARE(run.exitCode, expected.isEmpty() ? 1 : 0);

    if (expected.isEmpty()) {
        QVERIFY2(errors.contains(message), qPrintable(errors));
        QVERIFY(!file.open(QIODevice::ReadOnly) || file.readAll() == before);
        return;
    }
    QCOMPARE(errors, QString());
    QCOMPARE(out, message);
    // What the next start reads.
    QSettings stored(prefsPath, QSettings::IniFormat);
    QCOMPARE((QStringList{stored.value("ollamaURL").toString(), stored.value("selectedEmbeddingModel").toString(),
                          stored.value("selectedLLMModel").toString()}),
             expected);
}

void TestCommandLine::followsTheSchoolsFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // standard output, or the start of standard error on failure
    QTest::newRow("server refused") << QStringList{"--set-server", "http://127.0.0.1:1", "--set-language-model", "m"}
                                    << 1 << "quillmere: --set-server: set by your school's administrator in /x/q.conf\n";
    QTest::newRow("models still free") << QStringList{"--set-language-model", "m"} << 0 << QString();
    QTest::newRow("what the file sets") << QStringList{"--print-system-settings"} << 0
                                        << "file=/x/q.conf\nollamaURL=http://school:11434\nlockServer=true\n"
                                           "lockModels=false\n";
}

void TestCommandLine::followsTheSchoolsFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    const QString prefsPath = config + QStringLiteral("/Quillmere/Quillmere.conf");
    const QString schoolFile = home.filePath(QStringLiteral("xdg/Quillmere/Quillmere.conf"));
    {
        QSettings school(schoolFile, QSettings::IniFormat);
        school.setValue("ollamaURL", "http://school:11434");
        school.setValue("lockServer", true);
        QSettings prefs(prefsPath, QSettings::IniFormat);
        prefs.setValue("ollamaURL", "http://own:2");
    }
    output.replace(QStringLiteral("/x/q.conf"), schoolFile);

    const Run run = runQuillmere(arguments, home.path(), config, home.filePath(QStringLiteral("xdg")));
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((exitCode ? run.errors : run.out).startsWith(output), qPrintable(run.errors + run.out));
    // Nothing at all is stored when the server is refused; the user's own URL is kept.
    const QSettings stored(prefsPath, QSettings::IniFormat);
    QCOMPARE(stored.value("ollamaURL").toString(), QStringLiteral("http://own:2"));
    const bool storesModel = exitCode == 0 && arguments.contains(QStringLiteral("m"));
    QCOMPARE(stored.value("selectedLLMModel").toString(), storesModel ? QStringLiteral("m") : QString());
}

void TestCommandLine::helpSpeaksTheChosenLanguage_data()
{
    QTest::addColumn<QString>("desktop"); // LANGUAGE
    QTest::addColumn<QString>("stored");  // the Language preference
    QTest::addColumn<QString>("description");
    const QString english = QStringLiteral("Interactive demos of transformer language models, driven by an Ollama server.");
    QTest::newRow("desktop in German")
        << "de" << QString() << "Interaktive Demos zu Transformer-Sprachmodellen, betrieben mit einem Ollama-Server.";
    QTest::newRow("chosen French over a German desktop")
        << "de" << "fr" << "Démos interactives des modèles de langage transformeurs, pilotées par un serveur Ollama.";
    QTest::newRow("desktop in Spanish, then German")
        << "es:de" << QString()
        << "Demos interactivas de modelos de lenguaje transformer, que funcionan con un servidor Ollama.";
    QTest::newRow("a desktop language not spoken") << "ja" << QString() << english;
    QTest::newRow("English chosen on a German desktop") << "de" << "en" << english;
}

// --help, like the windows, speaks the chosen language, else the desktop's.
void TestCommandLine::helpSpeaksTheChosenLanguage()
{
    QFETCH(QString, desktop);
    QFETCH(QString, stored);
    QFETCH(QString, description);

    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    if (!stored.isEmpty())
        QSettings(config + QStringLiteral("/Quillmere/Quillmere.conf"), QSettings::IniFormat).setValue("language", stored);
    const Run run = runQuillmere({QStringLiteral("--help")}, home.path(), config, QString(), desktop);
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains(description), qPrintable(run.out));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
