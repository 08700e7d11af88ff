// quillmere-screenshots: takes pictures of Quillmere's windows in known
// states, in a light and a dark palette, against a fake Ollama server on the
// loopback address, and saves them as "<scene>-<palette>.png".
//
//   quillmere-screenshots [--out <dir>] [--only <text>]... [--list]

#include "Scenes.h"
#include "ShotRunner.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// The scene names must make distinct file names.
bool checkCatalogue(const QList<Scene> &scenes)
{
    bool ok = true;
    QStringList seen;
    for (const Scene &scene : scenes) {
        if (!ShotRunner::isValidSceneName(scene.name) || seen.contains(scene.name)) {
            std::fprintf(stderr, "quillmere-screenshots: bad or repeated scene name \"%s\"\n", qPrintable(scene.name));
            ok = false;
        }
        seen.append(scene.name);
    }
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    // Preferences of the windows go to a directory of this run, never the
    // user's; it must exist before the application reads its environment.
    QTemporaryDir configDir;
    if (!configDir.isValid()) {
        std::fprintf(stderr, "quillmere-screenshots: cannot create a temporary directory\n");
        return 1;
    }
    ShotRunner::prepareProcess(configDir.path());

    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Takes pictures of Quillmere's windows in light and dark palettes, against a fake server."));
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Directory for the PNG files."),
                                       QStringLiteral("dir"), QStringLiteral("."));
    const QCommandLineOption onlyOption(
        QStringLiteral("only"),
        QStringLiteral("Take only pictures whose name (e.g. sentiment-result-dark) contains this text; repeatable."),
        QStringLiteral("text"));
    const QCommandLineOption listOption(QStringLiteral("list"),
                                        QStringLiteral("List the pictures that would be taken, and take none."));
    parser.addOptions({outOption, onlyOption, listOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "quillmere-screenshots: unexpected argument \"%s\"\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }

    ShotRunner::prepareApplication();
    const QList<Scene> scenes = Scenes::allScenes();
    if (!checkCatalogue(scenes))
        return 1;
    const QStringList patterns = parser.values(onlyOption);

    const QList<ShotPalette> palettes = ShotRunner::palettes();

    QStringList selected;
    for (const ShotPalette &palette : palettes) {
        for (const Scene &scene : scenes) {
            const QString shot = ShotRunner::shotName(scene.name, palette.name);
            if (ShotRunner::isSelected(shot, patterns)) {
                selected.append(shot);
                if (parser.isSet(listOption))
                    std::printf("%-36s %s\n", qPrintable(shot), qPrintable(scene.summary));
            }
        }
    }
    if (selected.isEmpty()) {
        std::fprintf(stderr, "quillmere-screenshots: no picture matches %s\n", qPrintable(patterns.join(", ")));
        return 2;
    }
    if (parser.isSet(listOption))
        return 0;

    const QDir out(parser.value(outOption));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "quillmere-screenshots: cannot create %s\n", qPrintable(out.path()));
        return 1;
    }

    int failures = 0;
    ShotRunner::run(scenes, palettes, patterns, out, [&failures](const ShotOutcome &outcome) {
        if (outcome.failure) {
            ++failures;
            std::fprintf(stderr, "FAILED %s: %s\n", qPrintable(outcome.shot), qPrintable(*outcome.failure));
        } else {
            std::printf("wrote  %s\n", qPrintable(QDir::cleanPath(outcome.file)));
        }
        std::fflush(stdout);
    });
    if (failures > 0) {
        std::fprintf(stderr, "quillmere-screenshots: %d of %lld pictures failed\n", failures,
                     static_cast<long long>(selected.size()));
        return 1;
    }
    return 0;
}
