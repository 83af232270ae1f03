#include "shell/HelpLinks.h"

#include "shell/DesktopOpener.h"

#include <QCoreApplication>

HelpLinks::HelpLinks(DesktopOpener *opener)
    : m_opener(opener)
{
}

QString HelpLinks::programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString HelpLinks::helpFilePath()
{
    return programFolder() + QStringLiteral("/qtx2setlink.html");
}

QString HelpLinks::manualPath()
{
    return programFolder() + QStringLiteral("/QTX2.pdf");
}

QUrl HelpLinks::websiteUrl()
{
    return QUrl(QStringLiteral("https://www.orvaneworks.example/"));
}

void HelpLinks::open_contents()
{
    if (m_opener)
        m_opener->openUrl(QUrl::fromLocalFile(helpFilePath()));
}

void HelpLinks::open_manual()
{
    if (m_opener)
        m_opener->openUrl(QUrl::fromLocalFile(manualPath()));
}

void HelpLinks::open_website()
{
    if (m_opener)
        m_opener->openUrl(websiteUrl());
}
