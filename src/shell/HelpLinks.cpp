// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/HelpLinks.h"

#include "BuildInfo.h"

#include "shell/DesktopOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>


namespace {
const QString HelpFile = QStringLiteral("qtx2setlink.html");
}

HelpLinks::HelpLinks(DesktopOpener *opener, const QString &programFolder)
    : m_opener(opener)
    , m_programFolder(programFolder)
{
}

QString HelpLinks::runningProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString HelpLinks::documentFolder() const
{
    if (QFileInfo::exists(m_programFolder + QLatin1Char('/') + HelpFile))
        return m_programFolder;
    return QDir::cleanPath(m_programFolder + QStringLiteral("/" SETLINK_DATA_FROM_BINDIR));
}

QString HelpLinks::helpFilePath() const
{
    return documentFolder() + QLatin1Char('/') + HelpFile;
}

QString HelpLinks::manualPath() const
{
    return documentFolder() + QStringLiteral("/QTX2.pdf");
}

QUrl HelpLinks::websiteUrl()
{
    return QUrl(QStringLiteral("https://www.orvaneworks.example/"));
}

void HelpLinks::openContents()
{
    if (m_opener)
        m_opener->openUrl(QUrl::fromLocalFile(helpFilePath()));
}

void HelpLinks::openManual()
{
    if (m_opener)
        m_opener->openUrl(QUrl::fromLocalFile(manualPath()));
}

void HelpLinks::openWebsite()
{
    if (m_opener)
        m_opener->openUrl(websiteUrl());
}
