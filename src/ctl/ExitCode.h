// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// What qtx2ctl's exit status tells a script.
enum class ExitCode {
    Ok = 0,
    Differences = 1, // diff, download --verify: the device does not hold the file
    NotDone = 1,     // the device answered but refused, or gave no value: not what was asked
    Usage = 2,       // unknown command, option or code, a value outside its limits
    NoDevice = 3,    // no connection, or the device stopped answering
    File = 4,        // a file that cannot be read or written, standard output included
    Interrupted = 130, // Ctrl-C: as a shell reports a run ended by SIGINT
};
