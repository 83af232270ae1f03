// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/ParameterTable.h"

#include <QHash>

#include <algorithm>

namespace ParameterTable {
namespace {

constexpr double Big = 99999.99999;
constexpr double Tiny = 0.00001;
constexpr double AllOnes = 4294967295.0; // FFFFFFFF: hex items check no range

using K = Kind;

// A row of the table. Rows with a count describe a control array: "%n" in the code and
// title stands for index + 1 in decimal, "%h" for index + 1 as one upper-case hex digit.
struct Row
{
    const char *control;
    int count; // 0: a single control
    const char *tab;
    Kind kind;
    const char *code;
    const char *title;
    double min;
    double max;
    bool units;
    QList<Choice> choices;
};

const QList<Choice> YesNo{{"Yes", "YES"}, {"No", "NO"}};
const QList<Choice> Units{{"Inches", "INCHES"}, {"Feet", "FEET"}, {"CM", "CM"}, {"MM", "MM"}, {"Meters", "METERS"}};
const QList<Choice> Direction{{"Positive", "POSITIVE"}, {"Negative", "NEGATIVE"}};
const QList<Choice> DispMode{{"Single", "SINGLE"}, {"Gap", "GAP"}, {"Relative", "RELATIVE"}};
const QList<Choice> TType{{"SSI Binary", "SSIBIN"}, {"SSI Graycode", "SSIGRAY"},
                          {"Ext Clock SSI Binary", "SSIEXT"}, {"Start/Stop", "STARTSTOP"},
                          {"PWM", "PWM"}, {"CANbus", "CANBUS"}, {"St/St Trailing Edge", "STSTTRAIL"}};
const QList<Choice> CanBaud{{"125 kbps", "125K"}, {"250 kbps", "250K"}, {"500 kbps", "500K"}, {"1000 kbps", "1000K"}};
const QList<Choice> AutoDetect{{"G-Series", "GSERIES"}, {"Standard", "STANDARD"}, {"Off", "OFF"}};
const QList<Choice> VRange{{"0 to 5V", "0-5V"}, {"0 to 10V", "0-10V"}, {"-5 to 5V", "-5-5V"},
                           {"-10 to 10V", "-10-10V"}, {"-2.5 to 2.5V", "-2.5-2.5V"}, {"-2.5 to 7V", "-2.5-7V"}};
const QList<Choice> AType{{"Position", "POSITION"}, {"Velocity", "VELOCITY"}, {"Forced", "FORCED"}};
const QList<Choice> LimitAct{{"Inside Bounds", "INSIDE"}, {"Outside Bounds", "OUTSIDE"}};

// In the order the catalogue configures them. The four limit-switch arrays form one
// group, configured switch by switch (LB, UB, Mag, Act for switch 1, then switch 2...).
const QList<Row> &rows()
{
    static const QList<Row> table{
        // control            count tab            kind       code    title                    min      max    units choices
        {"PlacesItem",          0, "Display",     K::Integer, "dP",   "Decimal Places",           1,       5, false, {}},
        {"DisplayUpdateItem",   0, "Display",     K::Integer, "dU",   "Display Update Hz",        1,      60, false, {}},
        {"LeadingZerosItem",    0, "Display",     K::List,    "dZ",   "Leading Zeros",            0,       0, false, YesNo},
        {"UnitsItem",           0, "Position",    K::List,    "PU",   "Units",                    0,       0, false, Units},
        {"ResolutionItem",      0, "Position",    K::Float,   "PR",   "Resolution",            Tiny,     1.0, true,  {}},
        {"ScaleItem",           0, "Position",    K::Float,   "PS",   "Scale",                 Tiny,     Big, false, {}},
        {"HOffsetItem",         0, "Position",    K::Float,   "PO",   "Hard Offset",           -Big,     Big, true,  {}},
        {"SOffsetItem",         0, "Position",    K::Float,   "Po",   "Soft Offset",           -Big,     Big, true,  {}},
        {"DirectionItem",       0, "Position",    K::List,    "PD",   "Direction",                0,       0, false, Direction},
        {"DispModeItem",        0, "Position",    K::List,    "Xt",   "Display Mode",             0,       0, false, DispMode},
        {"MagnetItem",          0, "Position",    K::Integer, "Xm",   "Displayed Magnet",         1,      15, false, {}},
        {"GapItem",             0, "Position",    K::Integer, "Xg",   "Displayed Gap",            1,      14, false, {}},
        {"ReferenceItem",       0, "Position",    K::Integer, "Xr",   "Reference Magnet",         1,      15, false, {}},
        {"MagOffItem",         15, "Position",    K::Float,   "Pm%h", "",                      -Big,     Big, true,  {}},
        {"TTypeItem",           0, "Transducer",  K::List,    "XT",   "Transducer Type",          0,       0, false, TType},
        {"MagnetsItem",         0, "Transducer",  K::Integer, "XM",   "# of Magnets",             1,      15, false, {}},
        {"SSIBitsItem",         0, "Transducer",  K::Integer, "XB",   "SSI Word Length",          8,      32, false, {}},
        {"SSIErrItem",          0, "Transducer",  K::Hex,     "XE",   "SSI Error Word",           0, AllOnes, false, {}},
        {"SSIMaskItem",         0, "Transducer",  K::Hex,     "Xe",   "SSI Error Mask",           0, AllOnes, false, {}},
        {"GradientItem",        0, "Transducer",  K::Float,   "XG",   "Gradient",              Tiny,     Big, true,  {}},
        {"HoldoffItem",         0, "Transducer",  K::Integer, "XH",   "Holdoff",                  0,     100, false, {}},
        {"CanBaudItem",         0, "Transducer",  K::List,    "Xb",   "CANbus Baud",              0,       0, false, CanBaud},
        {"CanSerialItem",       0, "Transducer",  K::Hex,     "CS",   "CANbus Serial #",          0, AllOnes, false, {}},
        {"AutoDetectItem",      0, "Transducer",  K::List,    "XA",   "Sensor AutoDetect",        0,       0, false, AutoDetect},
        {"RecircsItem",         0, "Transducer",  K::Integer, "Xp",   "Internal Recircs",         1,      32, false, {}},
        {"VRangeItem",          0, "Analog Out",  K::List,    "AV",   "Voltage Range",            0,       0, false, VRange},
        {"ATypeItem",           0, "Analog Out",  K::List,    "AT",   "Source Data",              0,       0, false, AType},
        {"AStartItem",          0, "Analog Out",  K::Float,   "AS",   "Analog Start",          -Big,     Big, true,  {}},
        {"ARangeItem",          0, "Analog Out",  K::Float,   "AR",   "Analog Range",          -Big,     Big, true,  {}},
        {"AForcePercentItem",   0, "Analog Out",  K::Float,   "AP",   "Force Percentage",         0,     100, false, {}},
        {"DigInItem",           0, "Dig Inputs",  K::Integer, "IA",   "Input 1 Action",           0,     255, false, {}},
        {"DigInItem",           0, "Dig Inputs",  K::Integer, "IB",   "Input 2 Action",           0,     255, false, {}},
        {"ButtonTouchItem",     0, "Front Panel", K::Integer, "Aa",   "Touch Right",              0,     255, false, {}},
        {"ButtonTouchItem",     0, "Front Panel", K::Integer, "Ab",   "Touch Up",                 0,     255, false, {}},
        {"ButtonTouchItem",     0, "Front Panel", K::Integer, "Ac",   "Touch OK",                 0,     255, false, {}},
        {"ButtonTouchItem",     0, "Front Panel", K::Integer, "Ad",   "Touch Left",               0,     255, false, {}},
        {"ButtonTouchItem",     0, "Front Panel", K::Integer, "Ae",   "Touch Down",               0,     255, false, {}},
        {"ButtonTouchItem",     0, "Front Panel", K::Integer, "Af",   "Touch Cancel",             0,     255, false, {}},
        {"ButtonHoldItem",      0, "Front Panel", K::Integer, "AA",   "Hold Right",               0,     255, false, {}},
        {"ButtonHoldItem",      0, "Front Panel", K::Integer, "AB",   "Hold Up",                  0,     255, false, {}},
        {"ButtonHoldItem",      0, "Front Panel", K::Integer, "AC",   "Hold OK",                  0,     255, false, {}},
        {"ButtonHoldItem",      0, "Front Panel", K::Integer, "AD",   "Hold Left",                0,     255, false, {}},
        {"ButtonHoldItem",      0, "Front Panel", K::Integer, "AE",   "Hold Down",                0,     255, false, {}},
        {"ButtonHoldItem",      0, "Front Panel", K::Integer, "AF",   "Hold Cancel",              0,     255, false, {}},
        {"LimitLBItem",         5, "Limit Sw",    K::Float,   "L%nL", "Limit %n Bound",        -Big,     Big, true,  {}},
        {"LimitUBItem",         5, "Limit Sw",    K::Float,   "L%nU", "Limit %n Bound",        -Big,     Big, true,  {}},
        {"LimitMagItem",        5, "Limit Sw",    K::Integer, "L%nS", "Limit %n Magnet",          0,      15, false, {}},
        {"LimitActItem",        5, "Limit Sw",    K::List,    "L%nA", "Limit %n Active State",    0,       0, false, LimitAct},
        {"PresetItem",          8, "Presets",     K::Float,   "p%n",  "Preset %n",             -Big,     Big, true,  {}},
    };
    return table;
}

// The items the window layout creates, in creation order; MagOffItem(1) to (14) follow.
struct Created
{
    const char *control;
    int first;
    int last; // -1 for a single control
};

const QList<Created> &layoutOrder()
{
    static const QList<Created> order{
        {"PresetItem", 0, 0}, {"LimitActItem", 0, 0}, {"LimitMagItem", 0, 0}, {"LimitUBItem", 0, 0},
        {"LimitLBItem", 0, 0}, {"RecircsItem", -1, -1}, {"AutoDetectItem", -1, -1}, {"DigInItem", 0, 0},
        {"ButtonHoldItem", 0, 0}, {"ButtonTouchItem", 0, 0}, {"MagnetsItem", -1, -1}, {"CanBaudItem", -1, -1},
        {"CanSerialItem", -1, -1}, {"GradientItem", -1, -1}, {"HoldoffItem", -1, -1}, {"SSIMaskItem", -1, -1},
        {"SSIErrItem", -1, -1}, {"SSIBitsItem", -1, -1}, {"MagOffItem", 0, 0}, {"AForcePercentItem", -1, -1},
        {"ARangeItem", -1, -1}, {"AStartItem", -1, -1}, {"ATypeItem", -1, -1}, {"VRangeItem", -1, -1},
        {"TTypeItem", -1, -1}, {"ReferenceItem", -1, -1}, {"GapItem", -1, -1}, {"MagnetItem", -1, -1},
        {"DispModeItem", -1, -1}, {"DirectionItem", -1, -1}, {"SOffsetItem", -1, -1}, {"HOffsetItem", -1, -1},
        {"ScaleItem", -1, -1}, {"ResolutionItem", -1, -1}, {"UnitsItem", -1, -1}, {"LeadingZerosItem", -1, -1},
        {"DisplayUpdateItem", -1, -1}, {"PlacesItem", -1, -1}, {"ButtonTouchItem", 1, 5},
        {"ButtonHoldItem", 1, 5}, {"DigInItem", 1, 1},
        {"LimitActItem", 1, 1}, {"LimitMagItem", 1, 1}, {"LimitUBItem", 1, 1}, {"LimitLBItem", 1, 1},
        {"LimitActItem", 2, 2}, {"LimitMagItem", 2, 2}, {"LimitUBItem", 2, 2}, {"LimitLBItem", 2, 2},
        {"LimitActItem", 3, 3}, {"LimitMagItem", 3, 3}, {"LimitUBItem", 3, 3}, {"LimitLBItem", 3, 3},
        {"LimitActItem", 4, 4}, {"LimitMagItem", 4, 4}, {"LimitUBItem", 4, 4}, {"LimitLBItem", 4, 4},
        {"PresetItem", 1, 7}, {"MagOffItem", 1, 14},
    };
    return order;
}

QString expand(const char *pattern, int index)
{
    QString s = QString::fromLatin1(pattern);
    s.replace(QLatin1String("%n"), QString::number(index + 1));
    s.replace(QLatin1String("%h"), QString::number(index + 1, 16).toUpper());
    return s;
}

Parameter make(const Row &row, int index)
{
    Parameter p;
    p.control = QString::fromLatin1(row.control);
    p.index = index;
    p.tab = QString::fromLatin1(row.tab);
    p.kind = row.kind;
    p.code = expand(row.code, index);
    p.title = expand(row.title, index);
    p.min = row.min;
    p.max = row.max;
    p.units = row.units;
    p.choices = row.choices;
    return p;
}

QList<Parameter> buildParameters()
{
    QList<Parameter> out;
    QHash<QString, int> nextIndex; // single controls that repeat (DigInItem, buttons) are arrays too
    const QList<Row> &table = rows();
    for (int r = 0; r < table.size(); ++r) {
        const Row &row = table[r];
        const QString control = QString::fromLatin1(row.control);
        if (row.count == 0) {
            const bool repeated = std::count_if(table.begin(), table.end(), [&](const Row &o) {
                                      return control == QLatin1String(o.control);
                                  }) > 1;
            out.append(make(row, repeated ? nextIndex[control]++ : -1));
            continue;
        }
        if (control == QLatin1String("LimitLBItem")) {
            // The four limit arrays are configured one switch at a time.
            for (int i = 0; i < row.count; ++i)
                for (int g = 0; g < 4; ++g)
                    out.append(make(table[r + g], i));
            r += 3;
            continue;
        }
        for (int i = 0; i < row.count; ++i)
            out.append(make(row, i));
    }
    return out;
}

QList<Parameter> buildCreationOrder()
{
    QList<Parameter> out;
    for (const Created &c : layoutOrder()) {
        const QString control = QString::fromLatin1(c.control);
        for (int i = c.first; i <= c.last || (c.first < 0 && i == c.first); ++i) {
            const Parameter *p = byControl(control, i);
            Q_ASSERT(p);
            if (p)
                out.append(*p);
            if (c.first < 0)
                break;
        }
    }
    return out;
}

} // namespace

QString Parameter::distinctTitle() const
{
    if (control == QLatin1String("MagOffItem"))
        return QStringLiteral("Magnet %1 Offset").arg(index + 1);
    if (control == QLatin1String("LimitLBItem"))
        return QStringLiteral("Limit %1 Lower Bound").arg(index + 1);
    if (control == QLatin1String("LimitUBItem"))
        return QStringLiteral("Limit %1 Upper Bound").arg(index + 1);
    return title;
}

QString Parameter::name() const
{
    return index < 0 ? control : QStringLiteral("%1(%2)").arg(control).arg(index);
}

const QList<Parameter> &parameters()
{
    static const QList<Parameter> all = buildParameters();
    return all;
}

const QList<Parameter> &creationOrder()
{
    static const QList<Parameter> order = buildCreationOrder();
    return order;
}

const Parameter *byCode(const QString &code)
{
    for (const Parameter &p : parameters())
        if (p.code == code)
            return &p;
    return nullptr;
}

const Parameter *byControl(const QString &control, int index)
{
    for (const Parameter &p : parameters())
        if (p.control == control && p.index == index)
            return &p;
    return nullptr;
}

const QStringList &tabs()
{
    static const QStringList captions{"Display", "Position", "Transducer", "Analog Out",
                                      "Dig Inputs", "Front Panel", "Limit Sw", "Presets"};
    return captions;
}

} // namespace ParameterTable
