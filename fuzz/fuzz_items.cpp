// One settings-file line offered to one setup item of each kind (the first byte picks the
// kind, the next two the device unit and the item's set-up, the rest is the line): the
// item takes exactly what its kind's rules allow, keeps its text well-formed, and its own
// file line loads back unchanged.
#include "FuzzCheck.h"
#include "QtFuzzApp.h"
#include "QuietLink.h"
#include "items/FloatItem.h"
#include "items/HexItem.h"
#include "items/IntegerItem.h"
#include "model/LengthUnits.h"
#include "items/ListItem.h"
#include "model/NumberText.h"
#include "transfer/ItemTrack.h"

#include <QRegularExpression>

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace NumberText;

namespace {

const char *const Codes[8] = {"dP", "Xe", "PO", "Po", "AR", "PU", "LB1", "Lb10"};
const int UnitChoices[8] = {0, 1, 2, 3, 4, 5, -1, 1000}; // the last three name no unit

struct Setup
{
    int kind;          // 0 integer, 1 float, 2 float with units, 3 list, 4 hex
    int currentUnits;
    int limits;        // index into the kind's limit table
    bool resetUnits;   // the float item shows arriving values in current_units
    bool rawLine;      // the line as given, otherwise the item's code in front of it
    bool startHigh;    // the item starts at its upper limit, otherwise at its lower one
    QString code;
    QString line;
};

bool matches(const char *pattern, const QString &text)
{
    return QRegularExpression(QString::fromLatin1(pattern)).match(text).hasMatch();
}

// The wire form is the file form with the "0" before a leading point.
QString wireOf(const QString &fileValue)
{
    if (fileValue.startsWith(QLatin1Char('.')))
        return QLatin1Char('0') + fileValue;
    if (fileValue.startsWith(QLatin1String("-.")))
        return QLatin1String("-0") + fileValue.mid(1);
    return fileValue;
}

// The item's own line goes back in and comes out again, and a canonical field text stays
// as it is (a plain float's field may lose digits beyond the 15th). A length may move within
// single precision once, then its line is a fixpoint. The write command carries
// the same number in wire form.
void checkOwnLine(SetupItem *item, QuietLink &link, const Setup &in, bool exact, bool textStays,
                  const QString &where)
{
    const QString line = item->make_file_write_str();
    const QString text = item->value_text();
    const QString what = where + QStringLiteral(" own line ") + FuzzCheck::visible(line);
    FUZZ_CHECK(line.startsWith(in.code), what);
    FUZZ_CHECK(!line.contains(QLatin1Char(' ')), what);
    FUZZ_CHECK(item->check_file_read(line), what);
    QString again = item->make_file_write_str();
    const QString moved = what + QStringLiteral(" loads back as %1 (field %2 -> %3)")
                                     .arg(FuzzCheck::visible(again), FuzzCheck::visible(text),
                                          FuzzCheck::visible(item->value_text()));
    if (exact) {
        FUZZ_CHECK(again == line, moved);
        // A plain float's field may show more digits than its 15-digit line carries.
        FUZZ_CHECK(!textStays || item->value_text() == text, moved);
    } else {
        FUZZ_CHECK(FuzzCheck::sameInSinglePrecision(leading_value(line.mid(in.code.size())),
                                                    leading_value(again.mid(in.code.size()))),
                   moved);
        FUZZ_CHECK(FuzzCheck::sameInSinglePrecision(leading_value(text), leading_value(item->value_text())), moved);
        const QString settled = again;
        FUZZ_CHECK(item->check_file_read(settled), moved);
        again = item->make_file_write_str();
        FUZZ_CHECK(again == settled, moved + QStringLiteral(", then as ") + FuzzCheck::visible(again));
    }
    link.sent.clear();
    item->ser_write();
    const QString expected = QLatin1Char('S') + in.code + wireOf(again.mid(in.code.size()));
    FUZZ_CHECK(link.sent.size() == 1 && link.sent.first() == expected,
               where + QStringLiteral(" write %1, expected %2").arg(link.sent.join(QLatin1Char('|')), expected));
}

void runInteger(const Setup &in, const ItemContext &ctx, QuietLink &link, const QString &where)
{
    static const qint16 Limits[8][2] = {{5, 5}, {-32768, 32767}, {1, 99}, {-5, 5},
                                        {0, 1}, {9, 1}, {0, 20000}, {-3, -1}};
    IntegerItem item(ctx);
    item.set_all(in.code, QStringLiteral("Integer"), Limits[in.limits][0], Limits[in.limits][1]);
    item.set_value(in.startHigh ? item.upper_limit() : item.lower_limit());
    const QString before = item.value_text();

    const bool mine = item.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), where);
    QString want = before;
    if (mine) {
        bool ok = false;
        const qint16 v = round_int16(leading_value(in.line.mid(in.code.size())), &ok);
        if (ok && item.lower_limit() <= v && v <= item.upper_limit())
            want = QString::number(v);
    }
    FUZZ_CHECK(item.value_text() == want, where + QStringLiteral(" shows %1, expected %2").arg(item.value_text(), want));
    FUZZ_CHECK(matches("^-?(0|[1-9][0-9]*)$", item.value_text()), where);
    checkOwnLine(&item, link, in, true, true, where);
}

void runFloat(const Setup &in, const ItemContext &ctx, QuietLink &link, const QString &where)
{
    static const double Plain[8][2] = {{2.5, 2.5}, {-1e6, 1e6}, {0, 1}, {-100, 100},
                                       {1e-3, 2e-3}, {-1e300, 1e300}, {0, 3.4e38}, {0, 100}};
    // Lengths in inches, as the catalogue has them (99999.99999 and 0.00001 among them).
    static const double Lengths[8][2] = {{2.5, 2.5}, {-99999.99999, 99999.99999}, {0.00001, 1}, {-100, 100},
                                         {1e-3, 2e-3}, {0.00001, 99999.99999}, {0, 1}, {-60, 60}};
    const bool units = in.kind == 2;
    const double *limits = units ? Lengths[in.limits] : Plain[in.limits];
    FloatItem item(ctx);
    item.set_all(in.code, QStringLiteral("Float"), limits[0], limits[1], units);
    item.set_value(in.startHigh ? item.upper_limit() : item.lower_limit());
    if (in.resetUnits)
        item.reset_units();
    const QString before = item.value_text();
    const int unitBefore = item.display_unit();

    const bool mine = item.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), where);
    QString want = before;
    int wantUnit = unitBefore;
    if (mine) {
        double v = leading_value(in.line.mid(in.code.size()));
        const int cu = LengthUnits::isValid(in.currentUnits) ? in.currentUnits : 0;
        if (units)
            v = ctx.units->convert_length(v, cu, 0);
        if (item.lower_limit() <= v && v <= item.upper_limit()) {
            if (units) {
                wantUnit = item.unit_chosen() ? unitBefore : cu;
                want = display_single(ctx.units->convert_length(v, 0, wantUnit));
            } else {
                want = display_double(v);
            }
        }
    }
    FUZZ_CHECK(item.value_text() == want, where + QStringLiteral(" shows %1, expected %2").arg(item.value_text(), want));
    FUZZ_CHECK(item.display_unit() == wantUnit, where);
    FUZZ_CHECK(matches("^-?[0-9]+\\.[0-9]{4,10}$", item.value_text()), where + QLatin1Char(' ') + item.value_text());
    // A field within the limits writes a line that the item takes back: moved to another
    // value first, it returns to what it showed (within single precision for a length).
    const double field = leading_value(item.value_text()) / (units ? double(ctx.units->factor(item.display_unit())) : 1.0);
    if (item.lower_limit() < item.upper_limit() && item.lower_limit() <= field && field <= item.upper_limit()) {
        const QString own = item.make_file_write_str();
        const QString shown = item.value_text();
        const double other = item.lower_limit() / 2 + item.upper_limit() / 2;
        item.set_value(other);
        const QString moved = item.value_text();
        item.check_file_read(own);
        FUZZ_CHECK(FuzzCheck::sameInSinglePrecision(leading_value(item.value_text()), leading_value(shown)),
                   where + QStringLiteral(" field %1 (%2 in) within limits %3..%4 writes %5; moved to %6, that line"
                                          " leaves the field at %7")
                               .arg(shown, QString::number(field, 'g', 17))
                               .arg(item.lower_limit(), 0, 'g', 17)
                               .arg(item.upper_limit(), 0, 'g', 17)
                               .arg(own, moved, item.value_text()));
    }
    checkOwnLine(&item, link, in, !units, false, where);
}

void runList(const Setup &in, const ItemContext &ctx, QuietLink &link, const QString &where)
{
    ListItem item(ctx);
    item.set_all(in.code, QStringLiteral("List"));
    item.init_list();
    QStringList tokens;
    switch (in.limits % 4) {
    case 0:
        tokens = {QStringLiteral("INCHES"), QStringLiteral("FEET"), QStringLiteral("CM"), QStringLiteral("MM"),
                  QStringLiteral("METERS")};
        break;
    case 1: // a repeated token: the first one wins
        tokens = {QStringLiteral("YES"), QStringLiteral("NO"), QStringLiteral("YES")};
        break;
    case 2: // more than the list holds
        for (int i = 0; i < ListItem::MaxChoices + 3; ++i)
            tokens << QString::number(i);
        break;
    default:
        tokens = {QStringLiteral("500K"), QStringLiteral("250K"), QStringLiteral("1M"), QStringLiteral("SSIBIN")};
        break;
    }
    for (const QString &t : tokens)
        item.add_item(t.toLower(), t);
    FUZZ_CHECK(item.count() == qMin(int(tokens.size()), ListItem::MaxChoices), where);
    const int before = item.getindex();

    const bool mine = item.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), where);
    int want = before;
    if (mine) {
        const int i = tokens.indexOf(in.line.mid(in.code.size()));
        if (i >= 0 && i < ListItem::MaxChoices)
            want = i;
    }
    FUZZ_CHECK(item.getindex() == want, where + QStringLiteral(" index %1, expected %2").arg(item.getindex()).arg(want));
    FUZZ_CHECK(item.value_text() == tokens.at(want).toLower(), where);
    checkOwnLine(&item, link, in, true, true, where);
}

void runHex(const Setup &in, const ItemContext &ctx, QuietLink &link, const QString &where)
{
    HexItem item(ctx);
    item.set_all(in.code, QStringLiteral("Hex"), 0, 4294967295LL);
    item.set_value(in.limits % 2 ? -1 : 0x1234);
    const QString before = item.value_text();

    const bool mine = item.check_file_read(in.line);
    FUZZ_CHECK(mine == in.line.startsWith(in.code), where);
    QString want = before;
    if (mine) {
        bool ok = false;
        const qint32 v = hex_value(in.line.mid(in.code.size()), &ok);
        if (ok)
            want = padded_hex_text(v);
    }
    FUZZ_CHECK(item.value_text() == want, where + QStringLiteral(" shows %1, expected %2").arg(item.value_text(), want));
    FUZZ_CHECK(matches("^[0-9A-F]{8}$", item.value_text()), where);
    checkOwnLine(&item, link, in, true, true, where);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startQtFuzzApp();
    // Draw one item of each kind once, so fonts and styles are set up before the first input.
    ItemTrack track;
    QuietLink link;
    LengthUnits units;
    const ItemContext ctx{&track, &link, &units};
    IntegerItem i(ctx);
    FloatItem f(ctx);
    f.set_units(true);
    ListItem l(ctx);
    l.add_item(QStringLiteral("x"), QStringLiteral("X"));
    HexItem h(ctx);
    for (QWidget *w : {static_cast<QWidget *>(&i), static_cast<QWidget *>(&f), static_cast<QWidget *>(&l),
                       static_cast<QWidget *>(&h)})
        w->grab();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    Setup in;
    in.kind = data[0] % 5;
    in.currentUnits = UnitChoices[data[1] % 8];
    in.startHigh = data[1] & 8;
    in.limits = data[2] & 7;
    in.resetUnits = data[2] & 8;
    in.rawLine = data[2] & 16;
    in.code = QString::fromLatin1(Codes[data[2] >> 5]);
    const QString rest = QString::fromLatin1(reinterpret_cast<const char *>(data) + 3, qsizetype(size - 3));
    in.line = in.rawLine ? rest : in.code + rest;

    ItemTrack track;
    QuietLink link;
    LengthUnits units;
    units.fill_factors();
    units.set_current_units(in.currentUnits);
    const ItemContext ctx{&track, &link, &units};
    const QString where = QStringLiteral("kind %1 units %2 limits %3 reset %4 high %5 code %6 line %7")
                              .arg(in.kind)
                              .arg(in.currentUnits)
                              .arg(in.limits)
                              .arg(in.resetUnits)
                              .arg(in.startHigh)
                              .arg(in.code, FuzzCheck::visible(in.line));
    switch (in.kind) {
    case 0: runInteger(in, ctx, link, where); break;
    case 1:
    case 2: runFloat(in, ctx, link, where); break;
    case 3: runList(in, ctx, link, where); break;
    default: runHex(in, ctx, link, where); break;
    }
    return 0;
}
