#include "BackgroundWork.h"

namespace BackgroundWork {

QThreadPool &pool()
{
    // Destroyed at exit, after waiting for work still running.
    static QThreadPool instance;
    static const bool configured = [] {
        instance.setObjectName(QStringLiteral("backgroundWork"));
        instance.setMaxThreadCount(1);
        return true;
    }();
    Q_UNUSED(configured);
    return instance;
}

} // namespace BackgroundWork
