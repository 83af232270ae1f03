// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/StartOptions.h"

#include "BuildInfo.h"

#include "shell/HelpLinks.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>


namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("StartOptions", text);
}

} // namespace

QString StartOptions::versionText()
{
    return QStringLiteral("qtx2setlink " SETLINK_VERSION "\n" SETLINK_LICENCE_NOTICE);
}

StartOptions::Outcome StartOptions::parse(const QStringList &arguments, StartOptions *options, QString *message)
{
    QCommandLineParser parser;
    // Qt's own window options keep their single dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        tr("QTX2 Setlink: configure and watch a QTX2 panel display over a serial line.\n"
           "Example: qtx2setlink --port 1 --baud 9600 --node auto --connect"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"), tr("Show the program's version."));
    const QCommandLineOption port(QStringLiteral("port"), tr("Select port COMn, n from 1 to 16."), QStringLiteral("n"));
    const QCommandLineOption baud(QStringLiteral("baud"), tr("Select the speed: 19200, 9600, 4800, 2400 or 1200."),
                                  QStringLiteral("bps"));
    const QCommandLineOption node(QStringLiteral("node"), tr("Select the node ID: auto, or 0 to 9."), QStringLiteral("id"));
    const QCommandLineOption connect(QStringLiteral("connect"),
                                     tr("Connect once the window is up, as the Connect button does."));
    parser.addOptions({help, version, port, baud, node, connect});
    // The options QApplication and, under X11, its platform plugin take out of the
    // arguments once the window starts; here they are only let through.
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "style", "stylesheet",
                             "session", "qwindowgeometry", "qwindowicon", "qwindowtitle", "display", "geometry",
                             "name", "title", "icon", "visual"}) {
        QCommandLineOption qtOption(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb"}) {
        QCommandLineOption qtFlag(QString::fromLatin1(name));
        qtFlag.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtFlag);
    }

    if (!parser.parse(arguments)) {
        *message = parser.errorText();
        return Outcome::Error;
    }
    if (parser.isSet(help)) {
        const HelpLinks links(nullptr);
        *message = parser.helpText() + tr("\nHelp page: %1\nQTX2 manual: %2\n").arg(links.helpFilePath(), links.manualPath());
        return Outcome::Help;
    }
    if (parser.isSet(version)) {
        *message = versionText();
        return Outcome::Version;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *message = tr("Unexpected argument \"%1\".").arg(parser.positionalArguments().constFirst());
        return Outcome::Error;
    }

    StartOptions o;
    o.connect = parser.isSet(connect);
    if (parser.isSet(port)) {
        static const QRegularExpression com(QStringLiteral("^(?:COM)?(\\d{1,2})$"),
                                            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = com.match(parser.value(port));
        const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (n < 1 || n > 16) {
            *message = tr("--port takes a port number from 1 to 16, not \"%1\".").arg(parser.value(port));
            return Outcome::Error;
        }
        o.port = n;
    }
    if (parser.isSet(baud)) {
        static const QStringList speeds{QStringLiteral("19200"), QStringLiteral("9600"), QStringLiteral("4800"),
                                        QStringLiteral("2400"), QStringLiteral("1200")};
        if (!speeds.contains(parser.value(baud))) {
            *message = tr("--baud takes 19200, 9600, 4800, 2400 or 1200, not \"%1\".").arg(parser.value(baud));
            return Outcome::Error;
        }
        o.baud = parser.value(baud).toInt();
    }
    if (parser.isSet(node)) {
        const QString text = parser.value(node);
        static const QRegularExpression digit(QStringLiteral("^\\d$"));
        if (text.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
            o.node = -1;
        } else if (digit.match(text).hasMatch()) {
            o.node = text.toInt();
        } else {
            *message = tr("--node takes auto or a node ID from 0 to 9, not \"%1\".").arg(text);
            return Outcome::Error;
        }
    }
    *options = o;
    return Outcome::Run;
}
