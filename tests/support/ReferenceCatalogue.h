// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "SimParameter.h"

#include <QList>
#include <QString>
#include <QStringList>

// The QTX2's 86 setup parameters written out row by row, apart from the program's own
// table, so that a slip in that table differs from this copy instead of agreeing with
// itself. Rows in item-list order; limits inclusive, lengths in inches.
namespace Reference {

using Kind = SimParameter::Kind;

struct Choice
{
    QString display;
    QString token;
    bool operator==(const Choice &o) const { return display == o.display && token == o.token; }
};

struct Parameter
{
    QString control;
    int index; // -1 for a single control
    QString tab;
    Kind kind;
    QString code;
    QString title;
    double min;
    double max;
    bool units;
    QList<Choice> choices;
    QString factory; // in inches; empty: none, the unit keeps its own

    QString name() const { return index < 0 ? control : QStringLiteral("%1(%2)").arg(control).arg(index); }
};

inline QList<Parameter> writtenOut()
{
    using K = Kind;
    const double B = 99999.99999, T = 0.00001, H = 4294967295.0;
    const QList<Choice> inside{{"Inside Bounds", "INSIDE"}, {"Outside Bounds", "OUTSIDE"}};
    const QList<Choice> detect{{"G-Series", "GSERIES"}, {"Standard", "STANDARD"}, {"Off", "OFF"}};
    const QList<Choice> baud{{"125 kbps", "125K"}, {"250 kbps", "250K"}, {"500 kbps", "500K"}, {"1000 kbps", "1000K"}};
    const QList<Choice> source{{"Position", "POSITION"}, {"Velocity", "VELOCITY"}, {"Forced", "FORCED"}};
    const QList<Choice> volts{{"0 to 5V", "0-5V"}, {"0 to 10V", "0-10V"}, {"-5 to 5V", "-5-5V"},
                              {"-10 to 10V", "-10-10V"}, {"-2.5 to 2.5V", "-2.5-2.5V"}, {"-2.5 to 7V", "-2.5-7V"}};
    const QList<Choice> type{{"SSI Binary", "SSIBIN"}, {"SSI Graycode", "SSIGRAY"}, {"Ext Clock SSI Binary", "SSIEXT"},
                             {"Start/Stop", "STARTSTOP"}, {"PWM", "PWM"}, {"CANbus", "CANBUS"},
                             {"St/St Trailing Edge", "STSTTRAIL"}};
    const QList<Choice> mode{{"Single", "SINGLE"}, {"Gap", "GAP"}, {"Relative", "RELATIVE"}};
    const QList<Choice> direction{{"Positive", "POSITIVE"}, {"Negative", "NEGATIVE"}};
    const QList<Choice> units{{"Inches", "INCHES"}, {"Feet", "FEET"}, {"CM", "CM"}, {"MM", "MM"}, {"Meters", "METERS"}};
    const QList<Choice> yesNo{{"Yes", "YES"}, {"No", "NO"}};
    return {
        {"PresetItem", 0, "Presets", K::Float, "p1", "Preset 1", -B, B, true, {}, "0"},
        {"LimitActItem", 0, "Limit Sw", K::List, "L1A", "Limit 1 Active State", 0, 0, false, inside, "INSIDE"},
        {"LimitMagItem", 0, "Limit Sw", K::Integer, "L1S", "Limit 1 Magnet", 0, 15, false, {}, "0"},
        {"LimitUBItem", 0, "Limit Sw", K::Float, "L1U", "Limit 1 Bound", -B, B, true, {}, "0"},
        {"LimitLBItem", 0, "Limit Sw", K::Float, "L1L", "Limit 1 Bound", -B, B, true, {}, "0"},
        {"RecircsItem", -1, "Transducer", K::Integer, "Xp", "Internal Recircs", 1, 32, false, {}, "1"},
        {"AutoDetectItem", -1, "Transducer", K::List, "XA", "Sensor AutoDetect", 0, 0, false, detect, "OFF"},
        {"DigInItem", 0, "Dig Inputs", K::Integer, "IA", "Input 1 Action", 0, 255, false, {}, "0"},
        {"ButtonHoldItem", 0, "Front Panel", K::Integer, "AA", "Hold Right", 0, 255, false, {}, "0"},
        {"ButtonTouchItem", 0, "Front Panel", K::Integer, "Aa", "Touch Right", 0, 255, false, {}, "0"},
        {"MagnetsItem", -1, "Transducer", K::Integer, "XM", "# of Magnets", 1, 15, false, {}, "1"},
        {"CanBaudItem", -1, "Transducer", K::List, "Xb", "CANbus Baud", 0, 0, false, baud, "500K"},
        {"CanSerialItem", -1, "Transducer", K::Hex, "CS", "CANbus Serial #", 0, H, false, {}, ""},
        {"GradientItem", -1, "Transducer", K::Float, "XG", "Gradient", T, B, true, {}, "9"},
        {"HoldoffItem", -1, "Transducer", K::Integer, "XH", "Holdoff", 0, 100, false, {}, "20"},
        {"SSIMaskItem", -1, "Transducer", K::Hex, "Xe", "SSI Error Mask", 0, H, false, {}, "FFFFFFFF"},
        {"SSIErrItem", -1, "Transducer", K::Hex, "XE", "SSI Error Word", 0, H, false, {}, "0"},
        {"SSIBitsItem", -1, "Transducer", K::Integer, "XB", "SSI Word Length", 8, 32, false, {}, "24"},
        {"MagOffItem", 0, "Position", K::Float, "Pm1", "", -B, B, true, {}, "0"},
        {"AForcePercentItem", -1, "Analog Out", K::Float, "AP", "Force Percentage", 0, 100, false, {}, "0"},
        {"ARangeItem", -1, "Analog Out", K::Float, "AR", "Analog Range", -B, B, true, {}, "10"},
        {"AStartItem", -1, "Analog Out", K::Float, "AS", "Analog Start", -B, B, true, {}, "0"},
        {"ATypeItem", -1, "Analog Out", K::List, "AT", "Source Data", 0, 0, false, source, "FORCED"},
        {"VRangeItem", -1, "Analog Out", K::List, "AV", "Voltage Range", 0, 0, false, volts, "0-10V"},
        {"TTypeItem", -1, "Transducer", K::List, "XT", "Transducer Type", 0, 0, false, type, "SSIBIN"},
        {"ReferenceItem", -1, "Position", K::Integer, "Xr", "Reference Magnet", 1, 15, false, {}, "1"},
        {"GapItem", -1, "Position", K::Integer, "Xg", "Displayed Gap", 1, 14, false, {}, "1"},
        {"MagnetItem", -1, "Position", K::Integer, "Xm", "Displayed Magnet", 1, 15, false, {}, "1"},
        {"DispModeItem", -1, "Position", K::List, "Xt", "Display Mode", 0, 0, false, mode, "SINGLE"},
        {"DirectionItem", -1, "Position", K::List, "PD", "Direction", 0, 0, false, direction, "POSITIVE"},
        {"SOffsetItem", -1, "Position", K::Float, "Po", "Soft Offset", -B, B, true, {}, "0"},
        {"HOffsetItem", -1, "Position", K::Float, "PO", "Hard Offset", -B, B, true, {}, "0"},
        {"ScaleItem", -1, "Position", K::Float, "PS", "Scale", T, B, false, {}, "1"},
        {"ResolutionItem", -1, "Position", K::Float, "PR", "Resolution", T, 1.0, true, {}, "0.0001968503937"},
        {"UnitsItem", -1, "Position", K::List, "PU", "Units", 0, 0, false, units, "INCHES"},
        {"LeadingZerosItem", -1, "Display", K::List, "dZ", "Leading Zeros", 0, 0, false, yesNo, "NO"},
        {"DisplayUpdateItem", -1, "Display", K::Integer, "dU", "Display Update Hz", 1, 60, false, {}, "25"},
        {"PlacesItem", -1, "Display", K::Integer, "dP", "Decimal Places", 1, 5, false, {}, "3"},
        {"ButtonTouchItem", 1, "Front Panel", K::Integer, "Ab", "Touch Up", 0, 255, false, {}, "0"},
        {"ButtonTouchItem", 2, "Front Panel", K::Integer, "Ac", "Touch OK", 0, 255, false, {}, "0"},
        {"ButtonTouchItem", 3, "Front Panel", K::Integer, "Ad", "Touch Left", 0, 255, false, {}, "0"},
        {"ButtonTouchItem", 4, "Front Panel", K::Integer, "Ae", "Touch Down", 0, 255, false, {}, "0"},
        {"ButtonTouchItem", 5, "Front Panel", K::Integer, "Af", "Touch Cancel", 0, 255, false, {}, "0"},
        {"ButtonHoldItem", 1, "Front Panel", K::Integer, "AB", "Hold Up", 0, 255, false, {}, "0"},
        {"ButtonHoldItem", 2, "Front Panel", K::Integer, "AC", "Hold OK", 0, 255, false, {}, "0"},
        {"ButtonHoldItem", 3, "Front Panel", K::Integer, "AD", "Hold Left", 0, 255, false, {}, "0"},
        {"ButtonHoldItem", 4, "Front Panel", K::Integer, "AE", "Hold Down", 0, 255, false, {}, "0"},
        {"ButtonHoldItem", 5, "Front Panel", K::Integer, "AF", "Hold Cancel", 0, 255, false, {}, "0"},
        {"DigInItem", 1, "Dig Inputs", K::Integer, "IB", "Input 2 Action", 0, 255, false, {}, "0"},
        {"LimitActItem", 1, "Limit Sw", K::List, "L2A", "Limit 2 Active State", 0, 0, false, inside, "INSIDE"},
        {"LimitMagItem", 1, "Limit Sw", K::Integer, "L2S", "Limit 2 Magnet", 0, 15, false, {}, "0"},
        {"LimitUBItem", 1, "Limit Sw", K::Float, "L2U", "Limit 2 Bound", -B, B, true, {}, "0"},
        {"LimitLBItem", 1, "Limit Sw", K::Float, "L2L", "Limit 2 Bound", -B, B, true, {}, "0"},
        {"LimitActItem", 2, "Limit Sw", K::List, "L3A", "Limit 3 Active State", 0, 0, false, inside, "INSIDE"},
        {"LimitMagItem", 2, "Limit Sw", K::Integer, "L3S", "Limit 3 Magnet", 0, 15, false, {}, "0"},
        {"LimitUBItem", 2, "Limit Sw", K::Float, "L3U", "Limit 3 Bound", -B, B, true, {}, "0"},
        {"LimitLBItem", 2, "Limit Sw", K::Float, "L3L", "Limit 3 Bound", -B, B, true, {}, "0"},
        {"LimitActItem", 3, "Limit Sw", K::List, "L4A", "Limit 4 Active State", 0, 0, false, inside, "INSIDE"},
        {"LimitMagItem", 3, "Limit Sw", K::Integer, "L4S", "Limit 4 Magnet", 0, 15, false, {}, "0"},
        {"LimitUBItem", 3, "Limit Sw", K::Float, "L4U", "Limit 4 Bound", -B, B, true, {}, "0"},
        {"LimitLBItem", 3, "Limit Sw", K::Float, "L4L", "Limit 4 Bound", -B, B, true, {}, "0"},
        {"LimitActItem", 4, "Limit Sw", K::List, "L5A", "Limit 5 Active State", 0, 0, false, inside, "INSIDE"},
        {"LimitMagItem", 4, "Limit Sw", K::Integer, "L5S", "Limit 5 Magnet", 0, 15, false, {}, "0"},
        {"LimitUBItem", 4, "Limit Sw", K::Float, "L5U", "Limit 5 Bound", -B, B, true, {}, "0"},
        {"LimitLBItem", 4, "Limit Sw", K::Float, "L5L", "Limit 5 Bound", -B, B, true, {}, "0"},
        {"PresetItem", 1, "Presets", K::Float, "p2", "Preset 2", -B, B, true, {}, "0"},
        {"PresetItem", 2, "Presets", K::Float, "p3", "Preset 3", -B, B, true, {}, "0"},
        {"PresetItem", 3, "Presets", K::Float, "p4", "Preset 4", -B, B, true, {}, "0"},
        {"PresetItem", 4, "Presets", K::Float, "p5", "Preset 5", -B, B, true, {}, "0"},
        {"PresetItem", 5, "Presets", K::Float, "p6", "Preset 6", -B, B, true, {}, "0"},
        {"PresetItem", 6, "Presets", K::Float, "p7", "Preset 7", -B, B, true, {}, "0"},
        {"PresetItem", 7, "Presets", K::Float, "p8", "Preset 8", -B, B, true, {}, "0"},
        {"MagOffItem", 1, "Position", K::Float, "Pm2", "", -B, B, true, {}, "0"},
        {"MagOffItem", 2, "Position", K::Float, "Pm3", "", -B, B, true, {}, "0"},
        {"MagOffItem", 3, "Position", K::Float, "Pm4", "", -B, B, true, {}, "0"},
        {"MagOffItem", 4, "Position", K::Float, "Pm5", "", -B, B, true, {}, "0"},
        {"MagOffItem", 5, "Position", K::Float, "Pm6", "", -B, B, true, {}, "0"},
        {"MagOffItem", 6, "Position", K::Float, "Pm7", "", -B, B, true, {}, "0"},
        {"MagOffItem", 7, "Position", K::Float, "Pm8", "", -B, B, true, {}, "0"},
        {"MagOffItem", 8, "Position", K::Float, "Pm9", "", -B, B, true, {}, "0"},
        {"MagOffItem", 9, "Position", K::Float, "PmA", "", -B, B, true, {}, "0"},
        {"MagOffItem", 10, "Position", K::Float, "PmB", "", -B, B, true, {}, "0"},
        {"MagOffItem", 11, "Position", K::Float, "PmC", "", -B, B, true, {}, "0"},
        {"MagOffItem", 12, "Position", K::Float, "PmD", "", -B, B, true, {}, "0"},
        {"MagOffItem", 13, "Position", K::Float, "PmE", "", -B, B, true, {}, "0"},
        {"MagOffItem", 14, "Position", K::Float, "PmF", "", -B, B, true, {}, "0"},
    };
}

inline const QList<Parameter> &parameters()
{
    static const QList<Parameter> all = writtenOut();
    return all;
}

// The same parameters as the simulated device holds them, for a device to start from.
inline QList<SimParameter> device()
{
    QList<SimParameter> out;
    for (const Parameter &p : parameters()) {
        QStringList tokens;
        for (const Choice &c : p.choices)
            tokens << c.token;
        out.append({p.code, p.kind, p.min, p.max, p.units, tokens, p.factory});
    }
    return out;
}

} // namespace Reference
