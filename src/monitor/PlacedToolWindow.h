// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QSize>
#include <QString>

// A non-modal tool window beside the main window that remembers its size and place under
// its own settings key, kept when it hides and when it goes with the window still shown.
// Enter presses the button that has the focus and nothing else, so no default button
// acts from a list or a field.
class PlacedToolWindow : public QDialog
{
    Q_OBJECT
public:
    PlacedToolWindow(const QString &placeKey, QSize defaultSize, QWidget *parent = nullptr);
    ~PlacedToolWindow() override;

protected:
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void storePlace();

    QString m_placeKey;
};
