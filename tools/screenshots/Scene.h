#pragma once

#include <QString>

#include <functional>
#include <stdexcept>

class QWidget;
class Studio;

// One picture of the application in a given state. Each scene is taken once
// per palette and saved as "<name>-<palette>.png", so a name is lower-case
// words joined by dashes, e.g. "sentiment-result".
struct Scene
{
    QString name;
    // One line for --list.
    QString summary;
    // Builds the windows through the studio, drives them into the state and
    // returns the widget to photograph (usually a window). Throws
    // SceneFailure when the state is never reached.
    std::function<QWidget *(Studio &)> stage;
};

// A scene could not reach its state; the message says which state.
class SceneFailure : public std::runtime_error
{
public:
    explicit SceneFailure(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};
