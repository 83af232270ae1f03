// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/Setting.h"

#include <QStringList>

// An enumerated parameter: the user picks a display text, the device and settings files
// carry the matching token. Every selection change, and the validation of leaving the
// selector, emits changed() and then selectionChanged(), so the window re-applies its
// availability rules.
class ListSetting : public Setting
{
    Q_OBJECT
public:
    static constexpr int MaxChoices = 21;

    using Setting::Setting;

    void set_all(const QString &s, const QString &t);
    void init_list();
    // Appends a choice and selects the first one. Choices past MaxChoices are not added.
    void add_item(const QString &display, const QString &token);
    int getindex() const { return m_index; }
    // Selects the first choice whose token equals it exactly; others change nothing.
    void set_value(const QString &token);
    QString token(int index) const;
    const QStringList &displays() const { return m_displays; }
    int count() const { return int(m_tokens.size()); }

    // The user picked this choice.
    void choose(int index);
    // The user left the selector: validated, which counts as a selection change.
    void validate();

    void setDefault(const QVariant &value) override { set_value(value.toString()); }
    QString valueText() const override;
    QString fileValue() const override { return token(m_index); }
    // Refused when no choice carries the token.
    bool take(const QString &text) override;

signals:
    void choicesChanged();

protected:
    QString wireValue() const override { return token(m_index); }

private:
    void select(int index);

    QStringList m_displays;
    QStringList m_tokens;
    int m_index = -1;
};
