#include "AppInfo.h"

#include "AppInfoBuild.h"

#include <QFile>
#include <QSvgRenderer>

namespace {

std::optional<QString> nonEmpty(const char *utf8)
{
    const QString text = QString::fromUtf8(utf8);
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

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
    return QStringLiteral("Version %1 (%2)").arg(*version, *buildNumber);
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
    return QIcon(*iconResource);
}
