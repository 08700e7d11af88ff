
#include <QEvent>

#include "Retranslate.h"

#include <QWidget>

#include <vector>

namespace Retranslate {

namespace {

// Watches its parent for language changes and runs the parent's functions
// in the order they were given. Qt posts one change to every window and
// each widget passes it on to its children, so a watcher sees each change
// once, after the watchers of the widget's ancestors.
class Watcher final : public QObject
{
public:
    explicit Watcher(QWidget *owner)
        : QObject(owner)
    {
        owner->installEventFilter(this);
    }

    void add(std::function<void()> apply) { m_functions.push_back(std::move(apply)); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::LanguageChange) {
            for (const auto &apply : m_functions)
                apply();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::vector<std::function<void()>> m_functions;
};

} // namespace

void texts(QWidget *owner, std::function<void()> apply)
{
    apply();
    // One watcher per widget, so that later functions (say, an accessible
    // name taken from a label) run after the ones they build on.
    Watcher *watcher = nullptr;
    for (QObject *child : owner->children()) {
        if ((watcher = dynamic_cast<Watcher *>(child)))
            break;
    }
    if (!watcher)
        watcher = new Watcher(owner);
    watcher->add(std::move(apply));
}

} // namespace Retranslate
