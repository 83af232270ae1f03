// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

class DesktopOpener;

// The help page and the device manual, and the maker's web site. The documents sit next
// to the program in its build folder and, once installed, in the program's data folder
// (share/qtx2setlink), never only under share/doc, which minimal systems leave out.
// Nothing here checks whether a document opens: the opener shows what it can.
class HelpLinks
{
public:
    // programFolder: the folder of the running program, without a trailing separator.
    explicit HelpLinks(DesktopOpener *opener, const QString &programFolder = runningProgramFolder());

    static QString runningProgramFolder();
    // The program's own folder when the help page is there, else the installed data
    // folder found from the program's place.
    QString documentFolder() const;
    QString helpFilePath() const;
    QString manualPath() const;
    static QUrl websiteUrl();

    void openContents();
    void openManual();
    void openWebsite();

private:
    DesktopOpener *m_opener;
    QString m_programFolder;
};
