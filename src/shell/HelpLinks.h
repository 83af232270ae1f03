#pragma once

#include <QString>
#include <QUrl>

class DesktopOpener;

// The help file and the device manual next to the program, and the maker's web site.
// Nothing here checks whether a file exists: the opener shows what it can.
class HelpLinks
{
public:
    explicit HelpLinks(DesktopOpener *opener);

    static QString programFolder();
    static QString helpFilePath();
    static QString manualPath();
    static QUrl websiteUrl();

    void open_contents();
    void open_manual();
    void open_website();

private:
    DesktopOpener *m_opener;
};
