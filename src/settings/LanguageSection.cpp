#include "LanguageSection.h"

#include "FormStyle.h"
#include "app/Languages.h"
#include "catalogue/AppSettings.h"
#include "widgets/NamedColors.h"
#include "widgets/Retranslate.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

LanguageSection::LanguageSection(AppSettings &settings, QWidget *parent)
    : FormSection(8, parent)
    , m_settings(settings)
    , m_title(FormStyle::label(QString(), TextStyle::Headline, QStringLiteral("languageTitle")))
    , m_picker(new QComboBox)
    , m_explanation(FormStyle::label(QString(), TextStyle::Caption, QStringLiteral("languageExplanation")))
{
    setObjectName(QStringLiteral("languageSection"));
    m_picker->setObjectName(QStringLiteral("languagePicker"));
    // "System default" first, then each language in its own name, which
    // does not change with the interface's language.
    m_picker->addItem(QString(), QString());
    for (const Languages::Language &language : Languages::available())
        m_picker->addItem(language.nativeName, language.code);
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_title->setBuddy(m_picker);
    m_explanation->setWordWrap(true);

    QVBoxLayout *stack = this->stack();
    stack->addWidget(m_title);
    stack->addWidget(m_explanation);
    stack->addWidget(m_picker, 0, Qt::AlignLeading);

    connect(m_picker, &QComboBox::activated, this, [this](int index) {
        m_settings.setLanguage(m_picker->itemData(index).toString());
    });
    connect(&m_settings, &AppSettings::languageChanged, this, &LanguageSection::render);
    Retranslate::texts(this, [this] { retranslate(); });
    render();
}

void LanguageSection::retranslate()
{
    m_title->setText(tr("Language"));
    m_picker->setItemText(0, tr("System default"));
    m_picker->setAccessibleName(tr("Language"));
    m_explanation->setText(tr("Windows, menus and explanations change at once. What is sent to the model stays "
                              "in English, which models read best."));
}

void LanguageSection::changeEvent(QEvent *event)
{
    FormSection::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        render();
}

void LanguageSection::render()
{
    FormStyle::setTextColor(m_explanation, NamedColors::secondaryText(palette()));
    const int index = m_picker->findData(m_settings.language());
    m_picker->setCurrentIndex(index < 0 ? 0 : index);
}
