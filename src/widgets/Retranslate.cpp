#include "Retranslate.h"

#include <QEvent>
#include <QWidget>

namespace Retranslate {

namespace {

// Watches its parent for language changes. Qt posts one change to every
// window and each widget passes it on to its children, so a watcher sees
// each change once.
class Watcher final : public QObject
{
public:
    Watcher(QWidget *owner, std::function<void()> apply)
        : QObject(owner)
        , m_apply(std::move(apply))
    {
        owner->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::LanguageChange)
            m_apply();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_apply;
};

} // namespace

void texts(QWidget *owner, std::function<void()> apply)
{
    apply();
    new Watcher(owner, std::move(apply));
}

} // namespace Retranslate
