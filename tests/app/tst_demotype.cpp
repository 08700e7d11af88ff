#include "app/DemoType.h"

#include <QObject>
#include <QSet>
#include <QTest>

class TestDemoType : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsDemosInSwitchOrder();
    void readsOnlyExactTitles_data();
    void readsOnlyExactTitles();
    void hashesByTitle();
};

void TestDemoType::listsDemosInSwitchOrder()
{
    const QList<DemoType> all = DemoTypes::allCases();
    QCOMPARE(all, (QList<DemoType>{DemoType::sentimentAnalysis, DemoType::sentenceSimilarity}));
    QStringList titles;
    for (const DemoType demo : all)
        titles << DemoTypes::title(demo);
    QCOMPARE(titles, (QStringList{QStringLiteral("Sentiment Analysis"), QStringLiteral("Sentence Similarity")}));
}

void TestDemoType::readsOnlyExactTitles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected"); // -1: no demo

    QTest::newRow("sentiment") << QStringLiteral("Sentiment Analysis") << int(DemoType::sentimentAnalysis);
    QTest::newRow("similarity") << QStringLiteral("Sentence Similarity") << int(DemoType::sentenceSimilarity);
    QTest::newRow("lower case") << QStringLiteral("sentiment analysis") << -1;
    QTest::newRow("upper case") << QStringLiteral("SENTENCE SIMILARITY") << -1;
    QTest::newRow("leading space") << QStringLiteral(" Sentiment Analysis") << -1;
    QTest::newRow("trailing newline") << QStringLiteral("Sentence Similarity\n") << -1;
    QTest::newRow("case name") << QStringLiteral("sentimentAnalysis") << -1;
    QTest::newRow("no space") << QStringLiteral("SentenceSimilarity") << -1;
    QTest::newRow("prefix") << QStringLiteral("Sentiment") << -1;
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("index") << QStringLiteral("0") << -1;
}

void TestDemoType::readsOnlyExactTitles()
{
    QFETCH(QString, text);
    QFETCH(int, expected);

    const std::optional<DemoType> demo = DemoTypes::fromText(text);
    QCOMPARE(demo.has_value(), expected >= 0);
    if (demo) {
        QCOMPARE(int(*demo), expected);
        QCOMPARE(DemoTypes::title(*demo), text);
    }
}

void TestDemoType::hashesByTitle()
{
    QSet<DemoType> set;
    for (const DemoType demo : DemoTypes::allCases())
        set.insert(*DemoTypes::fromText(DemoTypes::title(demo)));
    set.insert(DemoType::sentimentAnalysis);
    QCOMPARE(set.size(), 2);
    QCOMPARE(qHash(DemoType::sentenceSimilarity, 7), qHash(QStringLiteral("Sentence Similarity"), 7));
}

QTEST_GUILESS_MAIN(TestDemoType)
#include "tst_demotype.moc"
