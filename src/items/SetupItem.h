// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QHBoxLayout;
class QLineEdit;
class QLabel;
class Setting;

// The editor of one setting on its tab: the title, then the kind's editors. It shows the
// setting's value and hands what the user types or picks to the setting; the value, its
// rules and its traffic live in the setting.
class SetupItem : public QWidget
{
    Q_OBJECT
public:
    explicit SetupItem(Setting *setting, QWidget *parent = nullptr);

    Setting *setting() const { return m_setting; }
    QString get_serstring() const;
    QString title() const; // with the ":"
    // The text the editor shows.
    QString valueText() const;

    // The name assistive tools read for the editor; by default the title without its
    // ":". The form names items whose titles are empty or shared (magnet offsets, the
    // two bounds of a limit switch).
    void setAssistiveName(const QString &name);
    QString assistiveName() const;

    // Only the look changes: title and editors in the normal or the grey text colour; the
    // item stays editable and keeps taking part in transfers.
    void enable(bool on);
    bool isEnabledLook() const { return m_enabledLook; }

    // The change mark: a bar at the item's left edge, dark enough to read in grey-scale,
    // and "changed" for assistive tools, while the user's edit has not reached the device
    // or come from a file.
    void setChangedMark(bool on);
    bool hasChangedMark() const { return m_marked; }
    // The first editor takes the keyboard focus.
    void focusEditor();

protected:
    // Places an editor after the title (or the previous editor). It shows the code as its
    // tooltip, is named for assistive tools (the item's name, then the role when given)
    // and follows the enable look.
    void addEditor(QWidget *editor, const QString &role = QString());
    QLabel *titleLabel() const { return m_titleLabel; }
    // The value field ("ValueText") bound to the setting's text both ways: what the user
    // types goes to edit, and a value that arrives is shown.
    QLineEdit *addValueField(const std::function<void(const QString &)> &edit);

private:
    void refreshNames();
    void applyLook();

    Setting *m_setting;
    QString m_accessibleName;
    QWidget *m_mark;
    QLabel *m_titleLabel;
    QHBoxLayout *m_layout;
    QList<QPair<QWidget *, QString>> m_editors; // editor, role
    bool m_enabledLook = true;
    bool m_marked = false;
};
