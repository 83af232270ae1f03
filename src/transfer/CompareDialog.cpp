// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "transfer/CompareDialog.h"

#include "model/Setting.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
enum Column { Tick, Tab, Title, Code, Form, Other, Columns };
} // namespace

CompareDialog::CompareDialog(const QString &title, const QString &heading, const QString &otherColumn,
                             const QList<Row> &rows, bool offerTaking, QWidget *parent)
    : QDialog(parent), m_rows(rows), m_table(new QTableWidget(int(rows.size()), Columns, this))
{
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *label = new QLabel(heading, this);
    label->setObjectName(QStringLiteral("CompareHeading"));
    label->setWordWrap(true);

    m_table->setObjectName(QStringLiteral("CompareTable"));
    m_table->setHorizontalHeaderLabels({QString(), tr("Tab"), tr("Setting"), tr("Code"), tr("Form"), otherColumn});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->setColumnHidden(Tick, !offerTaking);
    for (int r = 0; r < rows.size(); ++r) {
        const Row &row = rows.at(r);
        const QStringList texts{QString(), row.tab, row.title, row.code, row.mineText, row.otherText};
        for (int c = 0; c < Columns; ++c) {
            auto *cell = new QTableWidgetItem(texts.at(c));
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_table->setItem(r, c, cell);
        }
        if (offerTaking && row.other) {
            QTableWidgetItem *tick = m_table->item(r, Tick);
            tick->setFlags(tick->flags() | Qt::ItemIsUserCheckable);
            tick->setCheckState(Qt::Unchecked);
            tick->setData(Qt::AccessibleTextRole, tr("take %1").arg(row.title));
        }
    }
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *buttons = new QHBoxLayout;
    m_show = addButton(QStringLiteral("ShowButton"), tr("&Show in Form"));
    buttons->addWidget(m_show);
    buttons->addStretch(1);
    if (offerTaking) {
        m_take = addButton(QStringLiteral("TakeButton"), tr("&Take these values"));
        buttons->addWidget(m_take);
        connect(m_take, &QPushButton::clicked, this, &CompareDialog::takeTicked);
    }
    QPushButton *close = addButton(QStringLiteral("CloseButton"), tr("Close"));
    buttons->addWidget(close);
    connect(m_show, &QPushButton::clicked, this, &CompareDialog::showCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &CompareDialog::showCurrent);
    connect(m_table, &QTableWidget::itemChanged, this, &CompareDialog::refreshButtons);
    connect(m_table, &QTableWidget::currentCellChanged, this, &CompareDialog::refreshButtons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    resize(640, 340);
    if (!rows.isEmpty())
        m_table->setCurrentCell(0, Title);
    m_table->setFocus();
    refreshButtons();
}

QPushButton *CompareDialog::addButton(const QString &name, const QString &text)
{
    // No default button: Enter presses the button that has the focus, and Escape closes.
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setAutoDefault(true);
    button->setDefault(false);
    return button;
}

void CompareDialog::refreshButtons()
{
    m_show->setEnabled(m_table->currentRow() >= 0);
    if (!m_take)
        return;
    bool any = false;
    for (int r = 0; r < m_table->rowCount() && !any; ++r)
        any = m_table->item(r, Tick)->checkState() == Qt::Checked;
    m_take->setEnabled(any);
}

void CompareDialog::showCurrent()
{
    const int r = m_table->currentRow();
    if (r >= 0 && r < m_rows.size())
        emit showRequested(m_rows.at(r).mine);
}

void CompareDialog::takeTicked()
{
    for (int r = 0; r < m_rows.size(); ++r) {
        const Row &row = m_rows.at(r);
        if (row.other && m_table->item(r, Tick)->checkState() == Qt::Checked)
            row.mine->takeValueOf(*row.other);
    }
    accept();
}
