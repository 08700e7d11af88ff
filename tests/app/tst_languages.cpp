#include "FakeOllamaServer.h"
#include "ModelServer.h"
#include "StdoutCapture.h"
#include "TestSettings.h"
#include "app/ContentView.h"
#include "app/Examples.h"
#include "catalogue/OllamaService.h"
#include "history/HistoryWindow.h"
#include "history/SessionHistory.h"
#include "app/Languages.h"
#include "about/AppInfo.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "demos/DemoScreen.h"
#include "demos/sentencemap/SentenceMapWindow.h"
#include "guide/GuideWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTranslator>
#include <QXmlStreamReader>

#include <nlohmann/json.hpp>

namespace {

// A translation in which every text is its English source between marks, so
// that a text on screen without marks has bypassed translation.
class PseudoTranslation final : public QTranslator
{
public:
    QString translate(const char *, const char *source, const char *, int) const override
    {
        if (!source || !*source)
            return {};
        return QStringLiteral("⟦%1⟧").arg(QString::fromUtf8(source));
    }
    bool isEmpty() const override { return false; }
};

const QStringList userTexts = {
    QStringLiteral("What a lovely day"),        QStringLiteral("The weather is fine"),
    QStringLiteral("The sun is shining"),       QStringLiteral("Rain is falling"),
    QStringLiteral("Snow covers the hills"),
};

// Texts that are not the interface's own: what the user typed, what the
// server names, the product's and the server's names, addresses.
QString withoutOthers(QString text, const QStringList &others)
{
    static const QRegularExpression marked(QStringLiteral("⟦[^⟦⟧]*⟧"));
    static const QRegularExpression address(QStringLiteral("(https?|quillmere-guide)://?\\S*|\\S+@\\S+"));
    for (qsizetype before = -1; before != text.size();) {
        before = text.size();
        text.remove(marked);
    }
    for (const QString &other : others)
        text.remove(other);
    text.remove(address);
    for (const char *name : {"Quillmere", "Ollama"})
        text.remove(QLatin1String(name));
    return text;
}

QString plain(const QLabel *label)
{
    return label->textFormat() == Qt::PlainText || !Qt::mightBeRichText(label->text())
        ? label->text()
        : QTextDocumentFragment::fromHtml(label->text()).toPlainText();
}

// Every text a window shows or gives a screen reader, with where it is.
QList<std::pair<QString, QString>> textsOf(QWidget *window)
{
    QList<std::pair<QString, QString>> texts;
    const auto add = [&texts](const QObject *where, const QString &kind, const QString &text) {
        if (!text.trimmed().isEmpty())
            texts.append({QStringLiteral("%1 %2 %3").arg(QString::fromLatin1(where->metaObject()->className()),
                                                         where->objectName(), kind),
                          text});
    };
    add(window, QStringLiteral("window title"), window->windowTitle());
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : std::as_const(widgets)) {
        if (!w->isVisible())
            continue;
        add(w, QStringLiteral("tool tip"), w->toolTip());
        if (QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w)) {
            add(w, QStringLiteral("accessible name"), face->text(QAccessible::Name));
            add(w, QStringLiteral("accessible description"), face->text(QAccessible::Description));
            // Parts a widget draws itself (chart bars, stars, the gauge).
            for (int i = 0; i < face->childCount(); ++i) {
                QAccessibleInterface *part = face->child(i);
                if (part && !part->object()) {
                    add(w, QStringLiteral("part name"), part->text(QAccessible::Name));
                    add(w, QStringLiteral("part description"), part->text(QAccessible::Description));
                }
            }
        }
        if (auto *label = qobject_cast<QLabel *>(w))
            add(w, QStringLiteral("text"), plain(label));
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            add(w, QStringLiteral("text"), button->text());
        else if (auto *box = qobject_cast<QGroupBox *>(w))
            add(w, QStringLiteral("title"), box->title());
        else if (auto *line = qobject_cast<QLineEdit *>(w))
            add(w, QStringLiteral("placeholder"), line->placeholderText());
        else if (auto *editor = qobject_cast<QPlainTextEdit *>(w))
            add(w, QStringLiteral("placeholder"), editor->placeholderText());
        else if (auto *tabs = qobject_cast<QTabBar *>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                add(w, QStringLiteral("tab"), tabs->tabText(i));
                add(w, QStringLiteral("tab tool tip"), tabs->tabToolTip(i));
            }
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                add(w, QStringLiteral("item"), combo->itemText(i));
        } else if (auto *view = qobject_cast<QAbstractItemView *>(w); view && view->model()) {
            const QAbstractItemModel *model = view->model();
            for (int c = 0; c < model->columnCount(); ++c)
                add(w, QStringLiteral("header"), model->headerData(c, Qt::Horizontal).toString());
            for (int r = 0; r < model->rowCount(); ++r) {
                for (int c = 0; c < model->columnCount(); ++c) {
                    const QModelIndex index = model->index(r, c);
                    for (int role : {int(Qt::DisplayRole), int(Qt::ToolTipRole), int(Qt::AccessibleTextRole)})
                        add(w, QStringLiteral("cell"), index.data(role).toString());
                }
            }
        }
    }
    if (auto *main = qobject_cast<MainWindow *>(window)) {
        QList<QMenu *> menus = main->menuBar()->findChildren<QMenu *>();
        for (QMenu *menu : std::as_const(menus)) {
            add(menu, QStringLiteral("menu title"), menu->title());
            for (QAction *action : menu->actions()) {
                add(action, QStringLiteral("action"), action->text());
                add(action, QStringLiteral("action tip"), action->statusTip());
            }
        }
    }
    return texts;
}

// Runs one demo in a new main window and opens its details.
MainWindow *runDemo(QuillmereApp &app, DemoType demo, const QStringList &texts)
{
    MainWindow *window = app.openMainWindow();
    ContentView *content = window->contentView();
    content->useTexts(demo, texts);
    if (!QTest::qWaitFor([&] { return !content->service().isLoadingModels(); }))
        return nullptr;
    auto *screen = qobject_cast<DemoScreen *>(content->currentScreen());
    auto *button = screen->findChild<QPushButton *>(demo == DemoType::sentimentAnalysis ? QStringLiteral("analyzeButton")
                                                                                        : QStringLiteral("calculateButton"));
    if (!button || !button->isEnabled())
        return nullptr;
    button->click();
    if (!QTest::qWaitFor([&] { return button->isEnabled(); }))
        return nullptr;
    screen->setShowingDetails(true);
    return window;
}

// The messages of a .ts file: context and source, the translations, and
// whether they are finished.
struct Message
{
    QStringList translations;
    bool finished = true;
};
using Messages = QMap<std::pair<QString, QString>, Message>;

Messages readTs(const QString &path)
{
    Messages messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context, source;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("message"))
                message = Message{};
            else if (xml.name() == QLatin1String("source"))
                source = xml.readElementText();
            else if (xml.name() == QLatin1String("translation")) {
                message.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
                if (xml.attributes().value(QLatin1String("numerus")) != QLatin1String("yes")) {
                    const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    if (!text.isEmpty())
                        message.translations.append(text);
                }
            } else if (xml.name() == QLatin1String("numerusform")) {
                message.translations.append(xml.readElementText());
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.insert({context, source}, message);
        }
    }
    return messages;
}

// The placeholders of a text, sorted: "%1", "%2", "%n".
QStringList placeholders(const QString &text)
{
    static const QRegularExpression mark(QStringLiteral("%(\\d|n)"));
    QStringList found;
    for (auto it = mark.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    found.removeDuplicates();
    return found;
}

int mnemonics(QString text)
{
    text.remove(QLatin1String("&&"));
    return int(text.count(QLatin1Char('&')));
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void localeFollowsTheChoice_data();
    void localeFollowsTheChoice();
    void translationsAreCompleteAndCurrent_data();
    void translationsAreCompleteAndCurrent();
    void everyTextIsTranslatedAtOnce();
    void speaksEachLanguage_data();
    void speaksEachLanguage();
};

void TestLanguages::localeFollowsTheChoice_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("expected");
    QTest::newRow("desktop's language") << QString() << "de_AT" << "de_AT";
    QTest::newRow("desktop not spoken, English") << QString() << "ja_JP" << "en_US";
    QTest::newRow("C desktop, English") << QString() << "C" << "en_US";
    QTest::newRow("chosen over the desktop") << "fr" << "de_DE" << "fr_FR";
    QTest::newRow("chosen keeps the desktop's region") << "es" << "es_MX" << "es_MX";
    QTest::newRow("English chosen") << "en" << "de_DE" << "en_US";
    QTest::newRow("unknown code follows the desktop") << "xx" << "es_ES" << "es_ES";
}

void TestLanguages::localeFollowsTheChoice()
{
    QFETCH(QString, code);
    QFETCH(QString, desktop);
    QFETCH(QString, expected);
    QCOMPARE(Languages::localeFor(code, QLocale(desktop)).name(), expected);
}

void TestLanguages::translationsAreCompleteAndCurrent_data()
{
    QTest::addColumn<QString>("language");
    for (const char *language : {"de", "fr", "es"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

// Every text of the code is in each translation, finished, with the same
// placeholders and, in menus and buttons, one mnemonic as in English.
void TestLanguages::translationsAreCompleteAndCurrent()
{
    QFETCH(QString, language);
    QTemporaryDir dir;
    const QString current = dir.filePath(QStringLiteral("current.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(QUILLMERE_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                   QStringLiteral("none"), QStringLiteral(QUILLMERE_SOURCE_DIR "/src"), QStringLiteral("-ts"), current});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);
    const Messages code = readTs(current);
    const Messages translated = readTs(QStringLiteral(QUILLMERE_SOURCE_DIR "/translations/quillmere_%1.ts").arg(language));
    QVERIFY(code.size() > 300);

    QStringList faults;
    for (auto it = code.cbegin(); it != code.cend(); ++it) {
        const auto &[context, source] = it.key();
        const QString where = QStringLiteral("%1 \"%2\"").arg(context, source);
        const auto found = translated.constFind(it.key());
        if (found == translated.cend()) {
            faults << where + QStringLiteral(": missing (run scripts/update-translations)");
            continue;
        }
        if (!found->finished || found->translations.isEmpty()) {
            faults << where + QStringLiteral(": not translated");
            continue;
        }
        for (const QString &text : found->translations) {
            // A plural form may leave out the count ("un seul"); every
            // numbered placeholder stays.
            QStringList expected = placeholders(source), got = placeholders(text);
            if (source.contains(QLatin1String("%n")) && found->translations.size() > 1) {
                expected.removeAll(QStringLiteral("%n"));
                got.removeAll(QStringLiteral("%n"));
            }
            if (expected != got)
                faults << where + QStringLiteral(": placeholders %1 in \"%2\"").arg(got.join(u' '), text);
            if (mnemonics(source) != mnemonics(text))
                faults << where + QStringLiteral(": mnemonic lost or doubled in \"%1\"").arg(text);
        }
    }
    for (auto it = translated.cbegin(); it != translated.cend(); ++it) {
        if (!code.contains(it.key()))
            faults << QStringLiteral("%1 \"%2\": no longer in the code").arg(it.key().first, it.key().second);
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// With every window and panel open and a result in each, a switch of
// language reaches every text at once: under a translation that marks every
// text, nothing visible or spoken is left unmarked but what the user typed,
// what the server named, numbers and names. The results stay.
void TestLanguages::everyTextIsTranslatedAtOnce()
{
    ModelServer served;
    served.server.setGenerateResponse("4");
    QuillmereApp app(served.prefs.settings());
    MainWindow *sentiment = runDemo(app, DemoType::sentimentAnalysis, {userTexts[0]});
    QVERIFY(sentiment);
    // The model's probabilities and the sampling lab under them.
    sentiment->findChild<QPushButton *>(QStringLiteral("probabilitiesButton"))->click();
    QTRY_VERIFY(sentiment->findChild<QWidget *>(QStringLiteral("samplingLab"))->isVisible());
    MainWindow *similarity = runDemo(app, DemoType::sentenceSimilarity, {userTexts[0], userTexts[1]});
    QVERIFY(similarity);
    SentenceMapWindow *map = app.openSentenceMapWindow();
    map->setSentences(userTexts.mid(1, 4));
    map->mapSentences();
    QTRY_VERIFY_WITH_TIMEOUT(map->result(), 20000);
    QWidget *settings = app.openSettingsWindow();
    QList<QWidget *> windows{sentiment, similarity, map, settings, app.openHistoryWindow(), app.openAboutWindow(),
                             app.openGuide()};
    for (QWidget *window : std::as_const(windows))
        QVERIFY(QTest::qWaitForWindowExposed(window));

    // Besides what the user typed: what the server names, the languages'
    // own names, the copyright line of the build, and the history's rows,
    // which keep the words of the language they were made in.
    QStringList others = QStringList(userTexts)
        << QStringLiteral("llama3.2:latest") << QStringLiteral("nomic-embed-text:latest")
        << QStringLiteral("llama3.2") << QStringLiteral("nomic-embed-text") << QStringLiteral("llama")
        << QStringLiteral("gguf") << QStringLiteral("3.2B") << AppInfo::fromBuild().copyright.value_or(QString());
    for (const Languages::Language &language : Languages::available())
        others << language.nativeName;
    for (int row = 0; row < app.history().rowCount(); ++row)
        others << app.history().index(row, SessionHistory::ResultColumn).data().toString();
    app.translator().use(std::make_unique<PseudoTranslation>(), QLocale(QLocale::German, QLocale::Germany));
    // Windows hear of the change through a posted event.
    QTRY_VERIFY(settings->windowTitle().startsWith(QStringLiteral("⟦")));
    QTRY_VERIFY(sentiment->findChild<QWidget *>(QStringLiteral("demoTypePicker"))->accessibleName().startsWith(QStringLiteral("⟦")));

    QStringList faults;
    const auto scan = [&](QWidget *window) {
        for (const auto &[where, text] : textsOf(window)) {
            if (withoutOthers(text, others).contains(QRegularExpression(QStringLiteral("\\p{L}"))))
                faults << QStringLiteral("%1: \"%2\"").arg(where, text);
        }
    };
    for (QWidget *window : std::as_const(windows))
        scan(window);
    // The Model tab too, once its lists have come.
    settings->findChild<QTabWidget *>()->setCurrentIndex(1);
    QTRY_VERIFY(settings->findChild<QWidget *>(QStringLiteral("llmPicker"))->isVisible());
    scan(settings);
    faults.removeDuplicates();
    for (const QString &fault : std::as_const(faults))
        qWarning("untranslated: %s", qPrintable(fault));
    QVERIFY2(faults.isEmpty(), "texts on screen bypassed translation (listed above)");

    // The results are still there, in the new language.
    QVERIFY(map->result());
    QVERIFY(sentiment->findChild<QLabel *>(QStringLiteral("sentimentLabel"))->isVisible());
}

void TestLanguages::speaksEachLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("settingsTitle");
    QTest::addColumn<QString>("analyzeButton");
    QTest::addColumn<QString>("oneSentence");
    QTest::addColumn<QString>("percent");
    const QString space(QChar(0x00A0));
    QTest::newRow("en") << "en" << "Settings" << "Analyze Sentiment" << "1 of at least 3 sentences." << "81%";
    QTest::newRow("de") << "de" << "Einstellungen" << "Stimmung analysieren" << "1 von mindestens 3 Sätzen."
                        << "81" + space + "%";
    QTest::newRow("fr") << "fr" << "Paramètres" << "Analyser le sentiment" << "1 phrase sur 3 au minimum."
                        << "81" + space + "%";
    QTest::newRow("es") << "es" << "Ajustes" << "Analizar sentimiento" << "1 de al menos 3 frases."
                        << "81" + space + "%";
}

// A few key texts in each language and numbers in its form; what stays in
// English does: the prompt's bytes, the diagnostic lines on standard output
// and an example's text behind its translated title.
void TestLanguages::speaksEachLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, settingsTitle);
    QFETCH(QString, analyzeButton);
    QFETCH(QString, oneSentence);
    QFETCH(QString, percent);

    ModelServer served;
    served.server.setGenerateResponse("4");
    served.prefs.settings().setLanguage(language);
    StdoutCapture output;
    QuillmereApp app(served.prefs.settings());
    QCOMPARE(app.openSettingsWindow()->windowTitle(), settingsTitle);
    QCOMPARE(Languages::percent(81), percent);
    SentenceMapWindow *map = app.openSentenceMapWindow();
    map->setSentences({userTexts[0]});
    QCOMPARE(map->findChild<QLabel *>(QStringLiteral("countLabel"))->text(), oneSentence);

    MainWindow *window = runDemo(app, DemoType::sentimentAnalysis, {userTexts[0]});
    QVERIFY(window);
    QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("analyzeButton"))->text(), analyzeButton);
    // The server's timing (5.04 s from the fake server) in the language's number form.
    const QString decimals = percent.contains(QChar(0x00A0)) ? QStringLiteral("5,04") : QStringLiteral("5.04");
    QVERIFY(window->findChild<QLabel *>(QStringLiteral("detailsTiming"))->text().contains(decimals));
    const auto requests = served.server.requests("/api/generate");
    QVERIFY(!requests.empty());
    const std::string prompt = nlohmann::json::parse(requests.back().body).at("prompt");
    QCOMPARE(prompt, std::string("Analyze the sentiment of the following text and respond with ONLY A SINGLE NUMBER "
                                 "from 1 to 5:\n\n1 = Very Negative\n2 = Negative\n3 = Neutral\n4 = Positive\n"
                                 "5 = Very Positive\n\nDo not include any explanation, justification, or additional "
                                 "text. Respond with just the number.\n\nText: \"What a lovely day\"\n\nRating:"));
    QVERIFY(output.stop().contains("Capabilities from API: [\"completion\"]"));

    QAction *example = app.exampleActions().constFirst();
    QVERIFY(language == QLatin1String("en") || example->text() != Examples::all().constFirst().title);
    example->trigger();
    QCOMPARE(window->findChild<QPlainTextEdit *>(QStringLiteral("inputEditor"))->toPlainText(),
             Examples::all().constFirst().texts.constFirst());
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
