#pragma once

#include <QPointer>
#include <QWidget>

// Keeps the keyboard focus in place while a control disables itself for the
// work it starts (a button that sends a request). Left alone, Qt passes the
// focus of a control being disabled on to the next one in the window, which
// can be one that changes the screen, so that the user's next key acts there.
// Through setEnabled() the focus waits on `holder` instead, a widget that
// acts on no key (a screen's column, a section), and comes back to the
// control when it is enabled again, unless the user has moved it meanwhile.
class FocusKeeper
{
public:
    explicit FocusKeeper(QWidget *holder)
        : m_holder(holder)
    {
    }

    void setEnabled(QWidget *control, bool enabled);

private:
    QPointer<QWidget> m_holder;
    // The control whose focus waits on the holder, while it is disabled.
    QPointer<QWidget> m_returnsTo;
};
