// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class SerialForm;
class UserPrompt;

// "Change Node ID": shows the current node ID and sends the one the user picks or types.
class NodeIDForm : public QDialog
{
    Q_OBJECT
public:
    NodeIDForm(SerialForm *link, UserPrompt *prompt, QWidget *parent = nullptr);

    // The node ID a text asks for: its leading number rounded halves-to-even.
    // ok is false when that number does not fit a 16-bit signed integer.
    static qint16 nodeValue(const QString &text, bool *ok = nullptr);

    static QString rangeMessage();

private slots:
    void okClicked();

private:
    SerialForm *m_link;
    UserPrompt *m_prompt;
    QLabel *m_curNode;
    QLabel *m_newNode;
    QComboBox *m_combo;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
