#pragma once

#include "widgets/NamedColors.h"
#include "widgets/TextStyles.h"

#include <QWidget>

class QLabel;
class SymbolView;

// A row of a tinted symbol and a text, vertically centred: how the settings
// screens report a state inline ("Models loaded", an error, a missing
// setting). The text wraps when it is longer than the row. Colours follow the
// palette.
class StatusRow : public QWidget
{
    Q_OBJECT

public:
    enum class Tone {
        Primary,   // the default text colour
        Secondary, // the dimmed colour of explanations and messages
    };

    StatusRow(TextStyle style, Tone tone, QWidget *parent = nullptr);

    // Padding above and below the row.
    void setVerticalPadding(int padding);

    void setSymbol(const QString &name, NamedColor color);
    void setText(const QString &text);
    void setSpinning(bool spinning);

    QString symbolName() const;
    NamedColor symbolColor() const { return m_color; }
    QString text() const;
    bool isSpinning() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColors();

    Tone m_tone;
    NamedColor m_color = NamedColor::Gray;
    SymbolView *const m_symbol;
    QLabel *const m_label;
};
