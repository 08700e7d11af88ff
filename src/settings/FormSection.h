#pragma once

#include "widgets/RoundedPanel.h"

class QVBoxLayout;

// One section of a grouped form: a rounded card whose content is a vertical
// stack, leading-aligned, with the given spacing and 8 px of padding above and
// below. Its colours follow the palette.
class FormSection : public RoundedPanel
{
    Q_OBJECT

public:
    explicit FormSection(int spacing, QWidget *parent = nullptr);

    QVBoxLayout *stack() const { return m_stack; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    QVBoxLayout *const m_stack;
};
