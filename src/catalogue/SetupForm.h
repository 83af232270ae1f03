#pragma once

#include "items/SetupItem.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace ParameterTable {
struct Parameter;
}

class QComboBox;
class QGridLayout;
class QLabel;
class QTabWidget;
class ListItem;

// The tab caption colour: black when the form matches the device, pure red after an
// edit while connected, the system grey-text colour when no device is connected.
enum class SyncColour { InStep, Changed, NoDevice };

// The tabbed form of setup items: creates every item on its tab in creation order,
// configures them from the parameter table (build_catalogue), and keeps the
// availability rules and the two group selectors (MagOffCombo, LimitCombo).
class SetupForm : public QObject
{
    Q_OBJECT
public:
    // tabs must be empty; the eight pages are created here, in tab order.
    SetupForm(const ItemContext &context, QTabWidget *tabs, QObject *parent = nullptr);

    void build_catalogue();
    void update_disabled();

    SetupItem *item(const QString &control, int index = -1) const;
    ListItem *unitsItem() const;
    ListItem *ttypeItem() const;
    QComboBox *magOffCombo() const;
    QComboBox *limitCombo() const;
    QLabel *sectionLabel(const QString &name) const; // "ssilabel", "pwmlabel"...

signals:
    // Any item's editor changed, or a settings-file line was offered: mark_changed.
    void itemChanged();

private:
    void createItems();
    SetupItem *addItem(const ParameterTable::Parameter &p, QWidget *page);
    void layOut();
    QWidget *placeEntry(const QString &entry, QWidget *page);
    void alignTitles();
    void onMagOffSelected(int index);
    void onLimitSelected(int index);

    ItemContext m_ctx;
    QTabWidget *m_tabs;
    QHash<QString, SetupItem *> m_items; // by Parameter::name()
    QHash<QString, QLabel *> m_labels;
    QComboBox *m_magOffCombo = nullptr;
    QComboBox *m_limitCombo = nullptr;
    QGridLayout *m_magOffSpot = nullptr;
};
