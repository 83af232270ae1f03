// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// One settings-file line offered to one setting of each kind (the first byte picks the
// kind, the next two the device unit and the setting's set-up, the rest is the line): the
// setting takes exactly what its kind's rules allow, keeps its text well-formed, and its
// own file line loads back unchanged.
#include "FuzzCheck.h"
#include "FakeLink.h"
#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/LengthUnits.h"
#include "model/ListSetting.h"
#include "model/NumberText.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <limits>

using namespace NumberText;

namespace {

const char *const Codes[8] = {"dP", "Xe", "PO", "Po", "AR", "PU", "LB1", "Lb10"};
const int UnitChoices[8] = {0, 1, 2, 3, 4, 5, -1, 1000}; // the last three name no unit

struct Input
{
    int kind; // 0 integer, 1 float, 2 length, 3 list, 4 hex
    int limits;
    bool resetUnits;
    bool startHigh;
    QString code;
    QString line;
    QString where;
};

bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QString::fromLatin1(pattern)).match(text).hasMatch();
}

QString wireOf(const QString &fileValue)
{
    if (fileValue.startsWith(QLatin1Char('.')))
        return QLatin1Char('0') + fileValue;
    if (fileValue.startsWith(QLatin1String("-.")))
        return QLatin1String("-0") + fileValue.mid(1);
    return fileValue;
}

// The setting's own line goes back in and comes out again; a length may move within
// single precision once, then its line is a fixpoint. The write carries the same number.
void checkOwnLine(Setting &s, FakeLink &link, const Input &in, bool exact)
{
    const QString line = s.make_file_write_str();
    const QString text = s.valueText();
    const QString what = in.where + QStringLiteral(" own line ") + FuzzCheck::visible(line);
    FUZZ_CHECK(line.startsWith(in.code) && !line.contains(QLatin1Char(' ')), what);
    FUZZ_CHECK(s.check_file_read(line), what);
    QString again = s.make_file_write_str();
    const QString moved = what + QStringLiteral(" loads back as %1 (text %2 -> %3)")
                                     .arg(FuzzCheck::visible(again), FuzzCheck::visible(text),
                                          FuzzCheck::visible(s.valueText()));
    if (exact) {
        FUZZ_CHECK(again == line, moved);
    } else {
        FUZZ_CHECK(FuzzCheck::sameInSinglePrecision(leadingValue(text), leadingValue(s.valueText())), moved);
        FUZZ_CHECK(s.check_file_read(again), moved);
        FUZZ_CHECK(s.make_file_write_str() == again, moved);
    }
    link.sent.clear();
    s.ser_write();
    const QString expected = QLatin1Char('S') + in.code + wireOf(again.mid(in.code.size()));
    FUZZ_CHECK(link.sent == (QStringList{QStringLiteral("WE"), expected}), in.where + QStringLiteral(" write ") + link.sent.join('|'));
}

void runInteger(const Input &in, const SettingContext &ctx, FakeLink &link)
{
    static const qint16 Limits[8][2] = {{5, 5}, {-32768, 32767}, {1, 99}, {-5, 5}, {0, 1}, {9, 1}, {0, 20000}, {-3, -1}};
    IntegerSetting s(ctx);
    s.set_all(in.code, QStringLiteral("Integer"), Limits[in.limits][0], Limits[in.limits][1]);
    s.set_value(in.startHigh ? s.upperLimit() : s.lowerLimit());
    QString want = s.valueText();
    const bool mine = s.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), in.where);
    bool ok = false;
    const qint16 v = roundInt16(leadingValue(in.line.mid(in.code.size())), &ok);
    if (mine && ok && s.lowerLimit() <= v && v <= s.upperLimit())
        want = QString::number(v);
    FUZZ_CHECK(s.valueText() == want && matches("^-?(0|[1-9][0-9]*)$", want), in.where + QLatin1Char(' ') + s.valueText());
    checkOwnLine(s, link, in, true);
}

void runFloat(const Input &in, const SettingContext &ctx, FakeLink &link)
{
    static const double Plain[8][2] = {{2.5, 2.5}, {-1e6, 1e6}, {0, 1}, {-100, 100},
                                       {1e-3, 2e-3}, {-1e300, 1e300}, {0, 3.4e38}, {0, 100}};
    // Lengths in inches, as the catalogue has them (99999.99999 and 0.00001 among them).
    static const double Lengths[8][2] = {{2.5, 2.5}, {-99999.99999, 99999.99999}, {0.00001, 1}, {-100, 100},
                                         {1e-3, 2e-3}, {0.00001, 99999.99999}, {0, 1}, {-60, 60}};
    const bool units = in.kind == 2;
    const double *limits = units ? Lengths[in.limits] : Plain[in.limits];
    FloatSetting s(ctx);
    s.set_all(in.code, QStringLiteral("Float"), limits[0], limits[1], units);
    s.set_value(in.startHigh ? s.upperLimit() : s.lowerLimit());
    if (in.resetUnits)
        s.reset_units();
    const QString before = s.valueText();
    const int cu = LengthUnits::isValid(ctx.units->current_units()) ? ctx.units->current_units() : 0;
    const int shownUnit = s.unitChosen() ? s.displayUnit() : cu;
    const bool mine = s.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), in.where);
    FUZZ_CHECK(matches("^-?[0-9]+\\.[0-9]{4,20}$", s.valueText()), in.where + QLatin1Char(' ') + s.valueText());
    const double raw = leadingValue(in.line.mid(in.code.size()));
    const double v = units ? double(ctx.units->convert_length(raw, cu, 0)) : raw;
    // Within the limits a value is taken; clearly beyond them (two single-precision steps
    // for a length) it is not; one step out it may be taken and held to the limit.
    const double step = units ? 2 * std::numeric_limits<float>::epsilon() : 0;
    const double lo = s.lowerLimit(), hi = s.upperLimit();
    // A length is kept as it came, in its unit, and shown converted from there.
    const QString taken = units ? displaySingle(ctx.units->convert_length(raw, cu, shownUnit)) : displayDouble(v);
    if (mine && lo <= v && v <= hi)
        FUZZ_CHECK(s.valueText() == taken, in.where + QStringLiteral(" shows ") + s.valueText() + " not " + taken);
    else if (!mine || v < lo - std::fabs(lo) * step - 1e-30 || v > hi + std::fabs(hi) * step + 1e-30)
        FUZZ_CHECK(s.valueText() == before, in.where + QStringLiteral(" shows ") + s.valueText());
    checkOwnLine(s, link, in, !units);
}

void runList(const Input &in, const SettingContext &ctx, FakeLink &link)
{
    static const QList<QStringList> Tokens{{"INCHES", "FEET", "CM", "MM", "METERS"},
                                           {"YES", "NO", "YES"}, // a repeated token: the first one wins
                                           {"500K", "250K", "1M", "SSIBIN"}};
    QStringList tokens = Tokens.value(in.limits % 4);
    for (int i = 0; tokens.isEmpty() && i < ListSetting::MaxChoices + 3; ++i)
        tokens << QString::number(i); // more than the list holds
    ListSetting s(ctx);
    s.set_all(in.code, QStringLiteral("List"));
    for (const QString &t : tokens)
        s.add_item(t.toLower(), t);
    FUZZ_CHECK(s.count() == qMin(int(tokens.size()), ListSetting::MaxChoices), in.where);
    int want = s.getindex();
    const bool mine = s.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), in.where);
    const int i = mine ? int(tokens.indexOf(in.line.mid(in.code.size()))) : -1;
    if (i >= 0 && i < ListSetting::MaxChoices)
        want = i;
    FUZZ_CHECK(s.getindex() == want && s.valueText() == tokens.at(want).toLower(), in.where);
    checkOwnLine(s, link, in, true);
}

void runHex(const Input &in, const SettingContext &ctx, FakeLink &link)
{
    HexSetting s(ctx);
    s.set_all(in.code, QStringLiteral("Hex"), 0, 4294967295LL);
    s.set_value(in.limits % 2 ? -1 : 0x1234);
    QString want = s.valueText();
    const bool mine = s.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), in.where);
    bool ok = false;
    const qint32 v = hexValue(in.line.mid(in.code.size()), &ok);
    if (mine && ok)
        want = paddedHexText(v);
    FUZZ_CHECK(s.valueText() == want && matches("^[0-9A-F]{8}$", want), in.where + QLatin1Char(' ') + s.valueText());
    checkOwnLine(s, link, in, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    Input in;
    in.kind = data[0] % 5;
    in.startHigh = data[1] & 8;
    in.limits = data[2] & 7;
    in.resetUnits = data[2] & 8;
    in.code = QString::fromLatin1(Codes[data[2] >> 5]);
    const QString rest = QString::fromLatin1(reinterpret_cast<const char *>(data) + 3, qsizetype(size - 3));
    in.line = (data[2] & 16) ? rest : in.code + rest;
    LengthUnits units;
    units.setCurrentUnits(UnitChoices[data[1] % 8]);
    in.where = QStringLiteral("kind %1 units %2 limits %3 reset %4 high %5 line %6")
                   .arg(in.kind)
                   .arg(units.current_units())
                   .arg(in.limits)
                   .arg(in.resetUnits)
                   .arg(in.startHigh)
                   .arg(FuzzCheck::visible(in.line));
    FakeLink link;
    const SettingContext ctx{&link, &units};
    switch (in.kind) {
    case 0: runInteger(in, ctx, link); break;
    case 1:
    case 2: runFloat(in, ctx, link); break;
    case 3: runList(in, ctx, link); break;
    default: runHex(in, ctx, link); break;
    }
    return 0;
}
