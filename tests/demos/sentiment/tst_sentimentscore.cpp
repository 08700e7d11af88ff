#include "demos/sentiment/SentimentScore.h"

#include <QObject>
#include <QStringList>
#include <QTest>

#include <limits>

class TestSentimentScore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesScore_data();
    void parsesScore();
    void scoreWords_data();
    void scoreWords();
    void promptFraming();
};

void TestSentimentScore::parsesScore_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("score");

    // Answers that carry their own number.
    QTest::newRow("bare digit") << QStringLiteral("4") << 4;
    QTest::newRow("spaces, full stop, line feed") << QStringLiteral("  4.\n") << 4;
    QTest::newRow("double quotes") << QStringLiteral("\"5\"") << 5;
    QTest::newRow("apostrophes and comma") << QStringLiteral("'2',") << 2;
    QTest::newRow("plus sign") << QStringLiteral("+4") << 4;
    QTest::newRow("leading zero") << QStringLiteral("04") << 4;
    QTest::newRow("many leading zeros") << QStringLiteral("0000000000000000000000001") << 1;
    QTest::newRow("explanation on the next line") << QStringLiteral("4\nThe text is upbeat.") << 4;
    QTest::newRow("leading line feeds") << QStringLiteral("\n\n2") << 2;
    QTest::newRow("one") << QStringLiteral("1") << 1;
    QTest::newRow("five with exclamation") << QStringLiteral("5!") << 5;
    QTest::newRow("question mark") << QStringLiteral("3?") << 3;
    QTest::newRow("punctuation on both sides") << QStringLiteral("\"'.,!? 1 ?!,.'\"") << 1;

    // Line breaks and white space beyond the ASCII ones.
    QTest::newRow("CRLF after the digit") << QStringLiteral("4\r\nmore") << 4;
    QTest::newRow("CR alone") << QStringLiteral("2\rmore") << 2;
    QTest::newRow("line separator U+2028") << QStringLiteral("4\u2028more") << 4;
    QTest::newRow("paragraph separator U+2029") << QStringLiteral("\u20295\u2029") << 5;
    QTest::newRow("next line U+0085") << QStringLiteral("1\u0085more") << 1;
    QTest::newRow("form feed and vertical tab") << QStringLiteral("\f\v2\f") << 2;
    QTest::newRow("no-break space U+00A0") << QStringLiteral("\u00A04\u00A0") << 4;
    QTest::newRow("ideographic space U+3000") << QStringLiteral("\u30005\u3000") << 5;
    QTest::newRow("tab") << QStringLiteral("\t4\t") << 4;
    QTest::newRow("leading CRLF pairs") << QStringLiteral("\r\n\r\n5") << 5;

    // Everything else gives the neutral fallback.
    QTest::newRow("empty") << QString() << 3;
    QTest::newRow("only white space") << QStringLiteral(" \n\t ") << 3;
    QTest::newRow("only punctuation") << QStringLiteral("\"...\"") << 3;
    QTest::newRow("zero") << QStringLiteral("0") << 3;
    QTest::newRow("six") << QStringLiteral("6") << 3;
    QTest::newRow("minus one") << QStringLiteral("-1") << 3;
    QTest::newRow("minus zero") << QStringLiteral("-0") << 3;
    QTest::newRow("rating prefix") << QStringLiteral("Rating: 4") << 3;
    QTest::newRow("fraction form") << QStringLiteral("4/5") << 3;
    QTest::newRow("decimal") << QStringLiteral("3.5") << 3;
    QTest::newRow("word") << QStringLiteral("four") << 3;
    QTest::newRow("markdown bold") << QStringLiteral("**4**") << 3;
    QTest::newRow("25 digits") << QStringLiteral("1234567890123456789012345") << 3;
    QTest::newRow("64-bit maximum") << QStringLiteral("9223372036854775807") << 3;
    QTest::newRow("just past 64-bit maximum") << QStringLiteral("9223372036854775808") << 3;
    QTest::newRow("64-bit minimum") << QStringLiteral("-9223372036854775808") << 3;
    QTest::newRow("just past 64-bit minimum") << QStringLiteral("-9223372036854775809") << 3;
    QTest::newRow("two signs") << QStringLiteral("+-4") << 3;
    QTest::newRow("double plus") << QStringLiteral("++4") << 3;
    QTest::newRow("sign alone") << QStringLiteral("+") << 3;
    QTest::newRow("space inside the number") << QStringLiteral("4 5") << 3;
    QTest::newRow("space after the sign") << QStringLiteral("+ 4") << 3;
    QTest::newRow("digit inside a sentence") << QStringLiteral("I would say 4") << 3;
    QTest::newRow("number on the second line only") << QStringLiteral("Rating\n4") << 3;
    QTest::newRow("tab between sign and digit") << QStringLiteral("-\t4") << 3;
    QTest::newRow("tab after the digit before punctuation") << QStringLiteral("4\t.") << 3;
    QTest::newRow("fullwidth digit") << QStringLiteral("\uFF14") << 3;
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0664") << 3;
    QTest::newRow("superscript digit") << QStringLiteral("\u00B2") << 3;
    QTest::newRow("hex") << QStringLiteral("0x4") << 3;
    QTest::newRow("exponent") << QStringLiteral("4e0") << 3;
}

void TestSentimentScore::parsesScore()
{
    QFETCH(QString, reply);
    QFETCH(int, score);
    QCOMPARE(parseSentimentScore(reply), score);
}

void TestSentimentScore::scoreWords_data()
{
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("description");

    QTest::newRow("1") << 1 << QStringLiteral("Very Negative")
                       << QStringLiteral("This text expresses strong negative emotions or opinions.");
    QTest::newRow("2") << 2 << QStringLiteral("Negative") << QStringLiteral("This text leans toward negative sentiment.");
    QTest::newRow("3") << 3 << QStringLiteral("Neutral")
                       << QStringLiteral("This text is neutral, with balanced or factual tone.");
    QTest::newRow("4") << 4 << QStringLiteral("Positive") << QStringLiteral("This text leans toward positive sentiment.");
    QTest::newRow("5") << 5 << QStringLiteral("Very Positive")
                       << QStringLiteral("This text expresses strong positive emotions or opinions.");
    QTest::newRow("0, no result yet") << 0 << QString() << QString();
    QTest::newRow("6") << 6 << QString() << QString();
    QTest::newRow("-1") << -1 << QString() << QString();
    QTest::newRow("int minimum") << std::numeric_limits<int>::min() << QString() << QString();
    QTest::newRow("int maximum") << std::numeric_limits<int>::max() << QString() << QString();
}

void TestSentimentScore::scoreWords()
{
    QFETCH(int, score);
    QFETCH(QString, label);
    QFETCH(QString, description);
    QCOMPARE(sentimentLabel(score), label);
    QCOMPARE(sentimentDescription(score), description);
}

void TestSentimentScore::promptFraming()
{
    // Byte counts of the fixed texts as they go on the wire.
    QCOMPARE(SentimentScore::promptOpening.toUtf8().size(), 276);
    QCOMPARE(SentimentScore::promptClosing.toUtf8().size(), 10);

    const QString prompt = SentimentScore::sentimentPrompt(QStringLiteral("What a lovely day"));
    QVERIFY(prompt.startsWith(
        QStringLiteral("Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER from 1 to 5:\n\n"
                       "1 = Very Negative\n2 = Negative\n3 = Neutral\n4 = Positive\n5 = Very Positive\n\n"
                       "Do not include any explanation, justification, or additional text. "
                       "Respond with just the number.\n\n")));

    const QStringList lines = prompt.split(QLatin1Char('\n'));
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines.mid(lines.size() - 3),
             QStringList({QStringLiteral("Text: \"What a lovely day\""), QString(), QStringLiteral("Rating:")}));

    // No carriage returns, tabs or trailing spaces anywhere in the fixed texts.
    const QString fixed = SentimentScore::promptOpening + SentimentScore::promptClosing;
    QVERIFY(!fixed.contains(QLatin1Char('\r')));
    QVERIFY(!fixed.contains(QLatin1Char('\t')));
    QVERIFY(!fixed.contains(QStringLiteral(" \n")));
}

QTEST_GUILESS_MAIN(TestSentimentScore)
#include "tst_sentimentscore.moc"
