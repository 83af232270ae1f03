#include "catalogue/SetupForm.h"

#include "catalogue/ParameterTable.h"

#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

SetupForm::SetupForm(const ItemContext &context, QTabWidget *tabs, QObject *parent)
    : QObject(parent), m_ctx(context), m_tabs(tabs)
{
    for (const QString &caption : ParameterTable::tabs()) {
        auto *page = new QWidget;
        page->setObjectName(caption);
        m_tabs->addTab(page, caption);
    }
}

void SetupForm::build_catalogue() {}
void SetupForm::update_disabled() {}
SetupItem *SetupForm::item(const QString &control, int index) const
{
    return m_items.value(ParameterTable::Parameter{control, index}.name());
}
ListItem *SetupForm::unitsItem() const { return nullptr; }
ListItem *SetupForm::ttypeItem() const { return nullptr; }
QComboBox *SetupForm::magOffCombo() const { return m_magOffCombo; }
QComboBox *SetupForm::limitCombo() const { return m_limitCombo; }
QLabel *SetupForm::sectionLabel(const QString &name) const { return m_labels.value(name); }
void SetupForm::createItems() {}
void SetupForm::onMagOffSelected(int) {}
void SetupForm::onLimitSelected(int) {}
