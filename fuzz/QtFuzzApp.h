#pragma once

#include <QApplication>

#include <cstdlib>

// Fontconfig keeps its caches, built on first use of a font, until the process ends;
// LeakSanitizer would report them as leaks of whichever input first drew text. Only
// that library is excused: a leak in this program or in Qt is still a finding.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// The widgets need one application object for the whole run, without a display.
inline void startQtFuzzApp()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    [[maybe_unused]] static QApplication *app = new QApplication(argc, argv);
}
