#pragma once

#include "AppInfo.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class QVBoxLayout;
class SymbolView;

// The About window's content: the icon, the name, the version line, a
// description, the credit, the copyright line and an "OK" button. Values
// that are absent leave their line out; without icon artwork a symbol
// stands in. Return presses "OK", which asks the host window to close.
//
// The view is 500 pixels wide and as high as its content.
class AboutView : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char *descriptionText =
        QT_TR_NOOP("Two demos to introduce important concepts about transformers");
    static constexpr const char *authorText = QT_TR_NOOP("The Quillmere Team");

    // Shows the information compiled into the program.
    explicit AboutView(QWidget *parent = nullptr);
    explicit AboutView(const AppInfo &info, QWidget *parent = nullptr);

    const AppInfo &info() const { return m_info; }

Q_SIGNALS:
    // "OK" was pressed (or Return); the host closes the window.
    void dismissRequested();

protected:
    void changeEvent(QEvent *event) override;

private:
    void render();

    const AppInfo m_info;
    QVBoxLayout *const m_layout;
    QWidget *const m_icon;
    QLabel *const m_name;
    QLabel *const m_version;
    QLabel *const m_description;
    QFrame *const m_divider;
    SymbolView *const m_creditSymbol;
    QLabel *const m_createdBy;
    QLabel *const m_author;
    QLabel *const m_copyright;
    QPushButton *const m_okButton;
};
