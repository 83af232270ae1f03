// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "operations/FactoryReset.h"

#include "link/ParameterLink.h"
#include "model/ItemTrack.h"
#include "model/SettingsSet.h"

#include <QTimer>

bool FactoryReset::Result::done() const
{
    return ran && (byDevice ? reset.ok() : download.complete());
}

FactoryReset::FactoryReset(ParameterLink *link, QTimer *busyTimer, QObject *parent)
    : QObject(parent), m_link(link), m_timer(busyTimer)
{
}

FactoryReset::Result FactoryReset::run(SettingsSet &defaults)
{
    Result result;
    const ParameterLink::WriteWalk walk(m_link);
    result.byDevice = m_link->factory_command();
    if (result.byDevice) {
        if (m_timer && !m_timer->isActive())
            return result;
        if (m_timer)
            m_timer->stop();
        result.ran = true;
        result.reset = deviceReset();
        if (m_timer)
            m_timer->start();
        return result;
    }
    defaults.apply_factory_defaults();
    defaults.refresh_current_units();
    ItemTrack track(&defaults, m_link);
    track.setBusyTimer(m_timer);
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
