// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The "COM<n>" symbolic link in the application's ports folder that gives the simulated
// device a port number. Removed again when this object goes, but only while it still
// points where this one made it point.
class PortLink
{
public:
    PortLink() = default;
    ~PortLink();
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;

    // Creates folder/COM<number> -> target. A stale link (its target gone, or already the
    // same target) is replaced; a live one or any other file is left alone and refused.
    bool create(const QString &folder, int number, const QString &target, QString *error);
    void remove();
    QString path() const;

private:
    QString m_path;
    QString m_target;
};
