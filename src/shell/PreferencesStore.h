#pragma once

#include <optional>

// The four choices kept from one run to the next: "ReadMagnets", "AutoUpload",
// "Expanded" and "Port", 32-bit integers under the program's key. A value that is
// missing or cannot be read leaves its choice at the fallback: unchecked, pane hidden,
// no stored port (the first port).
class PreferencesStore
{
public:
    struct Values
    {
        bool readMagnets = false;
        bool autoUpload = false;
        bool expanded = false;
        std::optional<int> port; // the whole port number of "COMn"
    };

    // Reads in the order ReadMagnets, AutoUpload, Expanded, Port.
    Values load() const;
    // Writes in the same order; Port only when there is one.
    void save(const Values &values) const;
};
