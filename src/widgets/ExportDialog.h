#pragma once

#include <QString>

#include <functional>

class QFileDialog;
class QWidget;

// The save dialog of every export. The dialog knows the file's suffix, so a
// name typed without one ("results") gets it ("results.csv") before the
// dialog checks whether the file exists: the overwrite question is asked
// about the file that will really be written.
namespace ExportDialog {

// Opens a window-modal save dialog over `parent` with `suggestedPath`
// selected, and calls `chosen` with the accepted path (suffix included) once
// the user accepts; nothing when the user cancels. `suffix` is without the
// dot ("csv"). The dialog deletes itself when it closes; it is returned so
// that a caller or a test can reach it while it is open.
QFileDialog *ask(QWidget *parent, const QString &caption, const QString &suggestedPath, const QString &filter,
                 const QString &suffix, std::function<void(const QString &path)> chosen);

} // namespace ExportDialog
