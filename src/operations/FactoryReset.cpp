// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/FactoryReset.h"

#include "link/ParameterLink.h"
#include "model/ItemTrack.h"
#include "model/SettingsSet.h"

#include "link/BusyGuard.h"

FactoryReset::FactoryReset(ParameterLink *link, BusyGuard *busyGuard, QObject *parent)
    : QObject(parent), m_link(link), m_guard(busyGuard)
{
}

FactoryReset::Result FactoryReset::run(SettingsSet &defaults)
{
    Result result;
    const ParameterLink::WriteWalk walk(m_link);
    result.byDevice = m_link->factory_command();
    if (result.byDevice) {
        if (m_guard && !m_guard->claim())
            return result;
        result.ran = true;
        result.reset = deviceReset();
        if (m_guard)
            m_guard->release();
        return result;
    }
    defaults.applyFactoryDefaults();
    defaults.refreshCurrentUnits();
    ItemTrack track(&defaults, m_link);
    track.setBusyGuard(m_guard);
    connect(&track, &ItemTrack::progress, this, &FactoryReset::progress);
    result.download = track.download_all();
    result.ran = result.download.ran;
    return result;
}

ExchangeResult FactoryReset::deviceReset()
{
    using Kind = ExchangeResult::Kind;
    m_link->reset_wp();
    m_link->write_enable(true);
    emit progress(QStringLiteral("Factory Reset"));
    ExchangeResult answer{Kind::NoReply, QString()};
    if (m_link->sendrcv_long_nodeid(QStringLiteral("SFD"), false)) {
        const QString reply = m_link->rcvstring();
        answer = ExchangeResult::isRefusal(reply) ? ExchangeResult{Kind::Refused, reply} : ExchangeResult{Kind::Done, QString()};
    }
    m_link->write_enable(false);
    return answer;
}
