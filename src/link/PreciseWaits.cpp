// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/PreciseWaits.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

void PreciseWaits::enable()
{
#ifdef Q_OS_LINUX
    prctl(PR_SET_TIMERSLACK, 1UL);
#endif
}
