#pragma once

#include "catalogue/SystemSettings.h"

#include <QString>

#include <functional>
#include <optional>

class AppSettings;
class QCommandLineParser;

// Command-line options that store the three preferences and exit without
// opening a window, so that a script can prepare a machine:
//   --set-server URL, --set-embedding-model NAME, --set-language-model NAME,
// --show-settings, which prints what is stored, and --print-system-settings,
// which prints what the system-wide file sets and locks.
namespace PreferenceOptions {

// What a run of the options printed and how the process should end.
struct Outcome
{
    int exitCode = 0;
    QString output; // for standard output
    QString errors; // for standard error
};

void addTo(QCommandLineParser &parser);

// Whether `argument` (as on the command line) names one of the options, so
// that the run needs no display.
bool isOptionArgument(const QString &argument);

// Checks every option given, then stores them all, or nothing at all when one
// is refused: the URL under ServerEndpoint::checkServerURL (the Settings
// window's rule too), a model name when it is empty or only white space.
// `settings` is called only once everything is valid. A value that `system`
// locks is refused. What was stored is written to the preferences file
// before the outcome is reported; when the file cannot be written, the
// outcome says so on standard error with exit code 1. Absent when the
// parsed command line holds none of the options.
std::optional<Outcome> run(const QCommandLineParser &parser, const std::function<AppSettings &()> &settings,
                           const SystemSettings &system = SystemSettings::load());

} // namespace PreferenceOptions
