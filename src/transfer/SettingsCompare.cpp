// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "transfer/SettingsCompare.h"

#include "catalogue/SetupForm.h"
#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/DeviceSnapshot.h"
#include "model/FloatSetting.h"
#include "model/ItemTrack.h"
#include "model/LengthUnits.h"
#include "model/SettingsDiff.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace {

// A length names the unit it is shown in, so the two columns read alike.
QString withUnit(const Setting *setting, const QString &text)
{
    const auto *f = qobject_cast<const FloatSetting *>(setting);
    if (!f || !f->has_units())
        return text;
    return text + QLatin1Char(' ') + LengthUnits::selectorTexts().value(f->display_unit());
}

} // namespace

SettingsCompare::SettingsCompare(SetupForm *form, SerialForm *link, QTimer *busyTimer, UserPrompt *prompt,
                                 QWidget *window, QObject *parent)
    : QObject(parent), m_form(form), m_settings(form->settings()), m_link(link), m_timer(busyTimer),
      m_prompt(prompt), m_window(window)
{
    connect(m_link, &SerialForm::statusText, this, [this](const QString &text) { m_linkState = text; });
}

QList<CompareDialog::Row> SettingsCompare::rowsFor(const SettingsSet &other, const QList<Setting *> &unread) const
{
    QList<CompareDialog::Row> rows;
    const auto row = [this](const Setting *mineConst, const Setting *theirs, const QString &mineText,
                            const QString &otherText) {
        Setting *mine = m_settings->byCode(mineConst->get_serstring());
        const SetupItem *item = m_form->itemFor(mine);
        return CompareDialog::Row{mine,
                                  theirs,
                                  mine->parameter()->tab,
                                  item ? item->accessible_name() : mine->title(),
                                  mine->get_serstring(),
                                  withUnit(mine, mineText),
                                  theirs ? withUnit(mine, otherText) : otherText};
    };
    for (const SettingsDiff::Difference &d : SettingsDiff::compare(*m_settings, other))
        if (std::find(unread.begin(), unread.end(), d.other) == unread.end())
            rows.append(row(d.mine, d.other, d.mineText, d.otherText));
    // A setting the device did not answer for is listed only while the link is up: after
    // a lost link every remaining setting would be.
    if (m_link->is_connected())
        for (const Setting *s : unread)
            rows.append(row(s, nullptr, m_settings->byCode(s->get_serstring())->value_text(), tr("(no reply)")));
    return rows;
}

QString SettingsCompare::summary(const QString &name, const QString &done, const DeviceSnapshot &snapshot,
                                 int differing) const
{
    const int n = snapshot.size();
    if (!snapshot.complete()) {
        // Never a match that was not read: the count says how far the read came.
        const QString state = m_link->is_connected() ? QString() : QStringLiteral(" (%1)").arg(m_linkState);
        QString text = tr("%1 incomplete%2: %3 of %4 settings read")
                           .arg(name, state)
                           .arg(n - snapshot.unread().size())
                           .arg(n);
        if (differing > 0)
            text += tr(", %1 differ").arg(differing);
        return text;
    }
    if (differing > 0)
        return tr("%1: %2 of %3 settings differ").arg(name).arg(differing).arg(n);
    return tr("%1: %2 of %2 settings match").arg(done).arg(n);
}

void SettingsCompare::verify_download()
{
    // A link lost during the download already shows; there is nothing to read back.
    if (!m_link->is_connected())
        return;
    DeviceReading d;
    if (!readDevice(QStringLiteral("Verifying... "), tr("Download verify"), tr("Download verified"), &d))
        return;
    emit progress(d.text);
    if (!d.rows.isEmpty())
        present(tr("Verify After Download"), d.text + QLatin1Char('.'), tr("QTX2"), d.rows, false, d.snapshot.release());
}

bool SettingsCompare::readDevice(const QString &progressPrefix, const QString &name, const QString &done,
                                 DeviceReading *out)
{
    out->snapshot = std::make_unique<DeviceSnapshot>(m_link, m_timer);
    connect(out->snapshot.get(), &DeviceSnapshot::progress, this, &SettingsCompare::progress);
    if (!out->snapshot->read(progressPrefix))
        return false;
    out->rows = rowsFor(*out->snapshot->settings(), out->snapshot->unread());
    const int differing = int(std::count_if(out->rows.begin(), out->rows.end(), [](const auto &r) { return r.other; }));
    out->text = summary(name, done, *out->snapshot, differing);
    return true;
}

void SettingsCompare::compare_device()
{
    emit progress(QString());
    if (!m_link->is_connected()) {
        m_prompt->message(tr("Connect to a QTX2 to compare the form with it."));
        return;
    }
    DeviceReading d;
    if (!readDevice(QStringLiteral("Comparing... "), tr("Compare with QTX2"), tr("Compare with QTX2"), &d))
        return;
    emit progress(d.text);
    present(tr("Compare With QTX2"), d.text + QLatin1Char('.'), tr("QTX2"), d.rows, true, d.snapshot.release());
}

void SettingsCompare::compare_file()
{
    emit progress(QString());
    const QString path = m_prompt->openFileName();
    if (path.isEmpty())
        return;
    QStringList lines;
    QString error;
    const SettingsFile::ReadResult result = SettingsFile::read(path, &lines, &error);
    if (result != SettingsFile::ReadResult::Ok) {
        m_prompt->message(tr("Could not open the settings file %1.").arg(QDir::toNativeSeparators(path)),
                          result == SettingsFile::ReadResult::NotFound ? tr("There is no such file.") : error);
        return;
    }
    // What the form would hold after opening the file: its own values where the file
    // says nothing, the file's where it does, read in the unit its units line names.
    auto file = std::make_unique<SettingsSet>();
    file->units().set_current_units(m_settings->units().current_units());
    for (Setting *s : file->item_list())
        if (const Setting *mine = m_settings->byCode(s->get_serstring()))
            s->take_value_of(*mine);
    ItemTrack(file.get(), nullptr).file_read_lines(lines);
    const QList<CompareDialog::Row> rows = rowsFor(*file, {});
    const QString name = QFileInfo(path).fileName();
    const QString heading = rows.isEmpty()
        ? tr("The form holds the values of %1.").arg(name)
        : tr("%1 of %2 settings differ between the form and %3.")
              .arg(rows.size())
              .arg(file->item_list().size())
              .arg(name);
    present(tr("Compare With File"), heading, tr("File"), rows, true, file.release());
}

void SettingsCompare::present(const QString &title, const QString &heading, const QString &otherColumn,
                              const QList<CompareDialog::Row> &rows, bool offerTaking, QObject *values)
{
    if (m_dialog)
        m_dialog->close();
    auto *dialog = new CompareDialog(title, heading, otherColumn, rows, offerTaking, m_window);
    // The other values live as long as the rows that show them.
    values->setParent(dialog);
    connect(dialog, &CompareDialog::showRequested, m_form, &SetupForm::show_setting);
    m_dialog = dialog;
    dialog->show();
}
