#include "settings/ModelChoices.h"

#include <QLocale>
#include <QObject>
#include <QTest>

#include <limits>

namespace {

OllamaModel model(const QString &name, bool embedding, bool vision, bool tools = false, bool thinking = false)
{
    OllamaModel m;
    m.name = name;
    m.capabilities.supportsEmbedding = embedding;
    m.capabilities.supportsVision = vision;
    m.capabilities.supportsTools = tools;
    m.capabilities.supportsThinking = thinking;
    return m;
}

QStringList names(const QList<OllamaModel> &models)
{
    QStringList out;
    for (const OllamaModel &m : models)
        out << m.name;
    return out;
}

} // namespace

class TestModelChoices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filtersByCapability_data();
    void filtersByCapability();
    void filtersKeepListOrderAndDuplicates();
    void formatsSizes_data();
    void formatsSizes();
};

void TestModelChoices::filtersByCapability_data()
{
    QTest::addColumn<bool>("embedding");
    QTest::addColumn<bool>("vision");
    QTest::addColumn<bool>("tools");
    QTest::addColumn<bool>("thinking");
    QTest::addColumn<bool>("offeredForEmbedding");
    QTest::addColumn<bool>("offeredAsLLM");

    QTest::newRow("embedding only") << true << false << false << false << true << false;
    QTest::newRow("vision without embedding") << false << true << false << false << false << false;
    QTest::newRow("embedding and vision") << true << true << false << false << true << false;
    QTest::newRow("tools and thinking") << false << false << true << true << false << true;
    QTest::newRow("all flags false") << false << false << false << false << false << true;
    QTest::newRow("every flag") << true << true << true << true << true << false;
    QTest::newRow("vision and thinking") << false << true << false << true << false << false;
}

void TestModelChoices::filtersByCapability()
{
    QFETCH(bool, embedding);
    QFETCH(bool, vision);
    QFETCH(bool, tools);
    QFETCH(bool, thinking);
    QFETCH(bool, offeredForEmbedding);
    QFETCH(bool, offeredAsLLM);

    const QList<OllamaModel> list{model(QStringLiteral("m"), embedding, vision, tools, thinking)};
    QCOMPARE(ModelChoices::embeddingModels(list).size(), offeredForEmbedding ? 1 : 0);
    QCOMPARE(ModelChoices::llmModels(list).size(), offeredAsLLM ? 1 : 0);
    if (offeredForEmbedding)
        QCOMPARE(ModelChoices::embeddingModels(list).first(), list.first());
}

void TestModelChoices::filtersKeepListOrderAndDuplicates()
{
    const QList<OllamaModel> list{
        model(QStringLiteral("zeta-embed"), true, false), model(QStringLiteral("alpha"), false, false),
        model(QStringLiteral("llava"), false, true),      model(QStringLiteral("beta-embed"), true, false),
        model(QStringLiteral("alpha"), false, false, true), model(QStringLiteral("gamma"), false, false),
    };
    QCOMPARE(names(ModelChoices::embeddingModels(list)), (QStringList{"zeta-embed", "beta-embed"}));
    QCOMPARE(names(ModelChoices::llmModels(list)), (QStringList{"alpha", "alpha", "gamma"}));
    QVERIFY(ModelChoices::embeddingModels({}).isEmpty());
    QVERIFY(ModelChoices::llmModels({}).isEmpty());
}

void TestModelChoices::formatsSizes_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("zero") << qint64(0) << QStringLiteral("0 bytes");
    QTest::newRow("999 bytes") << qint64(999) << QStringLiteral("999 bytes");
    QTest::newRow("one kilobyte") << qint64(1000) << QStringLiteral("1.00 kB");
    QTest::newRow("small embedding model") << qint64(274'300'000) << QStringLiteral("274.3 MB");
    QTest::newRow("language model") << qint64(4'661'000'000) << QStringLiteral("4.66 GB");
    QTest::newRow("llama 3.2 3B") << qint64(2'019'393'189) << QStringLiteral("2.02 GB");
    QTest::newRow("large model") << qint64(132'912'472'044) << QStringLiteral("132.9 GB");
    QTest::newRow("ten of a unit") << qint64(10'000'000) << QStringLiteral("10.0 MB");
    QTest::newRow("just below ten rounds up") << qint64(9'999'000) << QStringLiteral("10.0 MB");
    QTest::newRow("just below a thousand of a unit") << qint64(999'960'000) << QStringLiteral("1.00 GB");
    QTest::newRow("999.94 MB") << qint64(999'940'000) << QStringLiteral("999.9 MB");
    QTest::newRow("terabytes") << qint64(1'500'000'000'000) << QStringLiteral("1.50 TB");
    QTest::newRow("largest size") << std::numeric_limits<qint64>::max() << QStringLiteral("9.22 EB");
    QTest::newRow("negative") << qint64(-2'019'393'189) << QStringLiteral("-2.02 GB");
    QTest::newRow("smallest size") << std::numeric_limits<qint64>::min() << QStringLiteral("-9.22 EB");
}

void TestModelChoices::formatsSizes()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, expected);
    QCOMPARE(ModelChoices::formattedModelSize(bytes, QLocale::c()), expected);
    QCOMPARE(ModelChoices::formattedModelSize(bytes, QLocale(QLocale::English, QLocale::UnitedStates)), expected);
}

QTEST_GUILESS_MAIN(TestModelChoices)
#include "tst_modelchoices.moc"
