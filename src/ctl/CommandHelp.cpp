// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CommandHelp.h"

namespace CommandHelp {
namespace {

const char *const Usage = "Usage: qtx2ctl [--port N | --device PATH] [--baud BPS] [--node auto|0-9] [--verbose] ";

const char *const GlobalOptions =
    "Options:\n"
    "  --port N          Serial port COMn, 1 to 16 (default 1); qtx2ctl ports lists them.\n"
    "  --device PATH     The serial device at PATH instead (a pseudo-terminal of qtx2-sim).\n"
    "  --baud BPS        Line speed: 1200, 2400, 4800, 9600, 19200 (default), 38400, 57600\n"
    "                    or 115200.\n"
    "  --node ID         The device's node ID, 0 to 9, or auto (default): asked with $0RID.\n"
    "  --verbose         Every exchange on standard error, as the communications log shows it.\n"
    "  -h, --help        This help; qtx2ctl COMMAND --help explains one command.\n"
    "  --version         The program's version.\n";

const char *const ExitCodes =
    "Exit codes:\n"
    "  0  success\n"
    "  1  differences found (diff, download --verify), or the device refused a command or\n"
    "     gave no value for a read (the message names each)\n"
    "  2  usage error: unknown command, option or code, a value outside its limits\n"
    "  3  no connection, or the device stopped answering (the message names the port)\n"
    "  4  a file that cannot be read or written (nothing half-written is left)\n";

QString line(const Command &c)
{
    return QStringLiteral("  %1").arg(QString::fromLatin1(c.name) + QLatin1Char(' ') + QString::fromLatin1(c.arguments), -32);
}

} // namespace

const QList<Command> &commands()
{
    static const QList<Command> table{
        {"ports", "", 0, 0, "COM1..COM16: what each stands for, and which open",
         "Tries each port number in turn and prints one line for it: COMn, the system device it\n"
         "stands for (- for none), and \"opens\" or why it does not.",
         {}, "qtx2ctl ports"},
        {"info", "", 0, 0, "identity, node ID, whether the factory command is there",
         "Connects as the window's Connect does and prints identity=, node= and\n"
         "factory-command=yes|no, one a line.",
         {}, "qtx2ctl --port 2 info"},
        {"get", "CODE...", 1, -1, "one line per code: CODE=VALUE",
         "Reads each parameter and prints CODE=VALUE, the value as a settings file carries it\n"
         "(lengths in the device's length unit). Codes are case-sensitive: PO and Po differ.",
         {}, "qtx2ctl get PU XM dP"},
        {"set", "CODE=VALUE...", 1, -1, "write each (write protection lifted as the window does)",
         "Writes each value, lifting the write protection first. Values are given as a settings\n"
         "file carries them: lengths in the device's length unit, or in the unit PU=... names\n"
         "in the same command (the units are then written first). Every value is checked\n"
         "against its limits before anything is written.",
         {}, "qtx2ctl set PU=MM PR=0.005 XM=2"},
        {"upload", "FILE|-", 1, 1, "read all 86 into a settings file, same bytes as the window's Save",
         "Reads every parameter from the device and writes them as the window's Save does, to\n"
         "FILE or, for -, to standard output. The file is replaced only when complete.",
         {}, "qtx2ctl upload unit-0042.txt"},
        {"download", "FILE [--verify]", 1, 1, "write a settings file to the device, units first",
         "Writes the settings file FILE to the device as the window's Download does: the units\n"
         "first, then every other parameter. The file must give a value for every parameter.",
         {{"verify", nullptr,
           "Read every parameter back and list each one the device does not\n"
           "                    hold, one line each: CODE file=VALUE device=VALUE; exit code 1\n"
           "                    if there is any, or if one could not be read back."}},
         "qtx2ctl --port 3 download line3.txt --verify"},
        {"diff", "FILE", 1, 1, "compare the device with a file; one line per difference",
         "Reads every parameter from the device and compares it with the settings file FILE:\n"
         "equal when the device would hold the same text, to the last digit the line carries\n"
         "(lengths in the device's unit, lists by token, hex by value). Prints one line per\n"
         "difference, CODE file=VALUE device=VALUE, each value as that side carries it and a\n"
         "length with its unit (PO file=10 MM device=5 Inches); names on standard error what\n"
         "could not be compared, and exits with 1 unless every parameter was compared equal.",
         {}, "qtx2ctl diff line3.txt"},
        {"factory-reset", "[--backup FILE]", 0, 0, "the device's factory reset; settings saved first",
         "Resets the device to its factory settings: a device that knows the factory command\n"
         "resets itself; another one gets the factory settings written, its own CANbus serial\n"
         "number kept.",
         {{"backup", "FILE",
           "Save the device's settings to FILE first (as upload does); nothing is\n"
           "                    reset when the file cannot be written."}},
         "qtx2ctl factory-reset --backup before-reset.txt"},
        {"set-node", "N", 1, 1, "Change Node ID",
         "Gives the device the node ID N, 0 to 9; later commands then need --node N (or auto).",
         {}, "qtx2ctl --node 0 set-node 3"},
        {"monitor", "[--magnets] [--count N]", 0, 0, "positions as CSV lines, 4 a second",
         "Reads the positions as the window does, 4 reads a second, and prints one CSV line\n"
         "per read: the time in seconds, then the displayed position and magnets 1 to 15,\n"
         "the position read in its own column (empty when the read gave no number). With\n"
         "--magnets the reads go round the magnets too. Runs until stopped, or for N lines.",
         {{"magnets", nullptr, "Also read the position of every magnet."},
          {"count", "N", "Stop after N lines."}},
         "qtx2ctl monitor --magnets --count 40 > run.csv"},
    };
    return table;
}

const Command *find(const QString &name)
{
    for (const Command &c : commands())
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString overall()
{
    QString text = QString::fromLatin1(Usage) + QStringLiteral("COMMAND [ARGUMENTS]\n\n")
        + QStringLiteral("Configures a QTX2 panel display from scripts, one command a run: results on standard\n"
                         "output, messages and progress on standard error.\n\nCommands:\n");
    for (const Command &c : commands())
        text += line(c) + QLatin1Char(' ') + QString::fromLatin1(c.summary) + QLatin1Char('\n');
    text += QLatin1Char('\n') + QString::fromLatin1(GlobalOptions) + QLatin1Char('\n') + QString::fromLatin1(ExitCodes);
    text += QStringLiteral("\nExample: program a unit from a file and check it holds the file\n"
                           "  qtx2ctl --port 3 download unit.txt --verify && echo \"unit programmed\"\n");
    return text;
}

QString of(const Command &c)
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

} // namespace CommandHelp
