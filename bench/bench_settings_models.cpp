// Launch to model list: the time from starting the program until the
// Settings window, opened on its Model tab at start, has painted the model
// list fetched from a server that answers at once.
//
// The parent runs the fake server and starts this same program again for
// each run, passing the moment of the fork; the child builds the windows as
// `quillmere` does, opens the Settings window on the Model tab and reports
// how long after that moment the list was first painted. The child is this
// benchmark's binary, not `quillmere` itself, so its loader time includes the
// fake server's libraries as well.
#include "BenchSupport.h"
#include "FakeOllamaServer.h"
#include "app/MainWindow.h"
#include "app/QuillmereApp.h"
#include "catalogue/AppSettings.h"
#include "settings/ModelPicker.h"

#include <QApplication>
#include <QEvent>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char *launchedAtVariable = "QUILLMERE_BENCH_LAUNCHED_AT";
constexpr const char *serverVariable = "QUILLMERE_BENCH_SERVER";
constexpr const char *resultMarker = "launch-to-list-ms";
const std::string lastModel = "phi3:mini";

double monotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Child: quits once a visible model picker listing the last model has painted.
class ListPaintWatcher : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            auto *picker = qobject_cast<ModelPicker *>(watched);
            if (picker && picker->isVisible() && picker->findText(QString::fromStdString(lastModel), Qt::MatchStartsWith) >= 0) {
                m_done = true;
                m_elapsed = monotonicMs() - std::atof(std::getenv(launchedAtVariable));
                QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
            }
        }
        return QObject::eventFilter(watched, event);
    }
    double elapsed() const { return m_elapsed; }

private:
    bool m_done = false;
    double m_elapsed = 0;
};

int runChild(int argc, char *argv[])
{
    QApplication app(argc, argv);
    AppSettings::shared().setOllamaURL(QString::fromUtf8(std::getenv(serverVariable)));
    ListPaintWatcher watcher;
    app.installEventFilter(&watcher);
    QuillmereApp shell;
    shell.openMainWindow();
    QWidget *settings = shell.openSettingsWindow();
    if (auto *tabs = settings->findChild<QTabWidget *>())
        tabs->setCurrentIndex(1);
    const int status = app.exec();
    if (status != 0)
        return status;
    // The app prints its own diagnostics on the same output.
    std::printf("%s %.3f\n", resultMarker, watcher.elapsed());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (std::getenv(launchedAtVariable))
        return runChild(argc, argv);

    QCoreApplication app(argc, argv);
    FakeOllamaServer server;
    std::vector<FakeOllamaServer::Model> models;
    for (const std::string name : {"llama3.2:latest", "mistral:7b", lastModel.c_str()}) {
        FakeOllamaServer::Model model;
        model.name = name;
        models.push_back(model);
    }
    server.setModels(models);
    // Each child starts from empty preferences of its own.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    qputenv(serverVariable, server.baseURL().toUtf8());

    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    std::vector<double> times;
    for (int i = 0; i < runs + 1; ++i) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return 1;
        qputenv(launchedAtVariable, QByteArray::number(monotonicMs(), 'f', 3));
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(pipeEnds[1], STDOUT_FILENO);
            close(pipeEnds[0]);
            execl("/proc/self/exe", argv[0], static_cast<char *>(nullptr));
            _exit(127);
        }
        close(pipeEnds[1]);
        // The server answers from its own threads while the parent waits.
        std::string output;
        char buffer[256];
        for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
            output.append(buffer, size_t(n));
        close(pipeEnds[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        const size_t marker = output.rfind(resultMarker);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || marker == std::string::npos) {
            std::fprintf(stderr, "run %d failed (status %d)\n", i, status);
            return 1;
        }
        if (i > 0) // the first run warms the file cache
            times.push_back(std::atof(output.c_str() + marker + std::strlen(resultMarker)));
    }
    BenchSupport::printMachine();
    std::printf("launch to the model list painted in Settings (Model tab), server answering at once, median of %d runs\n",
                runs);
    std::printf("  %.1f ms\n", BenchSupport::median(times));
    return 0;
}
