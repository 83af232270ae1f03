// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/DialogPrompt.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

DialogPrompt::DialogPrompt(QWidget *parent) : m_parent(parent) {}

void DialogPrompt::setParentWidget(QWidget *parent)
{
    m_parent = parent;
}

void DialogPrompt::message(const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QTX2 Setlink"), text, QMessageBox::Ok, m_parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

bool DialogPrompt::question(const QString &text, const QString &first, const QString &second)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("QTX2 Setlink"), text, QMessageBox::NoButton, m_parent);
    box.setObjectName(QStringLiteral("QuestionBox"));
    QPushButton *yes = box.addButton(first, QMessageBox::AcceptRole);
    QPushButton *no = box.addButton(second, QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

int DialogPrompt::choose(const QString &text, const QStringList &entries, const QString &accept)
{
    QInputDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("ChooseDialog"));
    dialog.setWindowTitle(QStringLiteral("QTX2 Setlink"));
    dialog.setLabelText(text);
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog.setComboBoxItems(entries);
    // The list view starts with no entry chosen; the first is the one most often wanted.
    if (!entries.isEmpty())
        dialog.setTextValue(entries.first());
    dialog.setOkButtonText(accept);
    dialog.resize(520, 360);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    return int(entries.indexOf(dialog.textValue()));
}

QString DialogPrompt::openFileName()
{
    // No filter, title or starting name: every file is listed under the dialog's own title.
    return QFileDialog::getOpenFileName(m_parent);
}

QString DialogPrompt::saveFileName()
{
    // The dialog asks before overwriting an existing file.
    return QFileDialog::getSaveFileName(m_parent);
}

QString DialogPrompt::saveFileAs(const QString &caption, const QString &filter, const QString &suggestedName)
{
    return QFileDialog::getSaveFileName(m_parent, caption, suggestedName, filter);
}
