// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class DesktopOpener;

// "About QTX Setlink": the logo and web address (both open the maker's site), the
// version line, a fixed line, the licence, and Qt's own about box.
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(DesktopOpener *opener, QWidget *parent = nullptr);

    // "QTX2 Setlink v1.0.0 (Linux x86_64)"
    static QString versionLine();
    // The copyright holder and the licence, by name and version.
    static QString licenceText();
    // " (Win32)", " (Win64)", or the kernel and CPU architecture of the build.
    static QString platformSuffix();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openWebsite();

    DesktopOpener *m_opener;
};
