#include "AppInfo.h"

#include "AppInfoBuild.h"

#include <QCoreApplication>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QSvgRenderer>

namespace {

std::optional<QString> nonEmpty(const char *utf8)
{
    const QString text = QString::fromUtf8(utf8);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

// Draws the icon's SVG at whatever size is asked. A QIcon made from the file
// name would load the SVG icon engine plugin at once, before the first window
// is painted; this engine renders only when a picture is asked for.
class SvgIconEngine : public QIconEngine
{
public:
    explicit SvgIconEngine(QString fileName)
        : m_fileName(std::move(fileName))
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        QSvgRenderer(m_fileName).render(painter, rect);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine *clone() const override { return new SvgIconEngine(m_fileName); }

private:
    QString m_fileName;
};

} // namespace

AppInfo AppInfo::fromBuild()
{
    AppInfo info;
    info.version = nonEmpty(QUILLMERE_INFO_VERSION);
    info.buildNumber = nonEmpty(QUILLMERE_INFO_BUILD_NUMBER);
    info.copyright = nonEmpty(QUILLMERE_INFO_COPYRIGHT);
    info.iconResource = nonEmpty(QUILLMERE_INFO_ICON_RESOURCE);
    return info;
}

std::optional<QString> AppInfo::versionLine() const
{
    if (!version || !buildNumber)
        return std::nullopt;
    return QCoreApplication::translate("AppInfo", "Version %1 (%2)").arg(*version, *buildNumber);
}

bool AppInfo::hasIcon() const
{
    if (!iconResource || !QFile::exists(*iconResource))
        return false;
    return QSvgRenderer(*iconResource).isValid();
}

QIcon AppInfo::icon() const
{
    if (!hasIcon())
        return {};
    return QIcon(new SvgIconEngine(*iconResource));
}
