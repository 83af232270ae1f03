#include "shell/DialogPrompt.h"

#include <QFileDialog>
#include <QMessageBox>

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
