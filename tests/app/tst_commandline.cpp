#include "TestSettings.h"
#include "app/PreferenceOptions.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTest>

// The stored preferences as the next start would read them.
static QStringList stored(TestSettings &prefs)
{
    const auto reopened = prefs.reopen();
    return {reopened->ollamaURL(), reopened->selectedEmbeddingModel().value_or(QStringLiteral("(none)")),
            reopened->selectedLLMModel().value_or(QStringLiteral("(none)"))};
}

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storesAllOrNothing_data();
    void storesAllOrNothing();
};

void TestCommandLine::storesAllOrNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected"); // URL, embedding model, language model; empty: nothing stored
    QTest::addColumn<QString>("message");      // on standard error, or printed with --show-settings

    const QString url = QStringLiteral("http://127.0.0.1:11434");
    const QStringList all{QStringLiteral("--set-server"), url, QStringLiteral("--set-embedding-model"),
                          QStringLiteral("standin-embedding:latest"), QStringLiteral("--set-language-model"),
                          QStringLiteral("standin-sentiment:latest")};
    QTest::newRow("all three") << all << QStringList{url, "standin-embedding:latest", "standin-sentiment:latest"}
                               << QString();
    QTest::newRow("server only, spaces trimmed") << QStringList{"--set-server=  https://ollama.lan:8080  "}
                                                  << QStringList{"https://ollama.lan:8080", "old-embed", "old-llm"}
                                                  << QString();
    QTest::newRow("one model, then shown")
        << QStringList{"--set-language-model", "llama3.2", "--show-settings"}
        << QStringList{"http://localhost:9999", "old-embed", "llama3.2"}
        << "ollamaURL=http://localhost:9999\nselectedEmbeddingModel=old-embed\nselectedLLMModel=llama3.2\n";

    auto bad = [&](const char *tag, int index, const QString &value, const QString &message) {
        QStringList arguments = all;
        arguments[index] = value;
        QTest::newRow(tag) << arguments << QStringList() << message;
    };
    bad("no scheme", 1, QStringLiteral("localhost:11434"), QStringLiteral("URL must start with http:// or https://"));
    bad("scheme in capitals", 1, QStringLiteral("HTTP://localhost:11434"),
        QStringLiteral("URL must start with http:// or https://"));
    bad("no host", 1, QStringLiteral("http://"), QStringLiteral("Invalid URL format"));
    bad("empty URL", 1, QString(), QStringLiteral("URL must start with http:// or https://"));
    bad("empty embedding model", 3, QString(), QStringLiteral("--set-embedding-model: the model name is empty"));
    bad("blank language model", 5, QStringLiteral(" \t"), QStringLiteral("--set-language-model: the model name is empty"));
}

void TestCommandLine::storesAllOrNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);

    TestSettings prefs;
    prefs.store().setValue(QStringLiteral("ollamaURL"), QStringLiteral("http://localhost:9999"));
    prefs.store().setValue(QStringLiteral("selectedEmbeddingModel"), QStringLiteral("old-embed"));
    prefs.store().setValue(QStringLiteral("selectedLLMModel"), QStringLiteral("old-llm"));
    prefs.store().sync();
    QFile file(prefs.path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QCommandLineParser parser;
    PreferenceOptions::addTo(parser);
    QVERIFY2(parser.parse(QStringList{QStringLiteral("quillmere")} + arguments), qPrintable(parser.errorText()));
    bool opened = false;
    const auto outcome = PreferenceOptions::run(parser, [&]() -> AppSettings & {
        opened = true;
        return prefs.settings();
    });
    QVERIFY(outcome);
    prefs.store().sync();

    if (expected.isEmpty()) {
        QCOMPARE(outcome->exitCode, 1);
        QVERIFY2(outcome->errors.contains(message), qPrintable(outcome->errors));
        QVERIFY(!opened);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        return;
    }
    QCOMPARE(outcome->exitCode, 0);
    QCOMPARE(outcome->errors, QString());
    QCOMPARE(outcome->output, message);
    QCOMPARE(stored(prefs), expected);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
