#include "GuideWindow.h"

#include "widgets/Retranslate.h"

#include <QFile>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

GuideWindow::GuideWindow(QWidget *parent)
    : QWidget(parent)
    , m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("guideWindow"));
    m_browser->setObjectName(QStringLiteral("guideBrowser"));
    m_browser->setFrameShape(QFrame::NoFrame);
    // Links to other sites are not followed from here.
    m_browser->setOpenExternalLinks(false);
    m_browser->setOpenLinks(true);
    m_browser->document()->setDocumentMargin(16);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    setFocusProxy(m_browser);
    resize(640, 720);
    // The guide in the current language, at the section it showed.
    Retranslate::texts(this, [this] {
        setWindowTitle(tr("Quillmere Guide"));
        m_browser->setAccessibleName(tr("Quillmere Guide"));
        QUrl url(QStringLiteral("qrc") + resourceFor(QLocale()));
        url.setFragment(m_browser->source().fragment());
        m_browser->setSource(url);
    });
}

QString GuideWindow::resourceFor(const QLocale &locale)
{
    // "de_CH", then "de", then English.
    const QString name = locale.name();
    for (const QString &candidate : {name, name.section(QLatin1Char('_'), 0, 0)}) {
        const QString path = QStringLiteral(":/guide/guide_%1.html").arg(candidate);
        if (!candidate.isEmpty() && QFile::exists(path))
            return path;
    }
    return QStringLiteral(":/guide/guide.html");
}

void GuideWindow::showSection(const QString &section)
{
    QUrl url = m_browser->source();
    url.setFragment(section.isEmpty() ? QString() : section);
    m_browser->setSource(url);
    if (section.isEmpty())
        m_browser->verticalScrollBar()->setValue(0);
}
