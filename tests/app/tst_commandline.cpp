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
class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storesAllOrNothing_data();
    void storesAllOrNothing();
    void followsTheSchoolsFile_data();
    void followsTheSchoolsFile();
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

    QProcess quillmere;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    quillmere.setProcessEnvironment(environment);
    quillmere.start(QStringLiteral(QUILLMERE_EXECUTABLE), arguments);
    QVERIFY2(quillmere.waitForFinished(60000), qPrintable(quillmere.errorString()));
    const QString out = QString::fromUtf8(quillmere.readAllStandardOutput());
    const QString errors = QString::fromUtf8(quillmere.readAllStandardError());
    QCOMPARE(quillmere.exitStatus(), QProcess::NormalExit);
    QCOMPARE(quillmere.exitCode(), expected.isEmpty() ? 1 : 0);

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
    SystemSettings system;
    system.path = QStringLiteral("/x/q.conf");
    system.ollamaURL = QStringLiteral("http://school:11434");
    system.lockServer = true;
    TestSettings prefs;
    prefs.store().setValue("ollamaURL", "http://own:2");
    prefs.store().sync();

    QCommandLineParser parser;
    PreferenceOptions::addTo(parser);
    QVERIFY(parser.parse(QStringList{QStringLiteral("quillmere")} + arguments));
    const auto outcome = PreferenceOptions::run(parser, [&]() -> AppSettings & { return prefs.settings(); }, system);
    QVERIFY(outcome);
    QCOMPARE(outcome->exitCode, exitCode);
    QVERIFY2((exitCode ? outcome->errors : outcome->output).startsWith(output), qPrintable(outcome->errors));
    // Nothing at all is stored when the server is refused.
    const auto next = prefs.reopen();
    QCOMPARE(prefs.store().value("ollamaURL").toString(), QStringLiteral("http://own:2"));
    const bool storesModel = exitCode == 0 && arguments.contains(QStringLiteral("m"));
    QCOMPARE(next->selectedLLMModel().value_or(QStringLiteral("-")), storesModel ? QStringLiteral("m") : QStringLiteral("-"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
