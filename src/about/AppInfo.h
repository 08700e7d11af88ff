#pragma once

#include <QIcon>
#include <QString>

#include <optional>

// The application's own information: version, build number, copyright line
// and icon. fromBuild() gives what the build put into the program; tests and
// callers may build their own value, since every field may be absent.
struct AppInfo
{
    std::optional<QString> version;
    std::optional<QString> buildNumber;
    std::optional<QString> copyright;
    // Resource path of the application icon (an SVG), e.g. ":/icons/AppIcon.svg".
    std::optional<QString> iconResource;

    // The values compiled into this program. An empty value counts as absent.
    static AppInfo fromBuild();

    // "Version <version> (<build>)" when both values are present, else absent.
    std::optional<QString> versionLine() const;

    // Whether the icon resource names artwork that can be drawn.
    bool hasIcon() const;

    // The icon for windows and the desktop; a null icon without artwork.
    QIcon icon() const;
};
