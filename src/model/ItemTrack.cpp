// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ItemTrack.h"

#include "link/ParameterLink.h"
#include "model/ListSetting.h"
#include "model/NumberText.h"
#include "model/SettingsSet.h"

#include <QTimer>

namespace {

const QString UnitsCode = QStringLiteral("PU");

// prefix + the "###" percentage padded in front to width + "%".
QString progressText(const QString &prefix, int i, int n, int width)
{
    QString p = NumberText::percent_text(100.0 * i / n);
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

void ItemTrack::setBusyTimer(QTimer *timer)
{
    m_timer = timer;
}

bool ItemTrack::claim()
{
    if (m_timer && !m_timer->isActive())
        return false;
    if (m_timer)
        m_timer->stop();
    return true;
}

void ItemTrack::release()
{
    emit progress(QString());
    if (m_timer)
        m_timer->start();
}

bool ItemTrack::upload_all(const QString &progressPrefix, QList<Setting *> *unread)
{
    if (!claim())
        return false;
    QList<Setting *> missed;
    m_uploading = true;
    // Lengths read after the units setting are in the unit it just took.
    if (!m_settings->units_item()->ser_read())
        missed.append(m_settings->units_item());
    m_settings->refresh_current_units();
    const QList<Setting *> &items = item_list();
    const int n = int(items.size());
    for (int i = 0; i < n; ++i) {
        emit progress(progressText(progressPrefix, i + 1, n, 4));
        if (items.at(i)->get_serstring() != UnitsCode && !items.at(i)->ser_read())
            missed.append(items.at(i));
        emit itemRead();
    }
    m_uploading = false;
    release();
    if (unread)
        *unread = missed;
    return true;
}

bool ItemTrack::download_all()
{
    if (!claim())
        return false;
    const ParameterLink::WriteWalk walk(m_link);
    if (m_link)
        m_link->reset_wp();
    m_settings->units_item()->ser_write();
    const QList<Setting *> &items = item_list();
    const int n = int(items.size());
    for (int i = 0; i < n; ++i) {
        emit progress(progressText(QStringLiteral("Downloading... "), i + 1, n, 3));
        if (items.at(i)->get_serstring() != UnitsCode)
            items.at(i)->ser_write();
    }
    release();
    return true;
}

QStringList ItemTrack::file_lines()
{
    // A file's lengths are read back in the unit its units line names, so they are written
    // in that unit, also when the user picked a unit not yet sent to the device.
    LengthUnits &units = m_settings->units();
    const int deviceUnits = units.current_units();
    m_settings->refresh_current_units();
    QStringList lines;
    const auto add = [&lines](const QString &line) {
        if (!line.isEmpty())
            lines.append(line);
    };
    add(m_settings->units_item()->make_file_write_str());
    for (Setting *s : item_list())
        if (s->get_serstring() != UnitsCode)
            add(s->make_file_write_str());
    units.set_current_units(deviceUnits);
    return lines;
}

QList<Setting *> ItemTrack::file_read_lines(const QStringList &lines)
{
    LengthUnits &units = m_settings->units();
    const int deviceUnits = units.current_units();
    QList<Setting *> taken;
    for (const QString &line : lines)
        if (Setting *s = file_read_line(line))
            taken.append(s);
    // The file's unit was for its own lines; what the device works in has not changed.
    units.set_current_units(deviceUnits);
    return taken;
}

Setting *ItemTrack::file_read_line(const QString &line)
{
    for (Setting *s : item_list()) {
        bool taken = false;
        if (s->check_file_read(line, &taken)) {
            if (s->get_serstring() == UnitsCode)
                m_settings->refresh_current_units();
            return taken ? s : nullptr;
        }
    }
    return nullptr;
}

void ItemTrack::reset_units_all()
{
    for (Setting *s : item_list())
        s->reset_units();
}
