// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ItemTrack.h"

#include "link/ParameterLink.h"
#include "model/ListSetting.h"
#include "model/NumberText.h"
#include "model/SettingsSet.h"

#include "link/BusyGuard.h"

namespace {

const QString UnitsCode = QStringLiteral("PU");

// prefix + the "###" percentage padded in front to width + "%".
QString progressText(const QString &prefix, int i, int n, int width)
{
    QString p = NumberText::percentText(100.0 * i / n);
    while (p.size() < width)
        p.prepend(QLatin1Char(' '));
    return prefix + p + QLatin1Char('%');
}

} // namespace

ItemTrack::ItemTrack(SettingsSet *settings, ParameterLink *link, QObject *parent)
    : QObject(parent), m_settings(settings), m_link(link)
{
}

const QList<Setting *> &ItemTrack::item_list() const
{
    return m_settings->item_list();
}

void ItemTrack::setBusyGuard(BusyGuard *guard)
{
    m_guard = guard;
}

bool ItemTrack::claim()
{
    return !m_guard || m_guard->claim();
}

void ItemTrack::release()
{
    emit progress(QString());
    if (m_guard)
        m_guard->release();
}

void ItemTrack::note(WalkReport &report, Setting *setting, const ExchangeResult &result)
{
    report.entries.append({setting, result, setting->editCount()});
}

WalkReport ItemTrack::upload_all(const QString &progressPrefix)
{
    WalkReport report;
    if (!claim())
        return report;
    report.ran = true;
    m_uploading = true;
    // Lengths read after the units setting are in the unit it just took.
    Setting *unitsItem = m_settings->unitsItem();
    note(report, unitsItem, unitsItem->ser_read());
    report.unitsRead = report.entries.last().result.ok();
    m_settings->refreshCurrentUnits();
    const QList<Setting *> &items = item_list();
    const int n = int(items.size());
    for (int i = 0; i < n; ++i) {
        emit progress(progressText(progressPrefix, i + 1, n, 4));
        Setting *s = items.at(i);
        if (s != unitsItem && s->isLength() && !report.unitsRead)
            note(report, s, {ExchangeResult::Kind::UnitsUnknown, QString()});
        else if (s != unitsItem)
            note(report, s, s->ser_read());
        emit itemRead();
    }
    m_uploading = false;
    release();
    return report;
}

WalkReport ItemTrack::download_all(const QStringList &leftAlone)
{
    WalkReport report;
    if (!claim())
        return report;
    report.ran = true;
    const ParameterLink::WriteWalk walk(m_link);
    if (m_link)
        m_link->reset_wp();
    Setting *unitsItem = m_settings->unitsItem();
    note(report, unitsItem, unitsItem->ser_write());
    const QList<Setting *> &items = item_list();
    const int n = int(items.size());
    for (int i = 0; i < n; ++i) {
        emit progress(progressText(QStringLiteral("Downloading... "), i + 1, n, 3));
        if (items.at(i) != unitsItem && !leftAlone.contains(items.at(i)->get_serstring()))
            note(report, items.at(i), items.at(i)->ser_write());
    }
    release();
    return report;
}

QStringList ItemTrack::fileLines()
{
    // A file's lengths are read back in the unit its units line names, so they are written
    // in that unit, also when the user picked a unit not yet sent to the device.
    LengthUnits &units = m_settings->units();
    const int deviceUnits = units.current_units();
    m_settings->refreshCurrentUnits();
    QStringList lines;
    const auto add = [&lines](const QString &line) {
        if (!line.isEmpty())
            lines.append(line);
    };
    add(m_settings->unitsItem()->make_file_write_str());
    for (Setting *s : item_list())
        if (s->get_serstring() != UnitsCode)
            add(s->make_file_write_str());
    units.setCurrentUnits(deviceUnits);
    return lines;
}

ItemTrack::FileReading ItemTrack::fileReadLines(const QStringList &lines)
{
    LengthUnits &units = m_settings->units();
    const int deviceUnits = units.current_units();
    FileReading reading;
    for (const QString &line : lines) {
        bool owned = false;
        if (Setting *s = file_read_line(line, &owned))
            reading.taken.append(s);
        else
            (owned ? reading.refused : reading.unknown).append(line);
    }
    // The file's unit was for its own lines; what the device works in has not changed.
    units.setCurrentUnits(deviceUnits);
    return reading;
}

Setting *ItemTrack::file_read_line(const QString &line, bool *owned)
{
    for (Setting *s : item_list()) {
        bool taken = false;
        if (s->check_file_read(line, &taken)) {
            if (owned)
                *owned = true;
            if (s->get_serstring() == UnitsCode)
                m_settings->refreshCurrentUnits();
            return taken ? s : nullptr;
        }
    }
    if (owned)
        *owned = false;
    return nullptr;
}

void ItemTrack::resetUnitsAll()
{
    for (Setting *s : item_list())
        s->reset_units();
}
