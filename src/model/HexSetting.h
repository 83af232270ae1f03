// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/Setting.h"

// A 32-bit pattern shown as eight upper-case hexadecimal digits. Limits are kept but
// never applied. Leaving the editor normalises what was typed.
class HexSetting : public Setting
{
    Q_OBJECT
public:
    using Setting::Setting;

    // Limits are taken as 32-bit patterns, so 4294967295 (FFFFFFFF) is -1.
    void set_all(const QString &s, const QString &t, qint64 minval, qint64 maxval);
    void set_limits(qint64 minval, qint64 maxval);
    void set_value(qint32 value);
    qint32 lowerLimit() const { return m_min; }
    qint32 upperLimit() const { return m_max; }
    // The 32-bit pattern the text stands for, as leaving the editor would show it.
    qint32 value() const;

    void editText(const QString &text) { editTo(text); }
    // Leaving the editor: trimmed, cut to its last eight characters, shown padded.
    void normalise();

    void setDefault(const QVariant &value) override;
    QString valueText() const override { return text(); }
    QString fileValue() const override;
    // Refused only when it holds more digits than 32 bits carry.
    bool take(const QString &text) override;

protected:
    QString wireValue() const override;
    bool isValue(const QString &reply) const override;

private:
    qint32 m_min = 0;
    qint32 m_max = 0;
};
