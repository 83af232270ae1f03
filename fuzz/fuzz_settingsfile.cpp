// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// A whole settings file loaded into a full set of settings, as the Open command loads it.
// Whatever the file held, the set's own file must load back into it: exactly for every
// value but lengths, which travel as 7-digit numbers in the device's unit and may move
// within single precision once. The file saved after that is a fixpoint, also when
// loaded into a set fresh from start-up.
#include "FuzzCheck.h"
#include "FakeLink.h"
#include "model/FloatSetting.h"
#include "model/ItemTrack.h"
#include "model/NumberText.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// A set as start-up leaves it, made canonical by one load of its own file ("0" in a hex
// or float text becomes 00000000 or 0.0000).
struct Form
{
    FakeLink link;
    SettingsSet set{&link};
    ItemTrack track{&set, &link};
    Form() { track.fileReadLines(track.fileLines()); }
    QStringList shown() const
    {
        QStringList out;
        for (Setting *s : set.item_list())
            out << s->valueText();
        return out;
    }
    QStringList lines() const // each setting's own line, in item-list order
    {
        QStringList out;
        for (Setting *s : set.item_list())
            out << s->make_file_write_str();
        return out;
    }
};

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray data;
    for (const QString &line : lines)
        data += line.toLatin1() + "\r\n";
    return data;
}

// The settings whose line or text differ (beyond single precision for a length if allowed).
QString differences(const Form &f, const QStringList &linesA, const QStringList &shownA, const QStringList &linesB,
                    const QStringList &shownB, bool lengthStep)
{
    QStringList out;
    const QList<Setting *> &items = f.set.item_list();
    const auto value = [](const QString &text) { return NumberText::leadingValue(text); };
    for (int i = 0; i < items.size(); ++i) {
        const QString a = linesA.at(i), b = linesB.at(i);
        if (a == b && shownA.at(i) == shownB.at(i))
            continue;
        const auto *length = qobject_cast<const FloatSetting *>(items.at(i));
        const int code = int(items.at(i)->get_serstring().size());
        if (lengthStep && length && length->hasUnits()
            && FuzzCheck::sameInSinglePrecision(value(a.mid(code)), value(b.mid(code)))
            && FuzzCheck::sameInSinglePrecision(value(shownA.at(i)), value(shownB.at(i))))
            continue;
        out << QStringLiteral("%1: line %2 -> %3, text %4 -> %5")
                   .arg(items.at(i)->get_serstring(), FuzzCheck::visible(a), FuzzCheck::visible(b),
                        FuzzCheck::visible(shownA.at(i)), FuzzCheck::visible(shownB.at(i)));
    }
    return out.join(QStringLiteral("; "));
}

// A saved file's shape: the units line first and only there, one line a setting, no
// blanks, and it splits back into the same lines.
void checkShape(const QStringList &saved)
{
    const QString file = FuzzCheck::visible(fileBytes(saved));
    FUZZ_CHECK(saved.size() == 86 && saved.first().startsWith(QLatin1String("PU")), file);
    for (int i = 1; i < saved.size(); ++i)
        FUZZ_CHECK(!saved.at(i).startsWith(QLatin1String("PU")), file);
    for (const QString &line : saved)
        FUZZ_CHECK(!line.isEmpty() && !line.contains(QLatin1Char(' ')) && QString::fromLatin1(line.toLatin1()) == line,
                   FuzzCheck::visible(line));
    FUZZ_CHECK(SettingsFile::splitLines(fileBytes(saved)) == saved, file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = SettingsFile::splitLines(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')), FuzzCheck::visible(line));
    Form f;
    f.track.fileReadLines(lines);
    const QStringList first = f.track.fileLines();
    const QStringList linesLoaded = f.lines(), loaded = f.shown();
    checkShape(first);

    // The set's own file, loaded into the set as it stands.
    f.track.fileReadLines(first);
    const QStringList second = f.track.fileLines();
    const QStringList linesReloaded = f.lines(), reloaded = f.shown();
    checkShape(second);
    QString diff = differences(f, linesLoaded, loaded, linesReloaded, reloaded, true);
    FUZZ_CHECK(diff.isEmpty(), QStringLiteral("own file does not load back: ") + diff);

    // From then on nothing moves, also in a set fresh from start-up.
    f.track.fileReadLines(second);
    diff = differences(f, linesReloaded, reloaded, f.lines(), f.shown(), false);
    FUZZ_CHECK(diff.isEmpty() && f.track.fileLines() == second, QStringLiteral("second save is no fixpoint: ") + diff);
    Form fresh;
    fresh.track.fileReadLines(second);
    diff = differences(fresh, linesReloaded, reloaded, fresh.lines(), fresh.shown(), false);
    FUZZ_CHECK(diff.isEmpty() && fresh.track.fileLines() == second, QStringLiteral("fresh load differs: ") + diff);
    FUZZ_CHECK(diff.isEmpty(), QStringLiteral("a fresh load of the saved file differs: ") + diff);
    return 0;
}
