#include "TestSettings.h"
#include "settings/OllamaSettingsView.h"
#include "settings/StatusRow.h"

#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>

namespace {

using namespace std::chrono_literals;

// Collects the confirmation's scheduled hides so a test fires them by hand.
struct ManualClock
{
    struct Pending
    {
        std::chrono::milliseconds delay;
        std::function<void()> action;
    };
    std::vector<Pending> pending;

    OllamaSettingsView::Scheduler scheduler()
    {
        return [this](std::chrono::milliseconds delay, QObject *, std::function<void()> action) {
            pending.push_back({delay, std::move(action)});
        };
    }
};

struct Screen
{
    explicit Screen(const std::optional<QString> &storedURL = std::nullopt)
    {
        if (storedURL)
            prefs.store().setValue(AppSettings::ollamaURLKey, *storedURL);
        view = std::make_unique<OllamaSettingsView>(prefs.settings());
        view->setScheduler(clock.scheduler());
        view->resize(600, 460);
        view->show();
        field = view->findChild<QLineEdit *>(QStringLiteral("urlField"));
        save = view->findChild<QPushButton *>(QStringLiteral("saveButton"));
        reset = view->findChild<QPushButton *>(QStringLiteral("resetButton"));
        errorRow = view->findChild<StatusRow *>(QStringLiteral("errorRow"));
        confirmation = view->findChild<StatusRow *>(QStringLiteral("confirmationRow"));
    }

    // Replaces the field's contents as typing would.
    void type(const QString &text)
    {
        field->selectAll();
        if (text.isEmpty())
            field->del();
        else
            field->insert(text);
    }

    bool errorShown() const { return errorRow->isVisibleTo(view.get()); }
    bool confirmationShown() const { return confirmation->isVisibleTo(view.get()); }
    bool resetShown() const { return reset->isVisibleTo(view.get()); }

    // Hides and shows the screen again, as switching tabs does.
    void reappear()
    {
        view->hide();
        view->show();
    }

    TestSettings prefs;
    ManualClock clock;
    std::unique_ptr<OllamaSettingsView> view;
    QLineEdit *field = nullptr;
    QPushButton *save = nullptr;
    QPushButton *reset = nullptr;
    StatusRow *errorRow = nullptr;
    StatusRow *confirmation = nullptr;
};

} // namespace

class TestOllamaSettingsView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveValidatesInOrder_data();
    void saveValidatesInOrder();
    void saveDisabledForBlankField_data();
    void saveDisabledForBlankField();
    void appearanceReloadsFieldAndKeepsMessages();
    void errorStaysWhileTypingUntilNextSave();
    void failedSaveHidesConfirmation();
    void eachSaveSchedulesItsOwnHide();
    void resetVisibilityFollowsStoredURL();
};

void TestOllamaSettingsView::saveValidatesInOrder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("error");

    const QString missingScheme = OllamaSettingsView::missingSchemeError;
    const QString invalid = OllamaSettingsView::invalidURLError;
    QTest::newRow("spaces around a valid URL") << "  http://localhost:8080  " << "http://localhost:8080" << QString();
    QTest::newRow("tab and no-break space around")
        << QStringLiteral("\thttps://example.org:11434\u00A0") << "https://example.org:11434" << QString();
    QTest::newRow("ideographic space") << QStringLiteral("\u3000http://10.0.0.2:11434") << "http://10.0.0.2:11434"
                                       << QString();
    QTest::newRow("remote with path") << "http://192.168.1.100:11434/ollama" << "http://192.168.1.100:11434/ollama"
                                      << QString();
    QTest::newRow("capitalised scheme") << "HTTP://localhost:11434" << QString() << missingScheme;
    QTest::newRow("no scheme") << "localhost:11434" << QString() << missingScheme;
    QTest::newRow("other scheme") << "ftp://localhost:11434" << QString() << missingScheme;
    QTest::newRow("scheme not at the start") << "x http://localhost" << QString() << missingScheme;
    QTest::newRow("scheme alone") << "http://" << QString() << invalid;
    QTest::newRow("space inside") << "http://local host:11434" << QString() << invalid;
    QTest::newRow("port out of range") << "http://localhost:99999" << QString() << invalid;
    QTest::newRow("line break is not trimmed") << "http://localhost:11434\n" << QString() << invalid;
}

void TestOllamaSettingsView::saveValidatesInOrder()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, error);

    Screen screen(QStringLiteral("http://previous:1"));
    QSignalSpy writes(&screen.prefs.settings(), &AppSettings::ollamaURLChanged);
    // Set directly: some of these texts cannot be typed into a line edit.
    screen.field->setText(typed);
    Q_EMIT screen.field->textEdited(typed);
    QVERIFY(screen.save->isEnabled());
    QTest::mouseClick(screen.save, Qt::LeftButton);

    if (error.isEmpty()) {
        QCOMPARE(writes.size(), 1);
        QCOMPARE(writes.first().first().toString(), stored);
        QCOMPARE(screen.prefs.store().value(AppSettings::ollamaURLKey).toString(), stored);
        QVERIFY(!screen.errorShown());
        QVERIFY(screen.confirmationShown());
        QCOMPARE(screen.confirmation->text(), QStringLiteral("Settings saved! Restart the app to apply changes."));
        QCOMPARE(screen.confirmation->symbolName(), QStringLiteral("checkmark.circle.fill"));
        // The field keeps what was typed until the screen appears again.
        QCOMPARE(screen.field->text(), typed);
        screen.reappear();
        QCOMPARE(screen.field->text(), stored);
    } else {
        QCOMPARE(writes.size(), 0);
        QCOMPARE(screen.prefs.settings().ollamaURL(), QStringLiteral("http://previous:1"));
        QVERIFY(screen.errorShown());
        QCOMPARE(screen.errorRow->text(), error);
        QCOMPARE(screen.errorRow->symbolName(), QStringLiteral("exclamationmark.triangle.fill"));
        QCOMPARE(screen.errorRow->symbolColor(), NamedColor::Orange);
        QVERIFY(!screen.confirmationShown());
        QVERIFY(screen.clock.pending.empty());
    }
}

void TestOllamaSettingsView::saveDisabledForBlankField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("spaces") << "   " << false;
    QTest::newRow("tabs and spaces") << " \t \t" << false;
    QTest::newRow("no-break spaces") << QStringLiteral("\u00A0\u2003") << false;
    // A line break is no white space here: Save runs and the URL is refused.
    QTest::newRow("line break") << "\n" << true;
    QTest::newRow("one letter") << " x " << true;
}

void TestOllamaSettingsView::saveDisabledForBlankField()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);

    Screen screen;
    QVERIFY(screen.save->isEnabled());
    screen.field->setText(typed);
    Q_EMIT screen.field->textEdited(typed);
    QCOMPARE(screen.save->isEnabled(), enabled);
}

void TestOllamaSettingsView::appearanceReloadsFieldAndKeepsMessages()
{
    Screen screen(QStringLiteral("http://stored:11434"));
    screen.type(QStringLiteral("not a url"));
    QTest::mouseClick(screen.save, Qt::LeftButton);
    screen.type(QStringLiteral("http://unsaved:1"));

    screen.reappear();
    QCOMPARE(screen.field->text(), QStringLiteral("http://stored:11434"));
    QVERIFY(screen.errorShown());
    QCOMPARE(screen.errorRow->text(), OllamaSettingsView::missingSchemeError);
}

void TestOllamaSettingsView::errorStaysWhileTypingUntilNextSave()
{
    Screen screen;
    screen.type(QStringLiteral("localhost"));
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QVERIFY(screen.errorShown());

    QTest::keyClicks(screen.field, QStringLiteral(":11434"));
    screen.type(QStringLiteral("http://localhost:1"));
    QVERIFY(screen.errorShown());
    QCOMPARE(screen.errorRow->text(), OllamaSettingsView::missingSchemeError);
    // A blank field disables Save but does not clear the message either.
    screen.type(QString());
    QVERIFY(!screen.save->isEnabled());
    QVERIFY(screen.errorShown());

    screen.type(QStringLiteral("http://"));
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(screen.errorRow->text(), OllamaSettingsView::invalidURLError);

    screen.type(QStringLiteral("http://localhost:1"));
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QVERIFY(!screen.errorShown());
    QVERIFY(screen.confirmationShown());
}

void TestOllamaSettingsView::failedSaveHidesConfirmation()
{
    Screen screen;
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QVERIFY(screen.confirmationShown());

    screen.type(QStringLiteral("https://"));
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QVERIFY(!screen.confirmationShown());
    QVERIFY(screen.errorShown());
    QCOMPARE(screen.prefs.settings().ollamaURL(), AppSettings::defaultOllamaURL);

    // The earlier save's hide still runs and changes nothing visible.
    screen.clock.pending.at(0).action();
    QVERIFY(!screen.confirmationShown());
    QVERIFY(screen.errorShown());
}

void TestOllamaSettingsView::eachSaveSchedulesItsOwnHide()
{
    Screen screen(QStringLiteral("http://localhost:8080"));
    QSignalSpy writes(&screen.prefs.settings(), &AppSettings::ollamaURLChanged);
    // Saving the stored URL still writes it and confirms.
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(writes.size(), 1);
    screen.type(QStringLiteral("http://second:2"));
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(writes.size(), 2);

    QCOMPARE(screen.clock.pending.size(), size_t(2));
    for (const auto &pending : screen.clock.pending)
        QCOMPARE(pending.delay, 3000ms);
    QVERIFY(screen.confirmationShown());

    // The first save's hide is not cancelled by the second save.
    screen.clock.pending.at(0).action();
    QVERIFY(!screen.confirmationShown());
    screen.clock.pending.at(1).action();
    QVERIFY(!screen.confirmationShown());

    // A hide arriving after a newer save's confirmation hides that one too.
    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(writes.size(), 3);
    QCOMPARE(writes.last().first().toString(), QStringLiteral("http://second:2"));
    QVERIFY(screen.confirmationShown());
    screen.clock.pending.at(1).action();
    QVERIFY(!screen.confirmationShown());
}

void TestOllamaSettingsView::resetVisibilityFollowsStoredURL()
{
    Screen screen;
    QVERIFY(!screen.resetShown());
    // The field's contents do not matter, only the stored URL.
    screen.type(QStringLiteral("http://localhost:8080"));
    QVERIFY(!screen.resetShown());

    QTest::mouseClick(screen.save, Qt::LeftButton);
    QVERIFY(screen.resetShown());
    QVERIFY(screen.confirmationShown());

    QSignalSpy writes(&screen.prefs.settings(), &AppSettings::ollamaURLChanged);
    QTest::mouseClick(screen.reset, Qt::LeftButton);
    QCOMPARE(screen.field->text(), AppSettings::defaultOllamaURL);
    QCOMPARE(writes.size(), 0);
    QCOMPARE(screen.prefs.settings().ollamaURL(), QStringLiteral("http://localhost:8080"));
    QVERIFY(screen.resetShown());
    QVERIFY(screen.confirmationShown());

    QTest::mouseClick(screen.save, Qt::LeftButton);
    QCOMPARE(screen.prefs.settings().ollamaURL(), AppSettings::defaultOllamaURL);
    QVERIFY(!screen.resetShown());

    // A stored URL that differs only by a trailing slash is not the default.
    screen.prefs.settings().setOllamaURL(AppSettings::defaultOllamaURL + QLatin1Char('/'));
    QVERIFY(screen.resetShown());
}

QTEST_MAIN(TestOllamaSettingsView)
#include "tst_ollamasettingsview.moc"
