#pragma once

#include "catalogue/ModelRecords.h"

#include <QComboBox>
#include <QList>
#include <QString>

#include <optional>

// A menu-style picker bound to an optional model name. Its first choice,
// "Select a model...", stands for no model; then one choice per model, showing
// the name and, when the size is known, the size in parentheses in a smaller,
// dimmed style.
//
// A value that names none of the models is kept as it is: the picker then
// shows no choice, and value() still returns that name.
class ModelPicker : public QComboBox
{
    Q_OBJECT

public:
    static constexpr const char *placeholderText = QT_TR_NOOP("Select a model...");

    // Item data roles: whether an item is a model, and its parenthesised size.
    enum Role {
        IsModelRole = Qt::UserRole + 1,
        SizeTextRole,
    };

    explicit ModelPicker(QWidget *parent = nullptr);

    // Replaces the choices; the value is kept, also when it no longer names a
    // choice. Does not emit valueChanged().
    void setModels(const QList<OllamaModel> &models);

    std::optional<QString> value() const { return m_value; }
    // Does not emit valueChanged().
    void setValue(const std::optional<QString> &value);

    // The size text of a choice, "(" + formatted size + ")", or empty.
    static QString sizeText(const OllamaModel &model, const QLocale &locale);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The user chose another entry.
    void valueChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    // Ignored, so that scrolling the page over a closed picker scrolls the
    // page and never changes the choice.
    void wheelEvent(QWheelEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void selectValue();
    void userChoseIndex(int index);

    std::optional<QString> m_value;
    QList<OllamaModel> m_models;
    bool m_updating = false;
};
