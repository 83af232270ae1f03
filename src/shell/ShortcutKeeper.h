// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QList>
#include <QObject>

class QAction;
class QWidget;

// Keeps the window's command shortcuts (Ctrl+U, Ctrl+D...) for the commands wherever the
// focus is. A line edit claims some of them for its own editing keys (Ctrl+U deletes to
// the start of the line on X11), which would swallow the command.
class ShortcutKeeper : public QObject
{
    Q_OBJECT
public:
    ShortcutKeeper(QWidget *window, const QList<QAction *> &actions);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QList<QAction *> m_actions;
};
