#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Texts that a widget sets once (titles, fixed labels, placeholders, tool
// tips, accessible names) are set by a function that runs now and again
// whenever the interface language changes, so that every open window
// speaks the new language at once, with whatever it shows left as it is.
namespace Retranslate {

// Runs `apply` now, and on every QEvent::LanguageChange that `owner`
// receives for as long as it lives.
void texts(QWidget *owner, std::function<void()> apply);

} // namespace Retranslate
