#include "MainWindow.h"

#include "ContentView.h"

MainWindow::MainWindow(AppSettings &settings, QWidget *parent)
    : QMainWindow(parent)
    , m_contentView(new ContentView(settings, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("Quillmere"));
    setCentralWidget(m_contentView);
    resize(760, 720);
}
