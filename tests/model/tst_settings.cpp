// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeLink.h"
#include "ReferenceCatalogue.h"

#include "model/DeviceValues.h"
#include "model/EditTracker.h"
#include "model/FloatSetting.h"
#include "model/HexSetting.h"
#include "model/IntegerSetting.h"
#include "model/ListSetting.h"
#include "model/SettingsFilter.h"
#include "model/SettingsSet.h"
#include "model/SettingsTableModel.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

// The rules of the four kinds on the catalogue's own settings, with no widget: what a
// reply, a file line, a default and typed text become, and what goes on the wire.
// XH: integer 0..100; dP: integer 1..5; Xe: hex; dZ: list Yes/No; PO: length within
// +-99999.99999 in; PR: length 0.00001..1 in; PS: plain 0.00001..99999.99999.
class TestSettings : public QObject
{
    Q_OBJECT

    FakeLink link;
    std::unique_ptr<SettingsSet> set;

    Setting *at(const QString &code) { return set->byCode(code); }
    FloatSetting *length(const QString &code) { return static_cast<FloatSetting *>(at(code)); }
    using Model = SettingsTableModel;
    // A walk that read these settings of a set of their own, each done.
    static WalkReport readOf(const QList<Setting *> &read)
    {
        WalkReport report;
        for (Setting *s : read)
            report.entries.append({s, {ExchangeResult::Kind::Done, {}}, s->editCount()});
        return report;
    }
    void edit(Model &model, const QString &code, int column, const QVariant &value)
    {
        model.setData(model.index(model.rowOf(at(code)), column), value);
    }
    static Reference::Kind kind(Setting *s)
    {
        return qobject_cast<IntegerSetting *>(s) ? Reference::Kind::Integer
               : qobject_cast<FloatSetting *>(s) ? Reference::Kind::Float
               : qobject_cast<ListSetting *>(s)  ? Reference::Kind::List
                                                 : Reference::Kind::Hex;
    }
    void start(const QString &code, const QString &text, int units)
    {
        at(code)->take(text);
        set->units().setCurrentUnits(units);
        link.sent.clear();
    }

private slots:
    void init()
    {
        link = FakeLink();
        set = std::make_unique<SettingsSet>(&link);
    }

    void read_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("shown");
        QTest::newRow("int") << "XH" << "7" << 0 << "3" << "3";
        QTest::newRow("int half to even down") << "XH" << "7" << 0 << "2.5" << "2";
        QTest::newRow("int half to even up") << "XH" << "7" << 0 << "3.5" << "4";
        QTest::newRow("int blank inside") << "XH" << "7" << 0 << "1 2" << "12";
        QTest::newRow("int trailing letters") << "XH" << "7" << 0 << "4xyz" << "4";
        QTest::newRow("int below limit") << "XH" << "7" << 0 << "-1" << "7";
        QTest::newRow("int rounds above limit") << "XH" << "7" << 0 << "100.6" << "7";
        QTest::newRow("int outside 16 bits") << "XH" << "7" << 0 << "70000" << "7";
        QTest::newRow("int no number is no value") << "XH" << "7" << 0 << "abc" << "7";
        QTest::newRow("int refused") << "XH" << "7" << 0 << "ERR CMD" << "7";
        QTest::newRow("int 0 outside 1..5") << "dP" << "3" << 0 << "abc" << "3";
        QTest::newRow("hex short") << "Xe" << "CAFE0001" << 0 << "1F" << "0000001F";
        QTest::newRow("hex lower case") << "Xe" << "CAFE0001" << 0 << "abc" << "00000ABC";
        QTest::newRow("hex empty is no value") << "Xe" << "CAFE0001" << 0 << "" << "CAFE0001";
        QTest::newRow("hex refused") << "Xe" << "CAFE0001" << 0 << "ERR CMD" << "CAFE0001";
        QTest::newRow("hex FFFF stays positive") << "Xe" << "CAFE0001" << 0 << "FFFF" << "0000FFFF";
        QTest::newRow("hex nine digits ignored") << "Xe" << "CAFE0001" << 0 << "123456789" << "CAFE0001";
        QTest::newRow("hex leading zeros beyond eight") << "Xe" << "CAFE0001" << 0 << "00000000AB" << "000000AB";
        QTest::newRow("list") << "dZ" << "NO" << 0 << "YES" << "Yes";
        QTest::newRow("list other case") << "dZ" << "NO" << 0 << "yes" << "No";
        QTest::newRow("list trailing blank") << "dZ" << "NO" << 0 << "YES " << "No";
        QTest::newRow("MM 254 is 10 in") << "PO" << ".5" << 3 << "254" << "10.0000";
        QTest::newRow("limit in inches: 25.4 mm") << "PR" << ".5" << 3 << "25.4" << "1.0000";
        QTest::newRow("limit in inches: 25.5 mm") << "PR" << ".5" << 3 << "25.5" << "0.5000";
        QTest::newRow("limit in inches: 0.0254 m") << "PR" << ".5" << 4 << "0.0254" << "1.0000";
        QTest::newRow("time-out text is no value") << "PO" << ".5" << 3 << "TIMEOUT ERROR" << "0.5000";
        QTest::newRow("beyond every range") << "PO" << ".5" << 0 << "1E400" << "0.5000";
        // A length at its limit, carried in single precision, is taken; one step further is not.
        QTest::newRow("lower limit") << "PR" << ".5" << 0 << "0.00001" << "0.00001";
        QTest::newRow("lower limit in MM") << "PR" << ".5" << 3 << "0.000254" << "0.00001";
        QTest::newRow("below the lower limit") << "PR" << ".5" << 0 << "0.0000099" << "0.5000";
        QTest::newRow("above the upper limit") << "PR" << ".5" << 0 << "1.00001" << "0.5000";
        QTest::newRow("upper limit") << "PO" << ".5" << 0 << "99999.99999" << "100000.0000";
        QTest::newRow("six steps beyond") << "PO" << ".5" << 0 << "100000.05" << "0.5000";
        QTest::newRow("below the negative limit") << "PO" << ".5" << 0 << "-100000.05" << "0.5000";
        QTest::newRow("plain: units ignored") << "PS" << ".5" << 3 << "12.5" << "12.5000";
        QTest::newRow("plain: below its limit") << "PS" << ".5" << 3 << "0" << "0.5000";
    }
    void read()
    {
        QFETCH(QString, code);
        QFETCH(QString, start);
        QFETCH(int, units);
        QFETCH(QString, reply);
        QFETCH(QString, shown);
        this->start(code, start, units);
        link.replies.insert("R" + code, reply);
        at(code)->ser_read();
        QCOMPARE(link.sent, QStringList{"R" + code});
        QCOMPARE(at(code)->valueText(), shown);
        // A failed exchange shows nothing: its time-out text is not the device's value.
        link.fail = true;
        QSignalSpy changed(at(code), &Setting::changed);
        at(code)->ser_read();
        QCOMPARE(changed.count(), 0);
        // Its own settings-file line brings the same value back.
        const QString line = at(code)->make_file_write_str();
        at(code)->take(start);
        QVERIFY(at(code)->check_file_read(line));
        QCOMPARE(at(code)->valueText(), shown);
    }

    void write_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("line");
        QTest::newRow("int") << "dP" << 0 << "3" << "SdP3" << "dP3";
        QTest::newRow("int letters") << "dP" << 0 << "12abc" << "SdP12" << "dP12";
        QTest::newRow("int not rounded") << "dP" << 0 << "1.5" << "SdP1.5" << "dP1.5";
        QTest::newRow("int below one") << "dP" << 0 << "-.5" << "SdP-0.5" << "dP-.5";
        QTest::newRow("int no number") << "dP" << 0 << "abc" << "SdP0" << "dP0";
        QTest::newRow("int huge") << "dP" << 0 << "1E20" << "SdP1E+20" << "dP1E+20";
        QTest::newRow("hex FF") << "Xe" << 0 << "000000FF" << "SXeFF" << "XeFF";
        QTest::newRow("hex zero") << "Xe" << 0 << "00000000" << "SXe0" << "Xe0";
        QTest::newRow("hex all ones") << "Xe" << 0 << "FFFFFFFF" << "SXeFFFFFFFF" << "XeFFFFFFFF";
        QTest::newRow("hex nine digits typed") << "Xe" << 0 << "123456789" << "SXe23456789" << "Xe23456789";
        QTest::newRow("10 in to MM") << "PO" << 3 << "10.0000" << "SPO254" << "PO254";
        QTest::newRow("1 in to feet") << "PO" << 1 << "1" << "SPO0.08333334" << "PO.08333334";
        QTest::newRow("typed, not limited, to CM") << "PO" << 2 << "12.5abc" << "SPO31.75" << "PO31.75";
        QTest::newRow("negative half inch") << "PO" << 0 << "-0.5" << "SPO-0.5" << "PO-.5";
        QTest::newRow("7 digits only") << "PO" << 0 << "1.23456789" << "SPO1.234568" << "PO1.234568";
        QTest::newRow("large in single") << "PO" << 3 << "1E6" << "SPO2.54E+07" << "PO2.54E+07";
        QTest::newRow("plain: 15 digits") << "PS" << 3 << "0.123456789012345678" << "SPS0.123456789012346"
                                          << "PS.123456789012346";
    }
    void write()
    {
        QFETCH(QString, code);
        QFETCH(int, units);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        QFETCH(QString, line);
        set->units().setCurrentUnits(units);
        if (auto *f = qobject_cast<FloatSetting *>(at(code)))
            f->editText(typed);
        else if (auto *h = qobject_cast<HexSetting *>(at(code)))
            h->editText(typed);
        else
            static_cast<IntegerSetting *>(at(code))->editText(typed);
        QCOMPARE(at(code)->valueText(), typed);
        at(code)->ser_write();
        QCOMPARE(link.sent, (QStringList{"WE", command}));
        QCOMPARE(at(code)->make_file_write_str(), line);
    }

    void fileLine_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("units");
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("mine");
        QTest::addColumn<QString>("shown");
        QTest::newRow("int rounded") << "dP" << "2" << 0 << "dP4.5" << true << "4";
        QTest::newRow("int outside limits") << "dP" << "2" << 0 << "dP6" << true << "2";
        QTest::newRow("int code only offers 0") << "XH" << "2" << 0 << "XH" << true << "0";
        QTest::newRow("int other case") << "dP" << "2" << 0 << "dp4" << false << "2";
        QTest::newRow("shorter than the code") << "dP" << "2" << 0 << "d" << false << "2";
        QTest::newRow("blank before the code") << "dP" << "2" << 0 << " dP4" << false << "2";
        QTest::newRow("hex code only") << "Xe" << "12" << 0 << "Xe" << true << "00000000";
        QTest::newRow("hex other case") << "Xe" << "12" << 0 << "XEFF" << false << "00000012";
        QTest::newRow("list no match") << "dZ" << "YES" << 0 << "dZMAYBE" << true << "Yes";
        QTest::newRow("list code only") << "dZ" << "YES" << 0 << "dZ" << true << "Yes";
        QTest::newRow("list other case token") << "dZ" << "YES" << 0 << "dZno" << true << "Yes";
        QTest::newRow("length read in MM") << "PR" << ".5" << 3 << "PR25.4" << true << "1.0000";
        QTest::newRow("same line in CM is too long") << "PR" << ".5" << 2 << "PR25.4" << true << "0.5000";
        QTest::newRow("length code only is 0: below") << "PR" << ".5" << 3 << "PR" << true << "0.5000";
        QTest::newRow("plain 0 within 0..100") << "AP" << "1" << 0 << "AP0" << true << "0.0000";
        const QString long9(900 * 1024, '9');
        QTest::newRow("900 KB of nines") << "dP" << "2" << 0 << "dP" + long9 << true << "2";
        QTest::newRow("900 KB of zeros, then 5") << "dP" << "2" << 0 << "dP" + QString(900 * 1024, '0') + "5" << true << "5";
        QTest::newRow("huge exponent") << "dP" << "2" << 0 << "dP1E" + long9 << true << "2";
        QTest::newRow("900 KB of hex digits") << "Xe" << "12" << 0 << "Xe" + QString(900 * 1024, 'F') << true << "00000012";
        QTest::newRow("900 KB token") << "PU" << "MM" << 0 << "PU" + QString(900 * 1024, 'M') << true << "MM";
    }
    void fileLine()
    {
        QFETCH(QString, code);
        QFETCH(QString, start);
        QFETCH(int, units);
        QFETCH(QString, line);
        QFETCH(bool, mine);
        QFETCH(QString, shown);
        this->start(code, start, units);
        QSignalSpy spy(at(code), &Setting::changed);
        QCOMPARE(at(code)->check_file_read(line), mine);
        QCOMPARE(at(code)->valueText(), shown);
        QVERIFY(spy.count() >= 1); // the offered line always counts
    }

    // Limits are taken only as a rising pair; a kind never given one accepts only 0.
    void limitPairs()
    {
        IntegerSetting fresh({&link, nullptr});
        fresh.editText("9");
        QVERIFY(!fresh.take("1"));
        QVERIFY(fresh.take("0"));
        auto *places = static_cast<IntegerSetting *>(at("dP"));
        places->set_limits(5, 5);
        places->set_limits(9, 1);
        QCOMPARE(places->upperLimit(), qint16(5));
        FloatSetting fixed({&link, nullptr});
        fixed.set_limits(2.5, 2.5);
        QVERIFY(!fixed.take("1") && fixed.take("0"));
        auto *mask = static_cast<HexSetting *>(at("Xe"));
        QCOMPARE(mask->upperLimit(), 0); // 0 and FFFFFFFF (-1) is not a rising pair
        mask->setDefault(4294967295LL);  // and hex values are never limited
        QCOMPARE(mask->valueText(), QStringLiteral("FFFFFFFF"));
    }

    void hexLeavingNormalises_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("blanks around") << " 12 " << "00000012";
        QTest::newRow("nine digits keep the last eight") << "123456789" << "23456789";
        QTest::newRow("lower case") << "1a" << "0000001A";
    }
    void hexLeavingNormalises()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        auto *hex = static_cast<HexSetting *>(at("Xe"));
        hex->editText(typed);
        hex->normalise();
        QCOMPARE(hex->valueText(), shown);
    }

    void listChoices()
    {
        auto *type = static_cast<ListSetting *>(at("AT"));
        QStringList order;
        connect(type, &Setting::changed, this, [&order] { order << "changed"; });
        connect(type, &Setting::selectionChanged, this, [&order] { order << "selection"; });
        type->choose(2);
        type->validate();
        QCOMPARE(order, (QStringList{"changed", "selection", "changed", "selection"}));
        QCOMPARE(type->valueText(), QStringLiteral("Forced"));
        type->add_item("Again", "VELOCITY"); // a second VELOCITY: the lower index wins
        QVERIFY(type->check_file_read("ATVELOCITY"));
        QCOMPARE(type->getindex(), 1);
        type->init_list(); // nothing chosen: nothing to write or save
        QCOMPARE(type->getindex(), -1);
        type->ser_write();
        QCOMPARE(link.sent, QStringList());
        QCOMPARE(type->make_file_write_str(), QString());
    }

    void unitSelection_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CM") << 2 << "2.5400";
        QTest::newRow("Feet") << 1 << "0.08333334";
        QTest::newRow("same unit re-formats") << 0 << "1.0000";
    }
    void unitSelection()
    {
        QFETCH(int, unit);
        QFETCH(QString, shown);
        FloatSetting *offset = length("PO");
        offset->editText("1");
        offset->selectUnit(unit);
        QCOMPARE(offset->valueText(), shown);
        QCOMPARE(offset->displayUnit(), unit);
        offset->ser_write(); // still one inch on the wire
        QCOMPARE(link.sent.last(), QStringLiteral("SPO1"));
        offset->setDefault(2.0); // a default shows in the chosen unit
        QCOMPARE(offset->make_file_write_str(), QStringLiteral("PO2"));
    }

    // Arriving values follow the device's unit while the user has chosen none; the
    // selector follows them, so later writes convert from the unit the text is in.
    void unitsFollowTheDevice()
    {
        FloatSetting *offset = length("PO");
        offset->reset_units();
        QVERIFY(!offset->unitChosen());
        start("PO", "0", 3);
        link.replies.insert("RPO", "254");
        offset->ser_read();
        QCOMPARE(offset->valueText(), QStringLiteral("254.0000"));
        QCOMPARE(offset->displayUnit(), 3);
        offset->ser_write();
        QCOMPARE(link.sent.last(), QStringLiteral("SPO254"));

        offset->set_value(1);
        set->units().setCurrentUnits(2);
        offset->reset_units();
        QCOMPARE(offset->valueText(), QStringLiteral("2.5400"));
        QCOMPARE(offset->displayUnit(), 2);
        set->units().setCurrentUnits(-1); // no unit chosen on the device side: inches
        offset->reset_units();
        QCOMPARE(offset->valueText(), QStringLiteral("1.0000"));
        length("PS")->take("0.5");
        length("PS")->reset_units(); // a plain number never converts
        QCOMPARE(length("PS")->valueText(), QStringLiteral("0.5000"));
    }

    // The catalogue against the copy written apart from it: every setting in item-list
    // order with its code (case counts), control, kind, title, unit flag and choices (on the
    // first), taken at each limit and refused just beyond, and the form's factory value.
    void catalogue()
    {
        const QList<Setting *> &items = set->item_list();
        QCOMPARE(items.size(), Reference::parameters().size());
        QStringList before;
        for (Setting *s : items)
            before << s->valueText();
        for (int i = 0; i < items.size(); ++i) {
            const Reference::Parameter &r = Reference::parameters().at(i);
            Setting *s = items.at(i);
            const QByteArray row = (r.name() + " " + r.code).toLatin1();
            QVERIFY2(s->get_serstring() == r.code && set->byControl(r.control, r.index) == s, row);
            QVERIFY2(s->title() == r.title + ":" && s->isLength() == r.units, row);
            QVERIFY2(kind(s) == r.kind, row);
            QList<Reference::Choice> choices;
            if (auto *list = qobject_cast<ListSetting *>(s)) {
                for (int c = 0; c < list->count(); ++c)
                    choices.append({list->displays().at(c), list->token(c)});
                QVERIFY2(list->getindex() == 0, row);
            }
            QVERIFY2(choices == r.choices, row);
            if (r.kind != Reference::Kind::Integer && r.kind != Reference::Kind::Float)
                continue;
            const auto beyond = [&r](double v) { return r.kind == Reference::Kind::Integer ? 1 : v == 0 ? 1e-4 : std::abs(v) * 1e-4; };
            for (const double v : {r.min, r.max, r.min - beyond(r.min), r.max + beyond(r.max)})
                QVERIFY2(s->take(QString::number(v, 'g', 12)) == (v >= r.min && v <= r.max), row + " " + QByteArray::number(v));
        }

        set->applyFactoryDefaults();
        for (int i = 0; i < items.size(); ++i) {
            const Reference::Parameter &r = Reference::parameters().at(i);
            const QString got = r.factory.isEmpty() ? items.at(i)->valueText() : items.at(i)->wireValueIn(0);
            const QString expected = r.factory.isEmpty() ? before.at(i) : r.factory;
            const double want = expected.toDouble();
            const bool same = r.kind == Reference::Kind::Float ? std::abs(got.toDouble() - want) <= 1e-6 * std::abs(want)
                              : r.kind == Reference::Kind::Hex ? got.toUInt(nullptr, 16) == expected.toUInt(nullptr, 16)
                                                              : got == expected;
            QVERIFY2(same, qPrintable(r.code + " " + got));
        }
        const QStringList shown{"PR=0.0001968504", "PS=1.0000", "Xe=FFFFFFFF"};
        for (const QString &d : shown)
            QCOMPARE(at(d.section('=', 0, 0))->valueText(), d.section('=', 1));
        const QStringList configured{"L1L", "L1U", "L1S", "L1A", "L2L"};
        for (int i = 0; i < configured.size(); ++i)
            QCOMPARE(ParameterTable::parameters().at(58 + i).code, configured.at(i));
    }

    // The All Settings table over a form at the factory values, with the device's values
    // read in inches and a unit and a value set in the table: the row's value, unit,
    // factory and device texts, and its marks (Edited, not Factory, not Device).
    void settingsTable_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("device"); // as read, empty when not read
        QTest::addColumn<QString>("shown");
        QTest::newRow("factory, not read") << "dP" << "" << "" << "" << "3||3||";
        QTest::newRow("the device differs") << "dP" << "" << "" << "5" << "3||3|5|D";
        QTest::newRow("typed as the device") << "dP" << "" << "5" << "5" << "5||3|5|EF";
        QTest::newRow("typed text is kept") << "dP" << "" << "9x" << "" << "9x||3||EF";
        QTest::newRow("choice by text, any case") << "Xb" << "" << "250 KBPS" << "" << "250 kbps||500 kbps||EF";
        QTest::newRow("no such choice") << "Xb" << "" << "300 kbps" << "500K" << "500 kbps||500 kbps|500 kbps|";
        QTest::newRow("hex normalised") << "Xe" << "" << "ff" << "" << "000000FF||FFFFFFFF||EF";
        QTest::newRow("no factory value") << "CS" << "" << "1" << "" << "00000001||||E";
        QTest::newRow("length in the chosen unit") << "PO" << "MM" << "25.4" << "1" << "25.4|MM|0.0000|25.4000|EF";
        QTest::newRow("one wire digit apart") << "PO" << "" << "1.000001" << "1" << "1.000001|Inches|0.0000|1.0000|EFD";
        QTest::newRow("no such unit") << "PO" << "Furlongs" << "" << "" << "0.0000|Inches|0.0000||";
    }
    void settingsTable()
    {
        QFETCH(QString, code);
        QFETCH(QString, unit);
        QFETCH(QString, typed);
        QFETCH(QString, device);
        set->applyFactoryDefaults();
        EditTracker tracker(set.get());
        DeviceValues values;
        SettingsSet read;
        QList<Setting *> done{read.unitsItem()};
        if (!device.isEmpty() && read.byCode(code)->take(device))
            done << read.byCode(code);
        values.noteRead(readOf(done));
        Model model(set.get(), &tracker, &values);
        QCOMPARE(model.rowCount(), 86);
        if (!unit.isEmpty())
            edit(model, code, Model::Unit, unit);
        if (!typed.isEmpty())
            edit(model, code, Model::Value, typed);
        QStringList texts;
        const int row = model.rowOf(at(code));
        for (int c = Model::Value; c <= Model::Device; ++c)
            texts << model.index(row, c).data().toString();
        texts << QString();
        for (int c = Model::Edited; c <= Model::NotDevice; ++c)
            texts.last() += model.index(row, c).data().toString().isEmpty() ? QString() : QString("EFD").mid(c - Model::Edited, 1);
        QTEST(texts.join('|'), "shown");
    }

    // The search (code, title, tab, value; case aside), the two toggles and the sorting,
    // over a form with three edits and one value read.
    void settingsFilter_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<int>("toggles"); // 1 edited only, 2 not factory
        QTest::addColumn<int>("sort"); // the column + 1, negative descending, 0 the tabs' order
        QTest::addColumn<QString>("codes"); // in order, or how many
        QTest::newRow("all") << "" << 0 << 0 << "86";
        QTest::newRow("code, any case") << "Xg" << 0 << 0 << "Xg XG";
        QTest::newRow("every offset") << " OFFSET " << 0 << 0 << "17";
        QTest::newRow("value") << "kbps" << 0 << 0 << "Xb";
        QTest::newRow("tab") << "dig inputs" << 0 << 0 << "IA IB";
        QTest::newRow("edited only") << "" << 1 << 0 << "dP L1U L2U L3U";
        QTest::newRow("not factory") << "" << 2 << 0 << "dP Xm L1U L2U";
        QTest::newRow("both, and a search") << "limit" << 3 << 0 << "L1U L2U";
        QTest::newRow("numbers as numbers") << "upper" << 0 << Model::Value + 1 << "L3U L4U L5U L1U L2U";
        QTest::newRow("tabs in their order") << "" << 2 << -(Model::Tab + 1) << "L1U L2U Xm dP";
    }
    void settingsFilter()
    {
        QFETCH(QString, search);
        QFETCH(int, toggles);
        QFETCH(int, sort);
        set->applyFactoryDefaults();
        EditTracker tracker(set.get());
        Model model(set.get(), &tracker, nullptr);
        for (const auto &[code, value] : {std::pair{"dP", "4"}, {"L2U", "10"}, {"L1U", "9"}, {"L3U", "0.00"}})
            edit(model, code, Model::Value, value);
        at("Xm")->take("5"); // not an edit
        SettingsFilter filter;
        filter.setSourceModel(&model);
        filter.setSearch(search);
        filter.setEditedOnly(toggles & 1);
        filter.setNotFactoryOnly(toggles & 2);
        filter.sort(std::abs(sort) - 1, sort < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
        QStringList codes;
        for (int r = 0; r < filter.rowCount(); ++r)
            codes << filter.index(r, Model::Code).data().toString();
        QTEST(codes.size() > 10 ? QString::number(codes.size()) : codes.join(' '), "codes");
    }

    // The table follows the settings row by row and never resets: a change is its own
    // row's, a value that stays is none, and rows come and go with their marks.
    void tableFollowsTheSettings()
    {
        set->applyFactoryDefaults();
        EditTracker tracker(set.get());
        DeviceValues values;
        Model model(set.get(), &tracker, &values);
        SettingsFilter filter;
        filter.setSourceModel(&model);
        filter.setNotFactoryOnly(true);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        const auto rows = [&] {
            QStringList codes;
            for (const QList<QVariant> &args : std::as_const(changed))
                codes << model.settingAt(args.at(0).toModelIndex().row())->get_serstring();
            changed.clear();
            codes.removeDuplicates();
            return codes.join(' ') + " / " + QString::number(filter.rowCount());
        };
        at("PmA")->take("2");
        at("dP")->take("3");
        static_cast<ListSetting *>(at("dZ"))->validate();
        QCOMPARE(rows(), "PmA / 1");
        filter.setEditedOnly(true);
        edit(model, "dP", Model::Value, "4");
        QCOMPARE(rows(), "dP / 1");
        tracker.clear();
        QCOMPARE(rows(), "dP / 0");
        values.noteRead(readOf({at("dP")}));
        QCOMPARE(rows(), "dP / 0");
        at("PU")->take("MM"); // lengths compare in the form's unit: none moves
        QCOMPARE(rows(), "PU / 0");
        QCOMPARE(reset.count(), 0);
    }

    // The device's value is known only from a read that was done and not edited over,
    // until a write of another value or the link's end.
    void deviceValues_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("editedAfter");
        QTest::addColumn<QString>("then");
        QTest::addColumn<QString>("known");
        QTest::newRow("read") << int(ExchangeResult::Kind::Done) << false << "" << "4";
        QTest::newRow("refused") << int(ExchangeResult::Kind::Refused) << false << "" << "";
        QTest::newRow("edited after its read") << int(ExchangeResult::Kind::Done) << true << "" << "";
        QTest::newRow("written as read") << int(ExchangeResult::Kind::Done) << false << "write 4" << "4";
        QTest::newRow("written anew") << int(ExchangeResult::Kind::Done) << false << "write 3" << "";
        QTest::newRow("link closed") << int(ExchangeResult::Kind::Done) << false << "clear" << "";
    }
    void deviceValues()
    {
        QFETCH(int, result);
        QFETCH(QString, then);
        QFETCH(bool, editedAfter);
        auto *dP = static_cast<IntegerSetting *>(at("dP"));
        DeviceValues values;
        dP->take("4");
        const WalkReport report{true, true, {{dP, {ExchangeResult::Kind(result), {}}, dP->editCount()}}};
        if (editedAfter)
            dP->editText("5");
        values.noteRead(report);
        if (then.startsWith("write")) {
            dP->take(then.mid(6));
            values.noteWritten({true, true, {{dP, {ExchangeResult::Kind::Done, {}}, dP->editCount()}}});
        }
        else if (then == "clear")
            values.clear();
        const Setting *held = values.valueOf(*dP);
        QTEST(held ? held->valueText() : QString(), "known");
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
