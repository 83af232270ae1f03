// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QPushButton;
class QTableWidget;
class Setting;

// The parameters whose values differ between the form and another set of values (the
// device read back, a settings file): tab, title, code, what the form holds and what the
// other holds, in the form's unit. A button brings the selected parameter's editor into
// view. When taking is offered, each row has a tick box and "Take these values" puts the
// ticked rows' other values into the form; nothing changes otherwise. Modeless, so the
// form can be looked at row by row while it is open.
class CompareDialog : public QDialog
{
    Q_OBJECT
public:
    struct Row
    {
        Setting *mine;        // the form's setting
        const Setting *other; // the same parameter in the other set; nullptr: not read
        QString tab, title, code, mineText, otherText;
    };

    CompareDialog(const QString &title, const QString &heading, const QString &otherColumn, const QList<Row> &rows,
                  bool offerTaking, QWidget *parent = nullptr);

    QTableWidget *table() const { return m_table; }

signals:
    void showRequested(const Setting *setting);

private:
    QPushButton *addButton(const QString &name, const QString &text);
    void showCurrent();
    void takeTicked();
    void refreshButtons();

    QList<Row> m_rows;
    QTableWidget *m_table;
    QPushButton *m_show = nullptr;
    QPushButton *m_take = nullptr;
};
