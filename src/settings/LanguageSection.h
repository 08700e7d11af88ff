#pragma once

#include "FormSection.h"

class AppSettings;
class QComboBox;
class QLabel;

// The General tab's "Language" section: a picker of "System default" and
// each language the interface speaks, named in itself. A choice is stored at
// once and applies to every open window.
class LanguageSection : public FormSection
{
    Q_OBJECT

public:
    explicit LanguageSection(AppSettings &settings, QWidget *parent = nullptr);

    QComboBox *picker() const { return m_picker; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    // Shows the stored choice, in the palette's colours.
    void render();

    AppSettings &m_settings;
    QLabel *const m_title;
    QComboBox *const m_picker;
    QLabel *const m_explanation;
};
