// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/Setting.h"

// A whole-number parameter within signed 16-bit limits. Replies and file values are
// rounded (halves to even) and taken only within the limits; writes and file lines carry
// whatever number the text starts with, so typed text is never refused.
class IntegerSetting : public Setting
{
    Q_OBJECT
public:
    using Setting::Setting;

    void set_all(const QString &s, const QString &t, qint16 minval, qint16 maxval);
    void set_limits(qint16 minval, qint16 maxval);
    void set_value(qint16 value); // shown only within the limits
    qint16 lowerLimit() const { return m_min; }
    qint16 upperLimit() const { return m_max; }

    // What the user typed or stepped to.
    void editText(const QString &text) { editTo(text); }

    void setDefault(const QVariant &value) override;
    QString valueText() const override { return text(); }
    QString fileValue() const override;
    bool take(const QString &text) override;

signals:
    void limitsChanged();

protected:
    QString wireValue() const override;
    bool isValue(const QString &reply) const override;

private:
    qint16 m_min = 0;
    qint16 m_max = 0;
};
