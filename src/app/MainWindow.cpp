#include "MainWindow.h"

#include "ContentView.h"

#include <QEvent>

MainWindow::MainWindow(AppSettings &settings, SessionHistory *history, QWidget *parent)
    : QMainWindow(parent)
    , m_contentView(new ContentView(settings, history, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(tr("Quillmere"));
    setCentralWidget(m_contentView);
    resize(760, 720);
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        Q_EMIT activated();
    return QMainWindow::event(event);
}
