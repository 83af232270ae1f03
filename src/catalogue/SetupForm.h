// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "items/SetupItem.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace ParameterTable {
struct Parameter;
}

class EditTracker;
class QComboBox;
class QGridLayout;
class QLabel;
class QTabWidget;
class ListSetting;
class Setting;
class SettingsSet;

// The tab caption colour: black when the form matches the device, pure red after an
// edit while connected, the system grey-text colour when no device is connected.
enum class SyncColour { InStep, Changed, NoDevice };

// The tabbed form: an editor for every setting of the set, on its tab, in item-list
// order; the availability rules and the two group selectors (MagOffCombo, LimitCombo).
class SetupForm : public QObject
{
    Q_OBJECT
public:
    // tabs must be empty; the eight pages are created here, in tab order.
    SetupForm(SettingsSet *settings, QTabWidget *tabs, QObject *parent = nullptr);

    // Names and places the editors the catalogue shapes: the magnet offsets and limit
    // switches behind their selectors, titles aligned.
    void build_catalogue();
    void update_disabled();
    // Each item's change mark, and each tab's caption with how many marks it holds
    // ("Position (2)"); the caption colour is left as it is.
    void showMarks(const EditTracker &tracker);
    // Brings a setting's editor into view: its tab, its group selector's entry, the
    // keyboard focus.
    void showSetting(const Setting *setting);

    SettingsSet *settings() const { return m_settings; }
    SetupItem *item(const QString &control, int index = -1) const;
    SetupItem *itemFor(const Setting *setting) const;
    QComboBox *magOffCombo() const;
    QComboBox *limitCombo() const;
    QLabel *sectionLabel(const QString &name) const; // "ssilabel", "pwmlabel"...

signals:
    // Any setting changed, or a settings-file line was offered: mark_changed.
    void itemChanged();

private:
    void createItems();
    void layOut();
    QWidget *placeEntry(const QString &entry, QWidget *page);
    void alignTitles();
    void fitCaptions();
    void onMagOffSelected(int index);
    void onLimitSelected(int index);

    SettingsSet *m_settings;
    QTabWidget *m_tabs;
    QHash<QString, SetupItem *> m_items; // by Parameter::name()
    QHash<QString, QLabel *> m_labels;
    QComboBox *m_magOffCombo = nullptr;
    QComboBox *m_limitCombo = nullptr;
    QGridLayout *m_magOffSpot = nullptr;
};
