#pragma once

#include <QToolButton>

// A flat, checkable button with an arrow that points right while closed and
// down while open, for showing and hiding a panel of details under it. Its
// checked state is the open state (assistive technology reports it as
// checked); unlike a plain checked tool button it stays flat while open,
// since the arrow already shows the state.
class DisclosureButton : public QToolButton
{
    Q_OBJECT

public:
    explicit DisclosureButton(const QString &text, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void fitArrowToFont();
};
