// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SettingsTableModel.h"

#include "model/DeviceValues.h"
#include "model/EditTracker.h"
#include "model/FactoryDefaults.h"
#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/LengthUnits.h"
#include "model/ListSetting.h"
#include "model/SettingsSet.h"

namespace {

const QString Mark = QStringLiteral("\u25CF");

struct Heading
{
    const char *caption;
    const char *description; // for the tooltip and assistive tools
};
const Heading Headings[SettingsTableModel::ColumnCount] = {
    {"Tab", "The tab the setting is on"},
    {"Title", "The setting's title; Enter or a double-click goes to its field"},
    {"Code", "The QTX2's command code (case matters)"},
    {"Value", "The value the form holds"},
    {"Unit", "The unit a length is shown in"},
    {"Factory", "The factory value"},
    {"QTX2", "The QTX2's value as last read from it"},
    {"Edited", "Edited since the last upload, download or settings file"},
    {"\u2260 Factory", "Differs from the factory value"},
    {"\u2260 QTX2", "Differs from the QTX2's value as last read"},
};

// A choice given as its index, or as its text (any case).
int choiceIndex(const QStringList &choices, const QVariant &value)
{
    if (value.typeId() == QMetaType::Int)
        return value.toInt() >= 0 && value.toInt() < choices.size() ? value.toInt() : -1;
    const QString text = value.toString();
    const int exact = int(choices.indexOf(text));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < choices.size(); ++i)
        if (choices.at(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

SettingsTableModel::SettingsTableModel(SettingsSet *settings, const EditTracker *tracker, const DeviceValues *device,
                                       QObject *parent)
    : QAbstractTableModel(parent), m_settings(settings), m_tracker(tracker), m_device(device),
      m_factory(new SettingsSet(nullptr, this))
{
    m_factory->applyFactoryDefaults();
    for (const ParameterTable::Parameter &p : ParameterTable::parameters()) {
        Setting *s = settings->byCode(p.code);
        if (!s)
            continue;
        const int row = int(m_rows.size());
        m_rows.append(s);
        m_factoryRows.append(FactoryDefaults::byCode(p.code).isValid() ? m_factory->byCode(p.code) : nullptr);
        // A value that moves is shown anew; changed() alone comes with every file line
        // offered and every list validation, and moves nothing.
        connect(s, &Setting::displayChanged, this, [this, row] { refreshRows(row, row); });
    }
    m_units = formUnits();
    for (int row = 0; row < m_rows.size(); ++row) {
        m_shown.append(compute(row));
        count(m_shown.last(), 1);
    }
    // Lengths compare in the unit the form would write them in.
    connect(settings->unitsItem(), &Setting::displayChanged, this, [this] {
        if (formUnits() != m_units) {
            m_units = formUnits();
            refreshAll();
        }
    });
    if (tracker)
        connect(tracker, &EditTracker::marksChanged, this, &SettingsTableModel::refreshAll);
    if (device)
        connect(device, &DeviceValues::valuesChanged, this, &SettingsTableModel::refreshAll);
}

int SettingsTableModel::formUnits() const
{
    const int u = m_settings->unitsItem()->getindex();
    return LengthUnits::isValid(u) ? u : 0;
}

SettingsTableModel::Shown SettingsTableModel::compute(int row) const
{
    const Setting *s = m_rows.at(row);
    const auto *length = qobject_cast<const FloatSetting *>(s);
    const int unit = length && length->isLength() ? length->displayUnit() : -1;
    // Other values of a length are shown in the unit the form shows it in.
    const auto shown = [unit](const Setting *other) {
        const auto *f = qobject_cast<const FloatSetting *>(other);
        return f ? f->textIn(unit) : other->valueText();
    };
    Shown out;
    out.value = s->valueText();
    if (unit >= 0)
        out.unit = LengthUnits::selectorTexts().value(unit);
    if (const Setting *factory = m_factoryRows.at(row)) {
        out.factory = shown(factory);
        out.notFactory = !s->sameOnWire(*factory, m_units);
    }
    if (const Setting *device = m_device ? m_device->valueOf(*s) : nullptr) {
        out.device = shown(device);
        const int deviceUnits = m_device->units();
        out.notDevice = !s->sameOnWire(*device, deviceUnits >= 0 ? deviceUnits : m_units);
    }
    out.edited = m_tracker && m_tracker->isEdited(s);
    return out;
}

void SettingsTableModel::refreshRows(int first, int last)
{
    const std::array<int, 3> before = m_counts;
    for (int row = first; row <= last; ++row)
        refresh(row);
    if (m_counts != before)
        emit countsChanged();
}

void SettingsTableModel::refreshAll()
{
    refreshRows(0, int(m_rows.size()) - 1);
}

void SettingsTableModel::refresh(int row)
{
    Shown now = compute(row);
    if (now == m_shown.at(row))
        return;
    count(m_shown.at(row), -1);
    count(now, 1);
    m_shown[row] = std::move(now);
    emit dataChanged(index(row, Value), index(row, ColumnCount - 1));
}

void SettingsTableModel::count(const Shown &shown, int sign)
{
    m_counts[0] += shown.edited ? sign : 0;
    m_counts[1] += shown.notFactory ? sign : 0;
    m_counts[2] += shown.notDevice ? sign : 0;
}

int SettingsTableModel::rowOf(const Setting *setting) const
{
    return int(m_rows.indexOf(const_cast<Setting *>(setting)));
}

int SettingsTableModel::marked(Column mark) const
{
    return mark >= Edited && mark <= NotDevice ? m_counts[size_t(mark - Edited)] : 0;
}

int SettingsTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SettingsTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SettingsTableModel::text(int row, int column) const
{
    const ParameterTable::Parameter &p = *m_rows.at(row)->parameter();
    const Shown &s = m_shown.at(row);
    switch (column) {
    case Tab:
        return p.tab;
    case Title:
        return p.distinctTitle();
    case Code:
        return p.code;
    case Value:
        return s.value;
    case Unit:
        return s.unit;
    case Factory:
        return s.factory;
    case Device:
        return s.device;
    case Edited:
        return s.edited ? Mark : QString();
    case NotFactory:
        return s.notFactory ? Mark : QString();
    case NotDevice:
        return s.notDevice ? Mark : QString();
    }
    return QString();
}

QVariant SettingsTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    const bool mark = column >= Edited;
    const Setting *setting = m_rows.at(row);
    const auto *list = qobject_cast<const ListSetting *>(setting);
    const bool length = !m_shown.at(row).unit.isEmpty();
    switch (role) {
    case Qt::DisplayRole:
        return text(row, column);
    case Qt::EditRole:
        if (column == Value && list)
            return list->getindex();
        if (column == Unit && length)
            return static_cast<const FloatSetting *>(setting)->displayUnit();
        return text(row, column);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        if (mark)
            return text(row, column).isEmpty() ? (role == Qt::ToolTipRole ? QVariant() : QVariant(QStringLiteral("no")))
                                               : QVariant(QString::fromUtf8(Headings[column].description));
        if (column == Title && role == Qt::ToolTipRole)
            return QStringLiteral("%1 (%2)").arg(text(row, Title), text(row, Code));
        return role == Qt::AccessibleTextRole ? QVariant(text(row, column)) : QVariant();
    case Qt::TextAlignmentRole:
        return mark ? QVariant(Qt::AlignCenter) : QVariant();
    case SortRole: {
        if (mark)
            return text(row, column).isEmpty() ? 0 : 1;
        if (column == Tab)
            return int(ParameterTable::tabs().indexOf(text(row, Tab)));
        bool number = false;
        const double v = text(row, column).toDouble(&number);
        return number && !list ? QVariant(v) : QVariant(text(row, column));
    }
    case ChoicesRole:
        if (column == Value && list)
            return list->displays();
        if (column == Unit && length)
            return LengthUnits::selectorTexts();
        return QVariant();
    case SearchRole:
        return QStringList{text(row, Code), text(row, Title), text(row, Tab), text(row, Value)}.join(QLatin1Char('\n'));
    }
    return QVariant();
}

QVariant SettingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(Headings[section].caption);
    case Qt::ToolTipRole:
    case Qt::AccessibleTextRole:
        return QString::fromUtf8(Headings[section].description);
    }
    return QVariant();
}

Qt::ItemFlags SettingsTableModel::flags(const QModelIndex &index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (index.column() == Value || (index.column() == Unit && !m_shown.at(index.row()).unit.isEmpty()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool SettingsTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    Setting *s = m_rows.at(index.row());
    if (index.column() == Unit) {
        const int n = choiceIndex(LengthUnits::selectorTexts(), value);
        if (n < 0)
            return false;
        static_cast<FloatSetting *>(s)->selectUnit(n);
        return true;
    }
    if (auto *list = qobject_cast<ListSetting *>(s)) {
        const int i = choiceIndex(list->displays(), value);
        if (i < 0)
            return false;
        // Picked, then the selector left, as on the tab.
        list->choose(i);
        list->validate();
        return true;
    }
    // As the value field hands it over: a text the field already shows is no edit.
    const QString typed = value.toString();
    const bool edit = typed != s->valueText();
    if (auto *f = qobject_cast<FloatSetting *>(s)) {
        if (edit)
            f->editText(typed);
    } else if (auto *i = qobject_cast<IntegerSetting *>(s)) {
        if (edit)
            i->editText(typed);
    } else if (auto *h = qobject_cast<HexSetting *>(s)) {
        if (edit)
            h->editText(typed);
        h->normalise(); // the field left
    }
    return true;
}
