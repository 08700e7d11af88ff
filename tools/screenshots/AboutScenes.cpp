// The About window.

#include "Scenes.h"
#include "Studio.h"

#include <QPushButton>

namespace Scenes {

QList<Scene> aboutScenes()
{
    return {
        {QStringLiteral("about"), QStringLiteral("About: icon, name, version, credit and \"OK\""),
         [](Studio &studio) {
             QWidget *window = studio.openAbout();
             auto *ok = studio.child<QPushButton>(window, QStringLiteral("okButton"));
             studio.waitUntil(QStringLiteral("the About window laid out"), [ok] { return ok->isVisible(); });
             return window;
         }},
    };
}

} // namespace Scenes
