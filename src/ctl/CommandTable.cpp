// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CommandTable.h"

#include "ctl/CodesCommand.h"
#include "ctl/DiffCommand.h"
#include "ctl/DownloadCommand.h"
#include "ctl/FactoryResetCommand.h"
#include "ctl/GetCommand.h"
#include "ctl/InfoCommand.h"
#include "ctl/MonitorCommand.h"
#include "ctl/PortsCommand.h"
#include "ctl/SetCommand.h"
#include "ctl/SetNodeCommand.h"
#include "ctl/UploadCommand.h"

namespace CommandTable {
namespace {

const char *const Usage = "Usage: qtx2ctl [--port N | --device PATH] [--baud BPS] [--node auto|0-9] [--verbose|--quiet] ";

const char *const GlobalOptions =
    "Options:\n"
    "  --port N          Serial port COMn, 1 to 16 (default 1); qtx2ctl ports lists them.\n"
    "  --device PATH     The serial device at PATH instead (a pseudo-terminal of qtx2-sim).\n"
    "  --baud BPS        Line speed: 1200, 2400, 4800, 9600, 19200 (default), 38400, 57600\n"
    "                    or 115200.\n"
    "  --node ID         The device's node ID, 0 to 9, or auto (default): asked with $0RID.\n"
    "  --verbose         Every exchange on standard error, as the communications log shows it,\n"
    "                    with milliseconds, and every message left without a reply.\n"
    "  --quiet           No messages on standard error but errors.\n"
    "  -h, --help        This help; qtx2ctl COMMAND --help explains one command.\n"
    "  --version         The program's version.\n";

const char *const ExitCodes =
    "Exit codes:\n"
    "  0  success: every write was answered as taken and every read gave a value; set and\n"
    "     download --verify also read back and found the device holding what they wrote\n"
    "  1  the device does not hold it: differences found (diff, download --verify), a value\n"
    "     set that reads back otherwise, a command refused (\"ERR ...\"), or a read that gave\n"
    "     no value (the message names each)\n"
    "  2  usage error: unknown command, option or code, a value outside its limits\n"
    "  3  no connection, or the device stopped answering (the message names the port)\n"
    "  4  a file that cannot be read or written, standard output included (nothing\n"
    "     half-written is left)\n"
    "  130  interrupted (Ctrl-C): the message says how far the command got\n";

const char *const JsonText = "One JSON document on standard output instead of lines.";

template <typename C>
std::unique_ptr<Command> make(const CtlRequest &r, DeviceSession &s, Console &c)
{
    return std::make_unique<C>(r, s, c);
}

QString line(const Entry &c)
{
    return QStringLiteral("  %1").arg(QString::fromLatin1(c.name) + QLatin1Char(' ') + QString::fromLatin1(c.arguments), -32);
}

} // namespace

const QList<Entry> &commands()
{
    static const QList<Entry> table{
        {"ports", "", 0, 0, "COM1..COM16: what each stands for, and which open",
         "Tries each port number in turn and prints one line for it: COMn, the system device it\n"
         "stands for (- for none), and \"opens\" or why it does not.",
         {}, "qtx2ctl ports", make<PortsCommand>},
        {"info", "[--json]", 0, 0, "identity, node ID, whether the factory command is there",
         "Connects as the window's Connect does and prints identity=, node= and\n"
         "factory-command=yes|no, one a line.",
         {{"json", nullptr, JsonText}}, "qtx2ctl --port 2 info", make<InfoCommand>},
        {"codes", "[--json]", 0, 0, "every parameter: code, tab, title, kind, limits, factory value",
         "Prints every parameter the program knows, one a line, tab-separated: code, tab, title,\n"
         "kind (integer, real, length, list, hex), the limits (a length's in inches) or the\n"
         "choices, and the factory value. Needs no device.",
         {{"json", nullptr, JsonText}}, "qtx2ctl codes | grep -i offset", make<CodesCommand>},
        {"get", "CODE... [--unit UNIT] [--json]", 1, -1, "one line per code: CODE=VALUE",
         "Reads each parameter and prints CODE=VALUE, the value as a settings file carries it,\n"
         "a length in the device's length unit (or the one --unit names; --json names it).\n"
         "Nothing is printed unless every value was read. Codes are case-sensitive: PO and Po\n"
         "differ.",
         {{"unit", "UNIT", "Show lengths in UNIT: Inches, Feet, CM, MM or Meters (in, ft, cm,\n"
                           "                    mm, m)."},
          {"json", nullptr, JsonText}},
         "qtx2ctl get PU XM dP", make<GetCommand>},
        {"set", "CODE=VALUE...", 1, -1, "write each and read it back",
         "Writes each value, lifting the write protection first, then reads each back: the run\n"
         "succeeds only when the device holds every value. Values are checked against their\n"
         "limits before anything is written: integers whole, numbers finite; a length is in the\n"
         "device's length unit, in the unit PU=... names in the same command (the units are\n"
         "then written first), or in the unit it carries (PO=5mm, PO=0.2in).",
         {}, "qtx2ctl set PU=MM PR=0.005 XM=2", make<SetCommand>},
        {"upload", "FILE|-", 1, 1, "read all 86 into a settings file: the device's state",
         "Reads every parameter from the device and writes them to FILE or, for -, to standard\n"
         "output, as the window's backups hold them: every value as the device sent it, lengths\n"
         "in the device's unit, which the first line names. Nothing is written unless every\n"
         "parameter gave a value; the file is replaced only when complete.",
         {}, "qtx2ctl upload unit-0042.txt", make<UploadCommand>},
        {"download", "FILE|- [--verify] [--all | --keep CODE,...] [--json]", 1, 1,
         "write a settings file to the device, units first",
         "Writes the settings file FILE (- reads standard input) to the device as the window's\n"
         "Download does: the units first, then every other parameter. The file must give a value\n"
         "for every parameter. Per-unit data stays the unit's own: the CANbus serial number (CS)\n"
         "is not written (a message says so when the file's differs) unless --all is given.\n"
         "Exits with 1 when the device refuses a write.",
         {{"verify", nullptr,
           "Read every parameter back and list each one the device does not\n"
           "                    hold, one line each: CODE file=VALUE device=VALUE; exit code 1\n"
           "                    if there is any, or if one could not be read back."},
          {"all", nullptr, "Write the per-unit CS too (cloning a unit)."},
          {"keep", "CODE,...", "Leave these codes as the unit has them, besides CS."},
          {"json", nullptr, JsonText}},
         "qtx2ctl --port 3 download line3.txt --verify", make<DownloadCommand>},
        {"diff", "FILE|- [--factory] [--all | --keep CODE,...] [--json]", 0, 1,
         "compare the device with a file; one line per difference",
         "Reads every parameter from the device and compares it with the settings file FILE (-\n"
         "reads standard input): equal when the device would hold the same text, to the last\n"
         "digit the line carries (lengths in the device's unit, lists by token, hex by value).\n"
         "Prints one line per difference, CODE file=VALUE device=VALUE (Title), each value as\n"
         "that side carries it, a length with its unit (PO file=10 MM device=5 Inches); names on\n"
         "standard error what could not be compared and the per-unit CS left out; exits with 1\n"
         "unless every parameter compared was equal.",
         {{"factory", nullptr, "Compare with the factory settings instead of a file\n"
                               "                    (CODE factory=VALUE device=VALUE)."},
          {"all", nullptr, "Compare the per-unit CS too."},
          {"keep", "CODE,...", "Leave these codes out of the comparison, besides CS."},
          {"json", nullptr, JsonText}},
         "qtx2ctl diff line3.txt", make<DiffCommand>},
        {"factory-reset", "[--backup FILE]", 0, 0, "the device's factory reset; settings saved first",
         "Resets the device to its factory settings: a device that knows the factory command\n"
         "resets itself; another one gets the factory settings written, its own CANbus serial\n"
         "number kept.",
         {{"backup", "FILE",
           "Save the device's settings to FILE first (as upload does); nothing is\n"
           "                    reset when they cannot all be read or the file written."}},
         "qtx2ctl factory-reset --backup before-reset.txt", make<FactoryResetCommand>},
        {"set-node", "N", 1, 1, "Change Node ID",
         "Gives the device the node ID N, 0 to 9; later commands then need --node N (or auto).",
         {}, "qtx2ctl --node 0 set-node 3", make<SetNodeCommand>},
        {"monitor", "[--magnets] [--count N] [--interval MS]", 0, 0, "positions as CSV lines, 4 a second",
         "Reads the positions as the window does and prints one CSV line per read: the time in\n"
         "seconds and as a date (ISO 8601, milliseconds), the read's status (ok, no magnet, no\n"
         "transducer, time-out, not connected), then the displayed position and magnets 1 to\n"
         "15, the position read in its own column, in the unit the header names. With --magnets\n"
         "the reads go round the magnets too. Runs until stopped, or for N lines; a device that\n"
         "gives no reply for 2 s ends it with exit code 3.",
         {{"magnets", nullptr, "Also read the position of every magnet."},
          {"count", "N", "Stop after N lines."},
          {"interval", "MS", "One read every MS milliseconds, 50 to 60000 (default 250)."}},
         "qtx2ctl monitor --magnets --count 40 > run.csv", make<MonitorCommand>},
    };
    return table;
}

const Entry *find(const QString &name)
{
    for (const Entry &c : commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString overallHelp()
{
    QString text = QString::fromLatin1(Usage) + QStringLiteral("COMMAND [ARGUMENTS]\n\n")
        + QStringLiteral("Configures a QTX2 panel display from scripts, one command a run: results on standard\n"
                         "output, messages and progress on standard error.\n\nCommands:\n");
    for (const Entry &c : commands())
        text += line(c) + QLatin1Char(' ') + QString::fromLatin1(c.summary) + QLatin1Char('\n');
    text += QLatin1Char('\n') + QString::fromLatin1(GlobalOptions) + QLatin1Char('\n') + QString::fromLatin1(ExitCodes);
    text += QStringLiteral("\nExample: program a unit from a file and check it holds the file\n"
                           "  qtx2ctl --port 3 download unit.txt --verify && echo \"unit programmed\"\n");
    return text;
}

QString helpOf(const Entry &c)
{
    QString text = QString::fromLatin1(Usage) + QString::fromLatin1(c.name);
    if (*c.arguments)
        text += QLatin1Char(' ') + QString::fromLatin1(c.arguments);
    text += QStringLiteral("\n\n") + QString::fromLatin1(c.text) + QLatin1Char('\n');
    if (!c.options.isEmpty()) {
        text += QStringLiteral("\nOptions of %1:\n").arg(QString::fromLatin1(c.name));
        for (const Option &o : c.options) {
            QString name = QStringLiteral("--") + QString::fromLatin1(o.name);
            if (o.valueName)
                name += QLatin1Char(' ') + QString::fromLatin1(o.valueName);
            text += QStringLiteral("  %1 %2\n").arg(name, -17).arg(QString::fromLatin1(o.text));
        }
    }
    text += QLatin1Char('\n') + QString::fromLatin1(GlobalOptions);
    text += QStringLiteral("\nExample:\n  %1\n").arg(QString::fromLatin1(c.example));
    return text;
}

} // namespace CommandTable
