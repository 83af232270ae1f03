// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CtlRequest.h"

#include "ctl/CommandTable.h"
#include "model/LengthUnits.h"
#include "ctl/SettingCodes.h"

#include <QCommandLineParser>

namespace {

const QList<int> Speeds{1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

struct GlobalOptions
{
    QCommandLineOption port{QStringLiteral("port"), QString(), QStringLiteral("N")};
    QCommandLineOption device{QStringLiteral("device"), QString(), QStringLiteral("PATH")};
    QCommandLineOption baud{QStringLiteral("baud"), QString(), QStringLiteral("BPS")};
    QCommandLineOption node{QStringLiteral("node"), QString(), QStringLiteral("ID")};
    QCommandLineOption verbose{QStringLiteral("verbose")};
    QCommandLineOption quiet{QStringLiteral("quiet")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.addOptions({port, device, baud, node, verbose, quiet, help, version});
    }
};

// A whole number of the option within [min, max], or false.
bool whole(const QString &text, int min, int max, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < min || v > max)
        return false;
    *out = v;
    return true;
}

CtlRequest::Outcome error(QString *text, const QString &message)
{
    *text = message + QStringLiteral("\nqtx2ctl --help lists the commands and options.");
    return CtlRequest::Outcome::Error;
}

} // namespace

CtlRequest::Outcome CtlRequest::parse(const QStringList &arguments, CtlRequest *request, QString *text)
{
    const GlobalOptions global;
    // First the command: everything from the first word that is not an option on.
    QCommandLineParser first;
    first.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    global.addTo(first);
    if (!first.parse(arguments))
        return error(text, first.errorText());
    if (first.positionalArguments().isEmpty()) {
        if (first.isSet(global.version))
            return Outcome::Version;
        if (first.isSet(global.help)) {
            *text = CommandTable::overallHelp();
            return Outcome::Help;
        }
        return error(text, QStringLiteral("No command given."));
    }
    CtlRequest r;
    r.command = first.positionalArguments().first();
    const CommandTable::Entry *command = CommandTable::find(r.command);
    if (!command)
        return error(text, QStringLiteral("Unknown command \"%1\".").arg(r.command));

    // Then the whole line again with the command's own options; the global ones may also
    // follow the command.
    QCommandLineParser parser;
    global.addTo(parser);
    for (const CommandTable::Option &o : command->options)
        parser.addOption(o.valueName ? QCommandLineOption(QString::fromLatin1(o.name), QString(), QString::fromLatin1(o.valueName))
                                     : QCommandLineOption(QString::fromLatin1(o.name)));
    if (!parser.parse(arguments))
        return error(text, parser.errorText());
    if (parser.isSet(global.help)) {
        *text = CommandTable::helpOf(*command);
        return Outcome::Help;
    }
    if (parser.isSet(global.version))
        return Outcome::Version;
    r.arguments = parser.positionalArguments().mid(1);

    const QString name = r.command;
    const int n = int(r.arguments.size());
    if (n < command->minArguments || (command->maxArguments >= 0 && n > command->maxArguments))
        return error(text, QStringLiteral("Wrong arguments for %1; its usage is: qtx2ctl %1 %2")
                               .arg(name, QString::fromLatin1(command->arguments)).trimmed());
    if (parser.isSet(global.port) && parser.isSet(global.device))
        return error(text, QStringLiteral("Give --port or --device, not both."));
    if (parser.isSet(global.port) && !whole(parser.value(global.port), 1, 16, &r.port))
        return error(text, QStringLiteral("--port takes a port number from 1 to 16, not \"%1\".").arg(parser.value(global.port)));
    r.device = parser.value(global.device);
    if (parser.isSet(global.device) && r.device.isEmpty())
        return error(text, QStringLiteral("--device takes the path of a serial device."));
    if (parser.isSet(global.baud) && !(whole(parser.value(global.baud), 1, 115200, &r.baud) && Speeds.contains(r.baud)))
        return error(text, QStringLiteral("--baud takes 1200, 2400, 4800, 9600, 19200, 38400, 57600 or 115200, not \"%1\".")
                               .arg(parser.value(global.baud)));
    const QString node = parser.value(global.node);
    if (parser.isSet(global.node) && node != QLatin1String("auto") && !whole(node, 0, 9, &r.node))
        return error(text, QStringLiteral("--node takes auto or a node ID from 0 to 9, not \"%1\".").arg(node));
    r.verbose = parser.isSet(global.verbose);
    r.quiet = parser.isSet(global.quiet);
    if (r.verbose && r.quiet)
        return error(text, QStringLiteral("Give --verbose or --quiet, not both."));

    const QStringList own = parser.optionNames();
    r.json = own.contains(QLatin1String("json"));
    r.verify = own.contains(QLatin1String("verify"));
    r.magnets = own.contains(QLatin1String("magnets"));
    r.all = own.contains(QLatin1String("all"));
    r.factory = own.contains(QLatin1String("factory"));
    if (own.contains(QLatin1String("keep"))) {
        if (r.all)
            return error(text, QStringLiteral("Give --all or --keep, not both."));
        for (const QString &value : parser.values(QStringLiteral("keep")))
            r.keep += value.split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &code : std::as_const(r.keep)) {
            const QString why = SettingCodes::unknown(code);
            if (!why.isEmpty())
                return error(text, QStringLiteral("--keep: ") + why);
        }
    }
    if (own.contains(QLatin1String("unit"))) {
        r.unit = SettingCodes::unitNamed(parser.value(QStringLiteral("unit")));
        if (r.unit < 0)
            return error(text, QStringLiteral("--unit takes Inches, Feet, CM, MM or Meters (in, ft, cm, mm, m), not \"%1\".")
                                   .arg(parser.value(QStringLiteral("unit"))));
    }
    if (own.contains(QLatin1String("interval")) && !whole(parser.value(QStringLiteral("interval")), 50, 60000, &r.interval))
        return error(text, QStringLiteral("--interval takes a whole number of milliseconds from 50 to 60000, not \"%1\".")
                               .arg(parser.value(QStringLiteral("interval"))));
    if (name == QLatin1String("diff") && r.factory == !r.arguments.isEmpty())
        return error(text, r.factory ? QStringLiteral("diff --factory takes no file.")
                                     : QStringLiteral("diff takes a settings file (- for standard input), or --factory."));
    if (r.json && name == QLatin1String("download") && !r.verify)
        return error(text, QStringLiteral("download --json goes with --verify."));
    if (own.contains(QLatin1String("backup"))) {
        r.backup = parser.value(QStringLiteral("backup"));
        if (r.backup.isEmpty())
            return error(text, QStringLiteral("--backup takes a file name."));
    }
    if (own.contains(QLatin1String("count")) && !whole(parser.value(QStringLiteral("count")), 1, 1000000000, &r.count))
        return error(text, QStringLiteral("--count takes a whole number from 1 on, not \"%1\".")
                               .arg(parser.value(QStringLiteral("count"))));
    if (name == QLatin1String("set-node") && !whole(r.arguments.first(), 0, 9, &r.newNode))
        return error(text, QStringLiteral("set-node takes a node ID from 0 to 9, not \"%1\".").arg(r.arguments.first()));
    *request = r;
    return Outcome::Run;
}

QStringList CtlRequest::keptCodes() const
{
    QStringList codes = keep;
    if (!all && !codes.contains(QLatin1String("CS")))
        codes.prepend(QStringLiteral("CS"));
    return codes;
}
