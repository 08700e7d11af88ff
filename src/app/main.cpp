#include "Languages.h"
#include "MainWindow.h"
#include "PreferenceOptions.h"
#include "QuillmereApp.h"
#include "about/AppInfo.h"
#include "catalogue/AppSettings.h"

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include <cstdio>

namespace {

// For --self-test: quits with status 0 once the window has been painted, so
// that a start-up benchmark or a smoke test can time and check a full start.
// Gives up with status 1 if nothing is painted within a minute.
class FirstPaintWatcher : public QObject
{
public:
    explicit FirstPaintWatcher(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(std::chrono::minutes(1), this, [] {
            std::fputs("quillmere: self-test failed: the main window was never painted\n", stderr);
            QCoreApplication::exit(1);
        });
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->window() == m_window) {
                m_painted = true;
                // Queued, so the painting under way finishes and is flushed first.
                QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QWidget> m_window;
    bool m_painted = false;
};

// Names and version shared by both kinds of application object.
void describeApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillmere"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillmere"));
    QCoreApplication::setApplicationVersion(AppInfo::fromBuild().version.value_or(QString()));
}

// Whether the command line asks for something other than a window: help,
// the version, or storing preferences. These must work without a display,
// e.g. in a packaging build or from a script over a remote shell.
bool runsWithoutWindow(int argc, char *argv[])
{
    static const QList<QByteArray> textOptions = {"-h", "-?", "--help", "--help-all", "-v", "--version"};
    for (int i = 1; i < argc; ++i) {
        if (textOptions.contains(QByteArray(argv[i]))
            || PreferenceOptions::isOptionArgument(QString::fromLocal8Bit(argv[i])))
            return true;
    }
    return false;
}

// The options, worded in the language in effect: the translation is
// installed before they are made.
void describeOptions(QCommandLineParser &parser, const QCommandLineOption &selfTest)
{
    parser.setApplicationDescription(
        QCoreApplication::translate("main",
                                    "Interactive demos of transformer language models, driven by an Ollama server."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(selfTest);
    PreferenceOptions::addTo(parser);
}

} // namespace

int main(int argc, char *argv[])
{
    // Hidden from --help, so its description is never shown.
    QCommandLineOption selfTest(QStringLiteral("self-test"),
                                QStringLiteral("Quit as soon as the first main window has been painted."));
    selfTest.setFlags(QCommandLineOption::HiddenFromHelp);

    if (runsWithoutWindow(argc, argv)) {
        // process() prints help, the version or a usage error and ends the
        // process; the preference options end it here.
        QCoreApplication core(argc, argv);
        describeApplication();
        Languages::Translator translator;
        translator.apply(AppSettings::shared().language());
        QCommandLineParser parser;
        describeOptions(parser, selfTest);
        parser.process(core);
        const auto outcome = PreferenceOptions::run(parser, []() -> AppSettings & { return AppSettings::shared(); });
        if (outcome) {
            std::fputs(outcome->output.toLocal8Bit().constData(), stdout);
            std::fputs(outcome->errors.toLocal8Bit().constData(), stderr);
            return outcome->exitCode;
        }
    }

    QApplication app(argc, argv);
    describeApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quillmere.Quillmere"));
    QApplication::setWindowIcon(AppInfo::fromBuild().icon());
    // The application object installs the chosen language, which the
    // options' texts need; it opens no window yet.
    QuillmereApp shell;
    QCommandLineParser parser;
    describeOptions(parser, selfTest);
    parser.process(app);

    MainWindow *window = shell.openMainWindow();
    if (parser.isSet(selfTest))
        new FirstPaintWatcher(window);

    return app.exec();
}
