#include "TestSettings.h"
#include "catalogue/AppSettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QObject>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <latch>
#include <thread>
#include <vector>

namespace {

enum class Field { url, embedding, llm };

QString keyOf(Field field)
{
    switch (field) {
    case Field::url: return AppSettings::ollamaURLKey;
    case Field::embedding: return AppSettings::selectedEmbeddingModelKey;
    case Field::llm: return AppSettings::selectedLLMModelKey;
    }
    return {};
}

std::optional<QString> valueOf(const AppSettings &settings, Field field)
{
    switch (field) {
    case Field::url: return settings.ollamaURL();
    case Field::embedding: return settings.selectedEmbeddingModel();
    case Field::llm: return settings.selectedLLMModel();
    }
    return {};
}

void assign(AppSettings &settings, Field field, const std::optional<QString> &value)
{
    switch (field) {
    case Field::url: settings.setOllamaURL(value.value_or(QString())); break;
    case Field::embedding: settings.setSelectedEmbeddingModel(value); break;
    case Field::llm: settings.setSelectedLLMModel(value); break;
    }
}

// Data tables hold an optional text as a QVariant: invalid means absent.
std::optional<QString> fromVariant(const QVariant &value)
{
    return value.isValid() ? std::optional<QString>(value.toString()) : std::nullopt;
}

QString describe(const std::optional<QString> &value)
{
    return value ? QLatin1Char('"') + *value + QLatin1Char('"') : QStringLiteral("absent");
}

std::optional<QString> storedText(QSettings &store, const QString &key)
{
    return store.contains(key) ? std::optional<QString>(store.value(key).toString()) : std::nullopt;
}

} // namespace

Q_DECLARE_METATYPE(Field)

class TestAppSettings : public QObject
{
    Q_OBJECT

public:
    explicit TestAppSettings(const QString &configHome)
        : m_configHome(configHome)
    {
    }

private Q_SLOTS:
    void emptyStore();
    void readsStoredValues_data();
    void readsStoredValues();
    void writesThrough_data();
    void writesThrough();
    void constructionKeepsStoredSelections();
    void isConfigured_data();
    void isConfigured();
    void notifiesAroundEachAssignment_data();
    void notifiesAroundEachAssignment();
    void sameValueStillNotifiesAndWrites_data();
    void sameValueStillNotifiesAndWrites();
    void sharedIsOneMainThreadInstance();

private:
    const QString m_configHome;
};

void TestAppSettings::emptyStore()
{
    TestSettings prefs;
    AppSettings &settings = prefs.settings();
    QCOMPARE(settings.ollamaURL(), QStringLiteral("http://localhost:11434"));
    QVERIFY(!settings.selectedEmbeddingModel().has_value());
    QVERIFY(!settings.selectedLLMModel().has_value());
    QVERIFY(!settings.isConfigured());

    // The default URL is not written back by construction, and nothing else is.
    prefs.store().sync();
    QCOMPARE(prefs.store().allKeys(), QStringList());
    QFile file(prefs.path());
    if (file.open(QIODevice::ReadOnly))
        QVERIFY(!file.readAll().contains("ollamaURL"));
}

void TestAppSettings::readsStoredValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("throughFile");
    QTest::addColumn<QVariant>("expected");

    struct Row
    {
        const char *name;
        QString key;
        QVariant stored;
        QVariant expected;
    };
    const QString url = AppSettings::ollamaURLKey;
    const QString llm = AppSettings::selectedLLMModelKey;
    const QString embedding = AppSettings::selectedEmbeddingModelKey;
    const QString defaultURL = QStringLiteral("http://localhost:11434");
    const std::vector<Row> rows{
        {"URL text", url, QStringLiteral("http://gpu-box:11434"), QStringLiteral("http://gpu-box:11434")},
        {"empty URL kept", url, QString(QLatin1String("")), QString(QLatin1String(""))},
        {"malformed URL kept", url, QStringLiteral("not a url"), QStringLiteral("not a url")},
        {"URL stored as a number", url, 11434, QStringLiteral("11434")},
        {"URL stored as a list", url, QStringList{QStringLiteral("a"), QStringLiteral("b")}, defaultURL},
        {"model name", llm, QStringLiteral("llama3.2:latest"), QStringLiteral("llama3.2:latest")},
        {"empty model name", llm, QString(QLatin1String("")), QString(QLatin1String(""))},
        {"model stored as an integer", llm, 42, QStringLiteral("42")},
        {"model stored as a 64-bit integer", embedding, qlonglong(9007199254740993LL),
         QStringLiteral("9007199254740993")},
        {"model stored as a fraction", embedding, 1.5, QStringLiteral("1.5")},
        {"model stored as a list", embedding, QStringList{QStringLiteral("x")}, QVariant()},
        {"model stored as bytes", llm, QByteArray("\x01\x02"), QVariant()},
        {"model stored as a map", llm, QVariantMap{{QStringLiteral("a"), 1}}, QVariant()},
    };
    for (const Row &row : rows) {
        QTest::addRow("%s (in memory)", row.name) << row.key << row.stored << false << row.expected;
        QTest::addRow("%s (from file)", row.name) << row.key << row.stored << true << row.expected;
    }
}

void TestAppSettings::readsStoredValues()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(bool, throughFile);
    QFETCH(QVariant, expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("prefs.ini"));
    auto store = std::make_unique<QSettings>(path, QSettings::IniFormat);
    store->setValue(key, stored);
    if (throughFile) {
        // As after a restart: the value comes back from the file's text.
        store.reset();
        store = std::make_unique<QSettings>(path, QSettings::IniFormat);
    }

    AppSettings settings(store.get());
    const std::optional<QString> read = key == AppSettings::ollamaURLKey ? settings.ollamaURL()
        : key == AppSettings::selectedLLMModelKey                       ? settings.selectedLLMModel()
                                                                        : settings.selectedEmbeddingModel();
    QCOMPARE(describe(read), describe(fromVariant(expected)));
}

void TestAppSettings::writesThrough_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("URL") << Field::url << QVariant(QStringLiteral("http://example.org:8080"));
    QTest::newRow("empty URL") << Field::url << QVariant(QString(QLatin1String("")));
    QTest::newRow("malformed URL") << Field::url << QVariant(QStringLiteral("localhost 11434"));
    QTest::newRow("URL with non-ASCII host") << Field::url << QVariant(QStringLiteral("http://b\u00FCcher.example"));
    QTest::newRow("embedding name") << Field::embedding << QVariant(QStringLiteral("nomic-embed-text:latest"));
    QTest::newRow("empty embedding name") << Field::embedding << QVariant(QString(QLatin1String("")));
    QTest::newRow("embedding cleared") << Field::embedding << QVariant();
    QTest::newRow("language model name") << Field::llm << QVariant(QStringLiteral("llama3.2"));
    QTest::newRow("language model name with ini syntax")
        << Field::llm << QVariant(QStringLiteral("a=b; [c], \"d\" \\e"));
    QTest::newRow("language model cleared") << Field::llm << QVariant();
}

void TestAppSettings::writesThrough()
{
    QFETCH(Field, field);
    QFETCH(QVariant, value);
    const std::optional<QString> assigned = fromVariant(value);

    TestSettings prefs;
    // Something stored before, so clearing has a key to remove.
    prefs.store().setValue(keyOf(field), QStringLiteral("previous"));
    AppSettings &settings = prefs.settings();

    assign(settings, field, assigned);
    QCOMPARE(describe(valueOf(settings, field)), describe(assigned));
    QCOMPARE(describe(storedText(prefs.store(), keyOf(field))), describe(assigned));

    // Only the three keys ever appear.
    const QStringList known{AppSettings::ollamaURLKey, AppSettings::selectedEmbeddingModelKey,
                            AppSettings::selectedLLMModelKey};
    for (const QString &key : prefs.store().allKeys())
        QVERIFY2(known.contains(key), qPrintable(key));

    // A new instance over the same (synced) store reads the value back.
    prefs.store().sync();
    QSettings reread(prefs.path(), QSettings::IniFormat);
    AppSettings reopened(&reread);
    QCOMPARE(describe(valueOf(reopened, field)), describe(assigned));
}

void TestAppSettings::constructionKeepsStoredSelections()
{
    TestSettings prefs;
    prefs.store().setValue(AppSettings::selectedLLMModelKey, QStringLiteral("llama3.2"));
    prefs.store().setValue(AppSettings::selectedEmbeddingModelKey, 7);
    AppSettings &settings = prefs.settings();
    QCOMPARE(describe(settings.selectedLLMModel()), QStringLiteral("\"llama3.2\""));
    QCOMPARE(describe(settings.selectedEmbeddingModel()), QStringLiteral("\"7\""));
    QVERIFY(settings.isConfigured());
    // Construction writes the selections back as text, and still leaves the URL alone.
    QCOMPARE(prefs.store().value(AppSettings::selectedEmbeddingModelKey), QVariant(QStringLiteral("7")));
    QVERIFY(!prefs.store().contains(AppSettings::ollamaURLKey));
}

void TestAppSettings::isConfigured_data()
{
    QTest::addColumn<QVariant>("llm");
    QTest::addColumn<QVariant>("embedding");
    QTest::addColumn<bool>("configured");

    const QVariant absent;
    const QVariant empty = QString(QLatin1String(""));
    const QVariant name = QStringLiteral("m");
    QTest::newRow("neither") << absent << absent << false;
    QTest::newRow("language model only") << name << absent << false;
    QTest::newRow("embedding model only") << absent << name << false;
    QTest::newRow("both") << name << name << true;
    QTest::newRow("both empty names") << empty << empty << true;
    QTest::newRow("empty and absent") << empty << absent << false;
}

void TestAppSettings::isConfigured()
{
    QFETCH(QVariant, llm);
    QFETCH(QVariant, embedding);
    QFETCH(bool, configured);

    TestSettings prefs;
    AppSettings &settings = prefs.settings();
    settings.setSelectedLLMModel(fromVariant(llm));
    settings.setSelectedEmbeddingModel(fromVariant(embedding));
    QCOMPARE(settings.isConfigured(), configured);
    // The same holds for an instance that reads the store afresh.
    QCOMPARE(prefs.reopen()->isConfigured(), configured);
}

void TestAppSettings::notifiesAroundEachAssignment_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QVariant>("before");
    QTest::addColumn<QVariant>("after");

    QTest::newRow("URL") << Field::url << QVariant(QStringLiteral("http://a:1")) << QVariant(QStringLiteral("http://b:2"));
    QTest::newRow("embedding set") << Field::embedding << QVariant() << QVariant(QStringLiteral("nomic"));
    QTest::newRow("embedding cleared") << Field::embedding << QVariant(QStringLiteral("nomic")) << QVariant();
    QTest::newRow("language model set") << Field::llm << QVariant(QStringLiteral("a")) << QVariant(QStringLiteral("b"));
    QTest::newRow("language model cleared") << Field::llm << QVariant(QStringLiteral("a")) << QVariant();
}

void TestAppSettings::notifiesAroundEachAssignment()
{
    QFETCH(Field, field);
    QFETCH(QVariant, before);
    QFETCH(QVariant, after);

    TestSettings prefs;
    AppSettings &settings = prefs.settings();
    assign(settings, field, fromVariant(before));

    // Each entry: the signal, the field's value and the stored value at the
    // moment the signal arrives.
    QStringList events;
    auto record = [&](const char *signal) {
        events.append(QStringLiteral("%1 field=%2 stored=%3")
                          .arg(QLatin1String(signal), describe(valueOf(settings, field)),
                               describe(storedText(prefs.store(), keyOf(field)))));
    };
    connect(&settings, &AppSettings::willChange, this, [&] { record("willChange"); });
    connect(&settings, &AppSettings::ollamaURLChanged, this, [&] { record("ollamaURLChanged"); });
    connect(&settings, &AppSettings::selectedEmbeddingModelChanged, this,
            [&] { record("selectedEmbeddingModelChanged"); });
    connect(&settings, &AppSettings::selectedLLMModelChanged, this, [&] { record("selectedLLMModelChanged"); });
    QSignalSpy urlSpy(&settings, &AppSettings::ollamaURLChanged);

    assign(settings, field, fromVariant(after));

    const char *changed = field == Field::url ? "ollamaURLChanged"
        : field == Field::embedding           ? "selectedEmbeddingModelChanged"
                                              : "selectedLLMModelChanged";
    const QString old = describe(fromVariant(before));
    const QString now = describe(fromVariant(after));
    QCOMPARE(events,
             QStringList({QStringLiteral("willChange field=%1 stored=%1").arg(old),
                          QStringLiteral("%1 field=%2 stored=%2").arg(QLatin1String(changed), now)}));
    if (field == Field::url) {
        QCOMPARE(urlSpy.size(), 1);
        QCOMPARE(urlSpy.first().first().toString(), after.toString());
    }
}

void TestAppSettings::sameValueStillNotifiesAndWrites_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("URL") << Field::url << QVariant(QStringLiteral("http://a:1"));
    QTest::newRow("embedding name") << Field::embedding << QVariant(QStringLiteral("nomic"));
    QTest::newRow("embedding absent") << Field::embedding << QVariant();
    QTest::newRow("language model name") << Field::llm << QVariant(QStringLiteral("a"));
    QTest::newRow("language model absent") << Field::llm << QVariant();
}

void TestAppSettings::sameValueStillNotifiesAndWrites()
{
    QFETCH(Field, field);
    QFETCH(QVariant, value);
    const std::optional<QString> same = fromVariant(value);

    TestSettings prefs;
    AppSettings &settings = prefs.settings();
    assign(settings, field, same);

    // Change the store behind the instance's back; the repeated assignment
    // must write again and so put it right.
    if (same)
        prefs.store().remove(keyOf(field));
    else
        prefs.store().setValue(keyOf(field), QStringLiteral("stray"));

    QSignalSpy willChange(&settings, &AppSettings::willChange);
    QSignalSpy urlChanged(&settings, &AppSettings::ollamaURLChanged);
    QSignalSpy embeddingChanged(&settings, &AppSettings::selectedEmbeddingModelChanged);
    QSignalSpy llmChanged(&settings, &AppSettings::selectedLLMModelChanged);

    assign(settings, field, same);

    QCOMPARE(willChange.size(), 1);
    QCOMPARE(urlChanged.size(), field == Field::url ? 1 : 0);
    QCOMPARE(embeddingChanged.size(), field == Field::embedding ? 1 : 0);
    QCOMPARE(llmChanged.size(), field == Field::llm ? 1 : 0);
    QCOMPARE(describe(storedText(prefs.store(), keyOf(field))), describe(same));
}

void TestAppSettings::sharedIsOneMainThreadInstance()
{
    // The process-wide store must live in this test's own configuration
    // directory, never in the user's.
    QSettings probe(QStringLiteral("Quillmere"), QStringLiteral("Quillmere"));
    const QString file = probe.fileName();
    QVERIFY2(file.startsWith(m_configHome + QLatin1Char('/')), qPrintable(file));

    // First use from several threads at once.
    constexpr int threadCount = 8;
    std::latch ready(threadCount);
    std::vector<AppSettings *> seen(threadCount, nullptr);
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&ready, &seen, i] {
            ready.arrive_and_wait();
            seen[i] = &AppSettings::shared();
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    AppSettings &shared = AppSettings::shared();
    for (AppSettings *instance : seen)
        QCOMPARE(instance, &shared);

    QCOMPARE(shared.ollamaURL(), QStringLiteral("http://localhost:11434"));
    QVERIFY(!shared.selectedLLMModel().has_value());

    // Although a worker thread (now gone) created it, the instance belongs to
    // the main thread, and an assignment reaches the preferences file while
    // the program runs rather than only at exit.
    QCOMPARE(shared.thread(), QCoreApplication::instance()->thread());
    shared.setSelectedLLMModel(QStringLiteral("written-while-running"));
    const auto fileText = [&file] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QTRY_VERIFY(fileText().contains("written-while-running"));
}

int main(int argc, char **argv)
{
    // Point the per-user configuration at a directory of our own before
    // anything opens a QSettings, so the process-wide store never touches the
    // user's preferences.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));

    QCoreApplication app(argc, argv);
    TestAppSettings test(configHome.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_appsettings.moc"
