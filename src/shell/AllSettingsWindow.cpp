// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/AllSettingsWindow.h"

#include "model/DeviceValues.h"
#include "model/SettingsFilter.h"
#include "model/SettingsTableModel.h"
#include "shell/ChoiceDelegate.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>

AllSettingsWindow::AllSettingsWindow(SettingsSet *settings, const EditTracker *tracker, const DeviceValues *device,
                                     QWidget *parent)
    : PlacedToolWindow(QStringLiteral("AllSettings/Geometry"), QSize(900, 560), parent),
      m_device(device),
      m_model(new SettingsTableModel(settings, tracker, device, this)),
      m_filter(new SettingsFilter(this)),
      m_search(new QLineEdit(this)),
      m_editedOnly(new QCheckBox(QStringLiteral("&Edited only"), this)),
      m_notFactory(new QCheckBox(QStringLiteral("&Not factory"), this)),
      m_table(new QTableView(this)),
      m_count(new QLabel(this))
{
    setObjectName(QStringLiteral("AllSettingsWindow"));
    setWindowTitle(QStringLiteral("All Settings"));

    m_search->setObjectName(QStringLiteral("AllSettingsSearch"));
    m_search->setPlaceholderText(QStringLiteral("Code, title, tab or value"));
    m_search->setClearButtonEnabled(true);
    m_search->setAccessibleName(QStringLiteral("Search settings"));
    m_search->setAccessibleDescription(QStringLiteral("Shows the settings whose code, title, tab or value holds the text"));
    auto *searchLabel = new QLabel(QStringLiteral("&Search:"), this);
    searchLabel->setBuddy(m_search);
    m_editedOnly->setObjectName(QStringLiteral("EditedOnlyCheck"));
    m_editedOnly->setToolTip(QStringLiteral("Only the settings edited since the last upload, download or settings file"));
    m_notFactory->setObjectName(QStringLiteral("NotFactoryCheck"));
    m_notFactory->setToolTip(QStringLiteral("Only the settings that differ from the factory value"));

    m_filter->setSourceModel(m_model);
    m_table->setObjectName(QStringLiteral("AllSettingsTable"));
    m_table->setAccessibleName(QStringLiteral("All settings"));
    m_table->setModel(m_filter);
    m_table->setItemDelegate(new ChoiceDelegate(m_table));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
    // Tab leaves the table for the other controls, as everywhere else in the window.
    m_table->setTabKeyNavigation(false);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    m_table->horizontalHeader()->setSectionResizeMode(SettingsTableModel::Title, QHeaderView::Stretch);

    m_count->setObjectName(QStringLiteral("AllSettingsCount"));
    auto *goTo = new QPushButton(QStringLiteral("&Go to Field"), this);
    goTo->setObjectName(QStringLiteral("GoToFieldButton"));
    goTo->setToolTip(QStringLiteral("Show the setting's field on its tab"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("AllSettingsCloseButton"));
    // No default button: Enter belongs to the table and the search.
    for (QPushButton *b : {goTo, close})
        b->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->addWidget(searchLabel);
    top->addWidget(m_search, 1);
    top->addWidget(m_editedOnly);
    top->addWidget(m_notFactory);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(goTo);
    bottom->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addLayout(bottom);

    connect(m_search, &QLineEdit::textChanged, m_filter, &SettingsFilter::setSearch);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        // From the search to the first setting found.
        if (m_filter->rowCount() == 0)
            return;
        m_table->setFocus(Qt::OtherFocusReason);
        m_table->setCurrentIndex(m_filter->index(0, SettingsTableModel::Title));
    });
    connect(m_editedOnly, &QCheckBox::toggled, m_filter, &SettingsFilter::setEditedOnly);
    connect(m_notFactory, &QCheckBox::toggled, m_filter, &SettingsFilter::setNotFactoryOnly);
    connect(m_table, &QTableView::activated, this, &AllSettingsWindow::activated);
    connect(goTo, &QPushButton::clicked, this, &AllSettingsWindow::goToField);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto *find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &AllSettingsWindow::showSearch);

    connect(m_filter, &QAbstractItemModel::rowsInserted, this, &AllSettingsWindow::updateCount);
    connect(m_filter, &QAbstractItemModel::rowsRemoved, this, &AllSettingsWindow::updateCount);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &AllSettingsWindow::updateCount);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &AllSettingsWindow::updateCount);
    connect(m_model, &SettingsTableModel::countsChanged, this, &AllSettingsWindow::updateCount);
    // Values read or forgotten change the text when no count moves; the model, connected
    // first, has counted anew by then.
    if (m_device)
        connect(m_device, &DeviceValues::valuesChanged, this, &AllSettingsWindow::updateCount);
    updateCount();
}

Setting *AllSettingsWindow::currentSetting() const
{
    const QModelIndex current = m_filter->mapToSource(m_table->currentIndex());
    return current.isValid() ? m_model->settingAt(current.row()) : nullptr;
}

void AllSettingsWindow::showSearch()
{
    show();
    raise();
    activateWindow();
    m_search->setFocus(Qt::ShortcutFocusReason);
    m_search->selectAll();
}

void AllSettingsWindow::goToField()
{
    if (Setting *setting = currentSetting())
        emit showRequested(setting);
}

// Enter on a value edits it; on any other column it goes to the field.
void AllSettingsWindow::activated(const QModelIndex &index)
{
    if (index.flags() & Qt::ItemIsEditable)
        m_table->edit(index);
    else
        goToField();
}

void AllSettingsWindow::updateCount()
{
    using M = SettingsTableModel;
    QString text = QStringLiteral("%1 of %2 settings shown; %3 edited, %4 not factory")
                       .arg(m_filter->rowCount())
                       .arg(m_model->rowCount())
                       .arg(m_model->marked(M::Edited))
                       .arg(m_model->marked(M::NotFactory));
    text += m_device && m_device->any() ? QStringLiteral(", %1 differ from the QTX2").arg(m_model->marked(M::NotDevice))
                                        : QStringLiteral("; QTX2 values not read");
    m_count->setText(text + QLatin1Char('.'));
}

void AllSettingsWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape empties a search before it closes the window.
    if (event->key() == Qt::Key_Escape && focusWidget() == m_search && !m_search->text().isEmpty()) {
        m_search->clear();
        event->accept();
        return;
    }
    PlacedToolWindow::keyPressEvent(event);
}
