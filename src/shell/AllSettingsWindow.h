// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "monitor/PlacedToolWindow.h"

class DeviceValues;
class EditTracker;
class QCheckBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QTableView;
class Setting;
class SettingsFilter;
class SettingsSet;
class SettingsTableModel;

// "All Settings": every setting in one table beside the tabs, with a search, the toggles
// "Edited only" and "Not factory", and a count of what differs. A value edited here is
// edited as on its tab; Enter or a double-click on a row's title (or Go to Field) asks
// for the setting's field on its tab. Non-modal; it remembers its own size and place.
class AllSettingsWindow : public PlacedToolWindow
{
    Q_OBJECT
public:
    AllSettingsWindow(SettingsSet *settings, const EditTracker *tracker, const DeviceValues *device,
                      QWidget *parent = nullptr);

    SettingsTableModel *model() const { return m_model; }
    SettingsFilter *filter() const { return m_filter; }
    QTableView *table() const { return m_table; }
    // The setting of the current row, or nullptr.
    Setting *currentSetting() const;

public slots:
    void showSearch();
    void goToField();

signals:
    void showRequested(const Setting *setting);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void activated(const QModelIndex &index);
    void updateCount();

    const DeviceValues *m_device;
    SettingsTableModel *m_model;
    SettingsFilter *m_filter;
    QLineEdit *m_search;
    QCheckBox *m_editedOnly;
    QCheckBox *m_notFactory;
    QTableView *m_table;
    QLabel *m_count;
};
