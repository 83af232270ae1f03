// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// Whether the line is free for a walk. A walk (an upload, a download, a read to compare or
// back up, the factory reset) claims it for its whole length, and one started inside
// another finds it taken and does nothing. The link takes it at every connection attempt
// and disconnection and frees it after a connection, and holds it through a node ID
// change. The window's position poll runs exactly while the line is free.
class BusyGuard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    bool isFree() const { return m_free; }
    // True, and the line taken, when it was free.
    bool claim();
    void release() { setFree(true); }
    void setFree(bool free);

signals:
    void freeChanged(bool free);

private:
    bool m_free = true;
};
