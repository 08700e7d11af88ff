#include "FocusKeeper.h"

void FocusKeeper::setEnabled(QWidget *control, bool enabled)
{
    // The window's focus widget rather than hasFocus(): the window may be
    // inactive while the work runs, and Qt moves its focus all the same.
    if (!enabled && m_holder && control->isEnabled() && control->window()->focusWidget() == control) {
        m_returnsTo = control;
        m_holder->setFocus(Qt::OtherFocusReason);
    }
    control->setEnabled(enabled);
    if (enabled && m_returnsTo == control) {
        m_returnsTo.clear();
        if (m_holder && control->window()->focusWidget() == m_holder)
            control->setFocus(Qt::OtherFocusReason);
    }
}
