// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/ShortcutKeeper.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

ShortcutKeeper::ShortcutKeeper(QWidget *window, const QList<QAction *> &actions)
    : QObject(window), m_window(window), m_actions(actions)
{
    // The override is sent to whichever widget has the focus, so watch them all.
    qApp->installEventFilter(this);
}

bool ShortcutKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != m_window)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const QAction *action : std::as_const(m_actions)) {
        if (!action->shortcut().isEmpty() && action->shortcut().matches(pressed) == QKeySequence::ExactMatch) {
            // Refused by the focus widget, the key goes on to the shortcut.
            event->ignore();
            return true;
        }
    }
    return false;
}
