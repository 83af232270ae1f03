#pragma once

#include "items/SetupItem.h"

#include <QStringList>

class QComboBox;

// An enumerated parameter: the user picks a display text, the device and settings files
// carry the matching token. Every selection change (and leaving the list) emits
// changed() and then selectionChanged(), so the window re-applies its availability rules.
class ListItem : public SetupItem
{
    Q_OBJECT
public:
    static constexpr int MaxChoices = 21;

    explicit ListItem(const ItemContext &context, QWidget *parent = nullptr);

    void set_all(const QString &s, const QString &t);
    void init_list();
    // Appends a choice and selects the first one. Choices past MaxChoices are not added.
    void add_item(const QString &display, const QString &token);
    int getindex() const;
    void set_value(const QString &token);
    QString token(int index) const;
    int count() const;

    void ser_write() override;
    QString make_file_write_str() const override;
    void set_value_variant(const QVariant &value) override;
    QString value_text() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Selects the first entry whose token equals the text exactly; false when none does.
    void take(const QString &text) override { match(text); }
    bool match(const QString &text);
    void select(int index);
    void selection_change();

    QComboBox *m_list;
    QStringList m_tokens;
};
