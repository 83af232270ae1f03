// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/NodeIDForm.h"

#include "model/NumberText.h"
#include "link/SerialForm.h"
#include "link/UserPrompt.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

NodeIDForm::NodeIDForm(SerialForm *link, UserPrompt *prompt, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_link(link)
    , m_prompt(prompt)
    , m_curNode(new QLabel(this))
    , m_newNode(new QLabel(QStringLiteral("New Node ID:"), this))
    , m_combo(new QComboBox(this))
    , m_ok(new QPushButton(QStringLiteral("OK"), this))
    , m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("NodeIDForm"));
    setWindowTitle(QStringLiteral("Change Node ID"));
    setModal(true);

    m_curNode->setObjectName(QStringLiteral("CurNodeLabel"));
    m_newNode->setObjectName(QStringLiteral("NewNodeLabel"));
    m_combo->setObjectName(QStringLiteral("NodeCombo"));
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_cancel->setObjectName(QStringLiteral("CancelButton"));

    m_combo->setEditable(true);
    // Enter in the field means OK, not "add this text to the list".
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    for (int n = 1; n <= 9; ++n)
        m_combo->addItem(QString::number(n));
    m_newNode->setBuddy(m_combo);

    const qint16 current = m_link ? m_link->get_nodeid() : 0;
    m_curNode->setText(QStringLiteral("Current Node ID: %1").arg(current));
    if (current >= 1 && current <= 9) {
        m_combo->setCurrentIndex(current - 1);
    } else {
        m_combo->setCurrentIndex(-1);
        m_combo->clearEditText();
    }

    // OK is the default while no button has the focus; a focused button takes Enter for
    // itself, so Enter on a focused Cancel cancels.
    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &NodeIDForm::okClicked);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(m_curNode, 0, 0, 1, 2);
    grid->addWidget(m_newNode, 1, 0);
    grid->addWidget(m_combo, 1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_combo->setFocus();
}

qint16 NodeIDForm::nodeValue(const QString &text, bool *ok)
{
    return NumberText::roundInt16(NumberText::leadingValue(text), ok);
}

QString NodeIDForm::rangeMessage()
{
    return QStringLiteral("Node ID must be a whole number from -32768 to 32767");
}

void NodeIDForm::okClicked()
{
    bool ok = false;
    const qint16 id = nodeValue(m_combo->currentText(), &ok);
    if (!ok) {
        // Sending a wrapped or clipped number would readdress the device by surprise;
        // let the user correct the text instead.
        if (m_prompt)
            m_prompt->message(rangeMessage());
        m_combo->setFocus();
        if (m_combo->lineEdit())
            m_combo->lineEdit()->selectAll();
        return;
    }
    // The link reports a failure itself; the dialog closes either way.
    const bool changed = m_link && m_link->change_nodeid(id);
    done(changed ? QDialog::Accepted : QDialog::Rejected);
}
