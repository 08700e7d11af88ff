#include "ExportDialog.h"

#include <QFileDialog>

namespace ExportDialog {

QFileDialog *ask(QWidget *parent, const QString &caption, const QString &suggestedPath, const QString &filter,
                 const QString &suffix, std::function<void(const QString &path)> chosen)
{
    auto *dialog = new QFileDialog(parent, caption, suggestedPath, filter);
    dialog->setObjectName(QStringLiteral("exportDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(suffix);
    // The parent is the context: a choice made as the parent closes is dropped.
    QObject::connect(dialog, &QFileDialog::fileSelected, parent,
                     [chosen = std::move(chosen)](const QString &path) {
                         if (!path.isEmpty())
                             chosen(path);
                     });
    // Window-modal and without a nested event loop: the choice arrives
    // through the signal.
    dialog->open();
    return dialog;
}

} // namespace ExportDialog
