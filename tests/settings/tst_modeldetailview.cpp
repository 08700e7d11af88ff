#include "settings/ModelDetailView.h"
#include "widgets/CapabilityBadge.h"
#include "widgets/NamedColors.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QObject>
#include <QPalette>
#include <QTest>

#include <optional>

namespace {

// "Family:=llama" for each value row, in the order they are laid out.
QStringList valueRows(const ModelDetailView &view)
{
    QStringList rows;
    for (const QString &name : {QStringLiteral("family"), QStringLiteral("parameters"), QStringLiteral("format")}) {
        const auto *label = view.findChild<QLabel *>(name + QStringLiteral("Label"));
        const auto *value = view.findChild<QLabel *>(name + QStringLiteral("Value"));
        if ((label == nullptr) != (value == nullptr))
            return {QStringLiteral("half a row: ") + name};
        if (label)
            rows << label->text() + QLatin1Char('=') + value->text();
    }
    return rows;
}

// The badges in the order the capabilities row lays them out.
QList<CapabilityBadge *> badgesInRowOrder(const ModelDetailView &view)
{
    const auto *rows = qobject_cast<QVBoxLayout *>(view.layout());
    const auto *capabilities = qobject_cast<QBoxLayout *>(rows->itemAt(rows->count() - 1)->layout());
    QList<CapabilityBadge *> out;
    for (int i = 0; i < capabilities->count(); ++i) {
        if (auto *badge = qobject_cast<CapabilityBadge *>(capabilities->itemAt(i)->widget()))
            out << badge;
    }
    return out;
}

QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(40, 40, 42));
    p.setColor(QPalette::WindowText, QColor(235, 235, 235));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::Text, QColor(235, 235, 235));
    return p;
}

} // namespace

class TestModelDetailView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsPresentDetailsOnly_data();
    void showsPresentDetailsOnly();
    void badgesInOrderWithColours_data();
    void badgesInOrderWithColours();
    void coloursFollowPalette();
};

void TestModelDetailView::showsPresentDetailsOnly_data()
{
    QTest::addColumn<std::optional<ModelDetails>>("details");
    QTest::addColumn<QStringList>("expectedRows");

    auto details = [](std::optional<QString> family, std::optional<QString> parameters, std::optional<QString> format) {
        return std::optional<ModelDetails>(ModelDetails{family, format, parameters});
    };
    QTest::newRow("no details") << std::optional<ModelDetails>() << QStringList();
    QTest::newRow("details without fields") << details({}, {}, {}) << QStringList();
    QTest::newRow("family only") << details(QStringLiteral("llama"), {}, {}) << QStringList{"Family:=llama"};
    QTest::newRow("all three in fixed order")
        << details(QStringLiteral("qwen2"), QStringLiteral("7.6B"), QStringLiteral("gguf"))
        << QStringList{"Family:=qwen2", "Parameters:=7.6B", "Format:=gguf"};
    QTest::newRow("parameters and format") << details({}, QStringLiteral("137M"), QStringLiteral("gguf"))
                                           << QStringList{"Parameters:=137M", "Format:=gguf"};
    QTest::newRow("empty family is present") << details(QString(), {}, {}) << QStringList{"Family:="};
    QTest::newRow("values exactly as received")
        << details(QStringLiteral(" nomic-bert "), QStringLiteral("<b>1,5 B</b>"), QStringLiteral("GGUF"))
        << QStringList{"Family:= nomic-bert ", "Parameters:=<b>1,5 B</b>", "Format:=GGUF"};
}

void TestModelDetailView::showsPresentDetailsOnly()
{
    QFETCH(std::optional<ModelDetails>, details);
    QFETCH(QStringList, expectedRows);

    OllamaModel model;
    model.name = QStringLiteral("m");
    model.details = details;
    ModelDetailView view(model);

    QCOMPARE(valueRows(view), expectedRows);
    // The capabilities row is always there.
    auto *capabilities = view.findChild<QLabel *>(QStringLiteral("capabilitiesLabel"));
    QVERIFY(capabilities);
    QCOMPARE(capabilities->text(), QStringLiteral("Capabilities:"));
}

void TestModelDetailView::badgesInOrderWithColours_data()
{
    QTest::addColumn<ModelCapabilities>("capabilities");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<NamedColor>>("colors");

    auto caps = [](bool tools, bool vision, bool thinking, bool embedding) {
        return ModelCapabilities{tools, vision, thinking, embedding};
    };
    QTest::newRow("no flags") << caps(false, false, false, false) << QStringList() << QList<NamedColor>();
    QTest::newRow("embedding and thinking") << caps(false, false, true, true) << QStringList{"Embedding", "Thinking"}
                                            << QList<NamedColor>{NamedColor::Blue, NamedColor::Orange};
    QTest::newRow("tools and thinking") << caps(true, false, true, false) << QStringList{"Tools", "Thinking"}
                                        << QList<NamedColor>{NamedColor::Purple, NamedColor::Orange};
    QTest::newRow("vision only") << caps(false, true, false, false) << QStringList{"Vision"}
                                 << QList<NamedColor>{NamedColor::Green};
    QTest::newRow("all four") << caps(true, true, true, true)
                              << QStringList{"Embedding", "Tools", "Vision", "Thinking"}
                              << QList<NamedColor>{NamedColor::Blue, NamedColor::Purple, NamedColor::Green,
                                                   NamedColor::Orange};
}

void TestModelDetailView::badgesInOrderWithColours()
{
    QFETCH(ModelCapabilities, capabilities);
    QFETCH(QStringList, texts);
    QFETCH(QList<NamedColor>, colors);

    OllamaModel model;
    model.name = QStringLiteral("m");
    model.capabilities = capabilities;
    ModelDetailView view(model);

    const QList<CapabilityBadge *> badges = badgesInRowOrder(view);
    QCOMPARE(badges.size(), texts.size());
    QCOMPARE(view.findChildren<CapabilityBadge *>().size(), texts.size());
    for (qsizetype i = 0; i < badges.size(); ++i) {
        QCOMPARE(badges.at(i)->text(), texts.at(i));
        QCOMPARE(badges.at(i)->color(), NamedColors::color(colors.at(i), view.palette()));
    }
}

void TestModelDetailView::coloursFollowPalette()
{
    OllamaModel model;
    model.name = QStringLiteral("m");
    model.details = ModelDetails{QStringLiteral("llama"), QStringLiteral("gguf"), QStringLiteral("3.2B")};
    model.capabilities.supportsEmbedding = true;
    ModelDetailView view(model);

    for (const QPalette &palette : {view.palette(), darkPalette()}) {
        view.setPalette(palette);
        const QColor secondary = NamedColors::secondaryText(palette);
        QVERIFY(secondary != palette.color(QPalette::WindowText));
        for (const QString &name : {QStringLiteral("family"), QStringLiteral("parameters"), QStringLiteral("format")}) {
            QCOMPARE(view.findChild<QLabel *>(name + QStringLiteral("Label"))->palette().color(QPalette::WindowText),
                     secondary);
            // Values in the default text colour, monospaced.
            const auto *value = view.findChild<QLabel *>(name + QStringLiteral("Value"));
            QCOMPARE(value->palette().color(QPalette::WindowText), palette.color(QPalette::WindowText));
            QVERIFY(QFontInfo(value->font()).fixedPitch());
        }
        QCOMPARE(view.findChild<QLabel *>(QStringLiteral("capabilitiesLabel"))->palette().color(QPalette::WindowText),
                 secondary);
        QCOMPARE(badgesInRowOrder(view).first()->color(), NamedColors::color(NamedColor::Blue, palette));
    }
}

QTEST_MAIN(TestModelDetailView)
#include "tst_modeldetailview.moc"
