// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/LengthUnits.h"
#include "model/Setting.h"

#include <QHash>
#include <QList>
#include <QObject>

class FloatSetting;
class ListSetting;
class ParameterLink;

// Every parameter of the catalogue as a setting, in the item list's order (the order the
// window creates its editors in: the 72 of its layout, then magnet offsets 2 to 15), each
// configured from its catalogue row, with the length-unit model they convert against.
// A set without a link holds values only: a settings file read for comparison, or the
// device's values read back beside the form's.
class SettingsSet : public QObject
{
    Q_OBJECT
public:
    explicit SettingsSet(ParameterLink *link = nullptr, QObject *parent = nullptr);

    const QList<Setting *> &item_list() const { return m_items; }
    Setting *byCode(const QString &code) const; // exact case
    Setting *byControl(const QString &control, int index = -1) const;
    ListSetting *unitsItem() const; // the setting whose code is "PU"
    ListSetting *ttypeItem() const;

    LengthUnits &units() { return m_units; }
    const LengthUnits &units() const { return m_units; }
    // current_units from the units setting's choice, as every transfer starts.
    void refreshCurrentUnits();

    // The form's own copy of the factory settings, in the order they are applied.
    void applyFactoryDefaults();

private:
    LengthUnits m_units;
    QList<Setting *> m_items;
    QHash<QString, Setting *> m_byCode; // views and walks look codes up for every row

};
