// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/BusyGuard.h"

bool BusyGuard::claim()
{
    if (!m_free)
        return false;
    setFree(false);
    return true;
}

void BusyGuard::setFree(bool free)
{
    if (free == m_free)
        return;
    m_free = free;
    emit freeChanged(free);
}
