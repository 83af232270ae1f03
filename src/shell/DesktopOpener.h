// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QUrl>

// Hands a document or web address to whatever program the user has for it.
class DesktopOpener
{
public:
    virtual ~DesktopOpener();
    virtual void openUrl(const QUrl &url) = 0;
};

class QtDesktopOpener : public DesktopOpener
{
public:
    void openUrl(const QUrl &url) override;
};
