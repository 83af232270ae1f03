// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

// The choices kept from one run to the next: "ReadMagnets", "AutoUpload", "Expanded",
// "Port", "VerifyAfterDownload" and "BackupBeforeDownload", 32-bit integers under the
// program's key. A value that is missing or cannot be read leaves its choice at the
// fallback: unchecked, pane hidden, no stored port (the first port); the two safety
// choices are on, so a store from before they existed keeps the device's settings safe.
class PreferencesStore
{
public:
    struct Values
    {
        bool readMagnets = false;
        bool autoUpload = false;
        bool expanded = false;
        std::optional<int> port; // the whole port number of "COMn"
        bool verifyAfterDownload = true;
        bool backupBeforeDownload = true;
    };

    // Reads in the order ReadMagnets, AutoUpload, Expanded, Port, then the safety choices.
    Values load() const;
    // Writes in the same order; Port only when there is one.
    void save(const Values &values) const;
};
