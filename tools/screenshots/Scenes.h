#pragma once

#include "Scene.h"

#include <QList>

#include <utility>
#include <vector>

// The catalogue of pictures. To add one, append a Scene to the list of its
// window (or add a list of your own to allScenes()); scripts/screenshots
// then takes it in both palettes.
namespace Scenes {

// The main window on each demo: fresh, ready, busy, with a result and its
// details, failed and without a model.
QList<Scene> demoScenes();
// The Settings window's General and Model tabs.
QList<Scene> settingsScenes();
// The About window.
QList<Scene> aboutScenes();
// The History window and the Examples menu.
QList<Scene> historyScenes();
// The Sentence Map window with an example set mapped.
QList<Scene> sentenceMapScenes();
// A main window zoomed for a projector, and the guide.
QList<Scene> classroomScenes();

// All of them, in the order in which they are taken.
QList<Scene> allScenes();

// Two unit vectors of a dozen dimensions whose cosine is `cosine` (within
// 0...1), as embeddings for the fake server: the similarity demo then shows
// that value as its percentage.
std::pair<std::vector<double>, std::vector<double>> vectorsWithCosine(double cosine);

} // namespace Scenes
