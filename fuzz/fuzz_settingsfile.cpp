// A whole settings file loaded into the full tabbed form, line by line as the Open
// command does. Whatever the file held, the form's own file must load back into it:
// exactly for every value but lengths, which travel as 7-digit numbers in the device's
// unit and may move within single precision once. The file saved after that is a
// fixpoint, also when loaded into the form as it was at start-up.
#include "FuzzCheck.h"
#include "QtFuzzApp.h"
#include "QuietLink.h"
#include "catalogue/SetupForm.h"
#include "items/FloatItem.h"
#include "model/LengthUnits.h"
#include "items/ListItem.h"
#include "model/NumberText.h"
#include "transfer/ItemTrack.h"
#include "model/SettingsFile.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include <cstddef>
#include <cstdint>

namespace {

// One item's line and field.
struct Entry
{
    QString line;
    QString shown;
};

struct Form
{
    QuietLink link;
    LengthUnits units;
    ItemTrack track;
    QTabWidget tabs;
    SetupForm *form = nullptr;
    // The state after start-up, put back before every input so each input runs alone.
    QList<QPair<QLineEdit *, QString>> fields;
    QList<QPair<QComboBox *, int>> lists;

    Form()
    {
        units.fill_factors();
        form = new SetupForm(ItemContext{&track, &link, &units}, &tabs, &tabs);
        form->build_catalogue();
        form->update_disabled();
        // As the window does: the units line sets the unit of the lengths after it.
        QObject::connect(&track, &ItemTrack::unitsTaken, &track,
                         [this] { units.set_current_units(form->unitsItem()->getindex()); });
        // Start-up leaves "0" in fields that a load writes in their kind's own form
        // (00000000, 0.0000); one load of the form's own file makes the state canonical.
        load(track.file_lines());
        for (SetupItem *item : track.item_list()) {
            if (auto *edit = item->findChild<QLineEdit *>(QStringLiteral("ValueText")))
                fields.append({edit, edit->text()});
            if (auto *combo = item->findChild<QComboBox *>(QStringLiteral("ListCombo")))
                lists.append({combo, combo->currentIndex()});
        }
    }

    void restore()
    {
        for (const auto &f : std::as_const(fields))
            f.first->setText(f.second);
        for (const auto &l : std::as_const(lists))
            l.first->setCurrentIndex(l.second);
        units.set_current_units(0);
    }

    void load(const QStringList &lines)
    {
        for (const QString &line : lines)
            track.file_read_line(line);
        form->update_disabled();
    }

    QList<Entry> entries() const
    {
        QList<Entry> out;
        for (SetupItem *item : track.item_list())
            out.append({item->make_file_write_str(), item->value_text()});
        return out;
    }
};

Form *theForm = nullptr;

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray data;
    for (const QString &line : lines)
        data += line.toLatin1() + "\r\n";
    return data;
}

// The items whose entries differ (beyond single precision for a length when allowed).
QString differences(const QList<Entry> &a, const QList<Entry> &b, bool lengthStep)
{
    const QList<SetupItem *> &items = theForm->track.item_list();
    QStringList out;
    for (int i = 0; i < items.size(); ++i) {
        const Entry &x = a.at(i), &y = b.at(i);
        if (x.line == y.line && x.shown == y.shown)
            continue;
        const auto *f = qobject_cast<const FloatItem *>(items.at(i));
        const int codeSize = int(items.at(i)->get_serstring().size());
        if (lengthStep && f && f->has_units()
            && FuzzCheck::sameInSinglePrecision(NumberText::leading_value(x.line.mid(codeSize)),
                                                NumberText::leading_value(y.line.mid(codeSize)))
            && FuzzCheck::sameInSinglePrecision(NumberText::leading_value(x.shown),
                                                NumberText::leading_value(y.shown)))
            continue;
        out << QStringLiteral("%1: line %2 -> %3, field %4 -> %5")
                   .arg(items.at(i)->objectName(), FuzzCheck::visible(x.line), FuzzCheck::visible(y.line),
                        FuzzCheck::visible(x.shown), FuzzCheck::visible(y.shown));
    }
    return out.join(QStringLiteral("; "));
}

// A saved file's shape: the units line first and only there, one line an item, no blanks,
// and it splits back into the same lines.
void checkShape(const QStringList &saved)
{
    const QString file = FuzzCheck::visible(fileBytes(saved));
    FUZZ_CHECK(saved.size() == theForm->track.item_list().size(), file);
    FUZZ_CHECK(saved.first().startsWith(QLatin1String("PU")), file);
    for (int i = 1; i < saved.size(); ++i)
        FUZZ_CHECK(!saved.at(i).startsWith(QLatin1String("PU")), file);
    for (const QString &line : saved)
        FUZZ_CHECK(!line.isEmpty() && !line.contains(QLatin1Char(' ')) && QString::fromLatin1(line.toLatin1()) == line,
                   FuzzCheck::visible(line));
    FUZZ_CHECK(SettingsFile::splitLines(fileBytes(saved)) == saved, file);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startQtFuzzApp();
    theForm = new Form;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Form &f = *theForm;
    f.restore();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = SettingsFile::splitLines(bytes);
    for (const QString &line : lines)
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')), FuzzCheck::visible(line));
    f.load(lines);

    const QStringList first = f.track.file_lines();
    const QList<Entry> loaded = f.entries();
    checkShape(first);

    // The form's own file, loaded into the form as it stands.
    f.load(first);
    const QStringList second = f.track.file_lines();
    const QList<Entry> reloaded = f.entries();
    checkShape(second);
    QString diff = differences(loaded, reloaded, true);
    FUZZ_CHECK(diff.isEmpty(), QStringLiteral("own file does not load back: ") + diff);

    // From then on nothing moves.
    f.load(second);
    diff = differences(reloaded, f.entries(), false);
    FUZZ_CHECK(diff.isEmpty() && f.track.file_lines() == second, QStringLiteral("second save is no fixpoint: ") + diff);

    // Loaded afresh from start-up, the file gives the same form.
    f.restore();
    f.load(second);
    diff = differences(reloaded, f.entries(), false);
    FUZZ_CHECK(diff.isEmpty() && f.track.file_lines() == second,
               QStringLiteral("a fresh load of the saved file differs: ") + diff);
    return 0;
}
