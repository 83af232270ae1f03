// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractTableModel>
#include <QList>

#include <array>

class DeviceValues;
class EditTracker;
class Setting;
class SettingsSet;

// Every setting of the form as one row, in the order of the tabs: where it sits, its code,
// the form's value and unit, the factory value, the device's value as last read, and
// three marks: edited since the last walk, not the factory value, not the device's value
// (both by the wire rule: equal when the device would hold the same text, in the unit
// it holds lengths in). Another view of the form's settings, never a copy: an edit goes
// through the setting's own edit operations, as an editor on a tab hands it over, and a
// row is reported to views only when something it shows changed.
class SettingsTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Tab, Title, Code, Value, Unit, Factory, Device, Edited, NotFactory, NotDevice, ColumnCount };
    enum Role {
        SortRole = Qt::UserRole, // a number for numbers, else the text; a mark is 0 or 1
        ChoicesRole,             // what an edit picks from (a list's choices, the units); else none
        SearchRole,              // what a search looks in: code, title, tab and value, a line each
    };

    // tracker and device may be null: no edit marks, no device values.
    SettingsTableModel(SettingsSet *settings, const EditTracker *tracker, const DeviceValues *device,
                       QObject *parent = nullptr);

    Setting *settingAt(int row) const { return m_rows.value(row); }
    int rowOf(const Setting *setting) const;
    // How many rows carry the mark of this column.
    int marked(Column mark) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Value: typed text, or a list's choice (its index or its text); Unit: a length's unit.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // How many rows carry a mark changed (after the rows were reported).
    void countsChanged();

private:
    // What a row shows beyond its fixed columns.
    struct Shown
    {
        QString value, unit, factory, device;
        bool edited = false, notFactory = false, notDevice = false;
        bool operator==(const Shown &o) const
        {
            return value == o.value && unit == o.unit && factory == o.factory && device == o.device
                && edited == o.edited && notFactory == o.notFactory && notDevice == o.notDevice;
        }
    };
    Shown compute(int row) const;
    QString text(int row, int column) const;
    // Rows are reported when they show something new, the counts when one moved.
    void refreshRows(int first, int last);
    void refreshAll();
    void refresh(int row);
    void count(const Shown &shown, int sign);
    int formUnits() const;

    SettingsSet *m_settings;
    const EditTracker *m_tracker;
    const DeviceValues *m_device;
    SettingsSet *m_factory;
    QList<Setting *> m_rows;
    QList<const Setting *> m_factoryRows; // nullptr where there is no factory value
    QList<Shown> m_shown;
    // Rows marked edited, not factory and not the device's, kept with m_shown so that a
    // count costs nothing while every row of a walk is refreshed.
    std::array<int, 3> m_counts{};
    int m_units = 0;
};
