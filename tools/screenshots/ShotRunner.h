#pragma once

#include "Scene.h"
#include "Studio.h"

#include <QDir>
#include <QImage>
#include <QList>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

class QWidget;

// A palette that every scene is taken in, and its name in the file names.
struct ShotPalette
{
    QString name;
    QPalette palette;
};

// The outcome of one picture.
struct ShotOutcome
{
    QString shot;   // "sentiment-result-light"
    QString file;   // where the picture went (empty on failure)
    std::optional<QString> failure;
};

namespace ShotRunner {

// Before the QApplication exists: the offscreen platform unless another one
// is chosen, preferences under `configDir` (so nothing touches the user's
// own; it must be private to the user), and a fixed locale for numbers and
// sizes.
void prepareProcess(const QString &configDir);

// After it exists: the Fusion style, DejaVu Sans at 10 points, a text cursor
// that does not blink, menus without opening effects, and English number
// formats, so that pictures come out the same on every run.
void prepareApplication();

QPalette lightPalette();
QPalette darkPalette();
// Light, then dark.
QList<ShotPalette> palettes();

// "<scene>-<palette>", the file name without ".png".
QString shotName(const QString &scene, const QString &palette);

// Whether a shot is taken: with no patterns every shot is, otherwise those
// whose name contains any pattern.
bool isSelected(const QString &shot, const QStringList &patterns);

// Whether a scene name can be part of a file name: lower-case letters and
// digits in words joined by single dashes.
bool isValidSceneName(const QString &name);

// Brings the widget's window to a still state and renders the widget:
// pending layouts and paints are processed, animations of a fixed length
// jump to their end, and endless ones (spinners) stop at a fixed angle. A
// window's open menus are painted over it.
QImage photograph(QWidget *widget);

// Encodes the picture as a compact PNG.
bool savePicture(const QImage &image, const QString &path);

// Takes every selected shot, palette by palette, and saves it under `out`.
// A scene that fails is reported and leaves no file; the others go on.
QList<ShotOutcome> run(const QList<Scene> &scenes, const QList<ShotPalette> &palettes, const QStringList &patterns,
                       const QDir &out, const std::function<void(const ShotOutcome &)> &report = {},
                       std::chrono::milliseconds waitTimeout = Studio::defaultWaitTimeout);

} // namespace ShotRunner
