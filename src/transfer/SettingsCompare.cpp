// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "transfer/SettingsCompare.h"

#include "catalogue/SetupForm.h"
#include "link/SerialForm.h"
#include "link/UserPrompt.h"
#include "model/ListSetting.h"
#include "model/SettingsFile.h"
#include "model/SettingsSet.h"
#include "operations/DeviceReading.h"
#include "operations/FileSettings.h"
#include "operations/SettingsComparison.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A list reads better by its choice's text than by the device's token.
QString shown(const Setting *setting, const QString &text)
{
    return qobject_cast<const ListSetting *>(setting) ? setting->valueText() : text;
}

} // namespace

SettingsCompare::SettingsCompare(SetupForm *form, SerialForm *link, BusyGuard *busyGuard, UserPrompt *prompt,
                                 QWidget *window, QObject *parent)
    : QObject(parent), m_form(form), m_settings(form->settings()), m_link(link), m_guard(busyGuard),
      m_prompt(prompt), m_window(window)
{
    connect(m_link, &SerialForm::statusText, this, [this](const QString &text) { m_linkState = text; });
}

QList<CompareDialog::Row> SettingsCompare::rowsFor(const SettingsComparison &comparison) const
{
    QList<CompareDialog::Row> rows;
    // A setting the device did not answer for is listed only while the link is up: after
    // a lost link every remaining setting would be.
    const bool listMissing = m_link->is_connected();
    for (const SettingsComparison::Row &r : comparison.rows()) {
        if (!r.takeable() && !listMissing)
            continue;
        const SetupItem *item = m_form->itemFor(r.mine);
        rows.append({r.mine, r.takeable() ? r.other : nullptr, r.mine->parameter()->tab,
                     item ? item->assistiveName() : r.mine->title(), r.mine->get_serstring(),
                     shown(r.mine, r.mineText), r.takeable() ? shown(r.other, r.otherText) : r.otherText});
    }
    return rows;
}

QString SettingsCompare::summary(const QString &name, const QString &done, const DeviceReading &device,
                                 const SettingsComparison &comparison) const
{
    const int n = device.size();
    const int differing = comparison.differing();
    if (comparison.compared() < comparison.total()) {
        // Never a match that was not compared: the count says how far the read came.
        const QString state = m_link->is_connected() ? QString() : QStringLiteral(" (%1)").arg(m_linkState);
        QString text = tr("%1 incomplete%2: %3 of %4 settings read").arg(name, state).arg(device.readCount()).arg(n);
        if (device.deviceUnits() < 0)
            text += tr(", no length compared (units not read)");
        if (differing > 0)
            text += tr(", %1 differ").arg(differing);
        return text;
    }
    if (differing > 0)
        return tr("%1: %2 of %3 settings differ").arg(name).arg(differing).arg(n);
    return tr("%1: %2 of %2 settings match").arg(done).arg(n);
}

void SettingsCompare::verifyDownload()
{
    // A link lost during the download already shows; there is nothing to read back.
    if (!m_link->is_connected())
        return;
    std::unique_ptr<DeviceReading> device = readDevice(QStringLiteral("Verifying... "));
    if (!device)
        return;
    const SettingsComparison comparison = SettingsComparison::withDevice(*m_settings, *device);
    const QString text = summary(tr("Download verify"), tr("Download verified"), *device, comparison);
    emit progress(text);
    const QList<CompareDialog::Row> rows = rowsFor(comparison);
    if (!rows.isEmpty())
        present(tr("Verify After Download"), text + QLatin1Char('.'), tr("QTX2"), rows, false, device.release());
}

std::unique_ptr<DeviceReading> SettingsCompare::readDevice(const QString &progressPrefix)
{
    auto device = std::make_unique<DeviceReading>(m_link, m_guard);
    connect(device.get(), &DeviceReading::progress, this, &SettingsCompare::progress);
    if (!device->read(progressPrefix))
        return nullptr;
    emit deviceRead(device->report());
    return device;
}

void SettingsCompare::compareDevice()
{
    emit progress(QString());
    if (!m_link->is_connected()) {
        m_prompt->message(tr("Connect to a QTX2 to compare the form with it."));
        return;
    }
    std::unique_ptr<DeviceReading> device = readDevice(QStringLiteral("Comparing... "));
    if (!device)
        return;
    const SettingsComparison comparison = SettingsComparison::withDevice(*m_settings, *device);
    const QString text = summary(tr("Compare with QTX2"), tr("Compare with QTX2"), *device, comparison);
    emit progress(text);
    present(tr("Compare With QTX2"), text + QLatin1Char('.'), tr("QTX2"), rowsFor(comparison), true, device.release());
}

void SettingsCompare::compareFile()
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
    auto *file = new FileSettings(nullptr, m_settings);
    file->read(lines);
    const SettingsComparison comparison = SettingsComparison::withSet(*m_settings, *file->settings());
    const QList<CompareDialog::Row> rows = rowsFor(comparison);
    const QString name = QFileInfo(path).fileName();
    const ItemTrack::FileReading &reading = file->reading();
    QString heading = rows.isEmpty() && reading.refused.isEmpty() && reading.unknown.isEmpty()
        ? tr("The form holds the values of %1.").arg(name)
        : tr("%1 of %2 settings differ between the form and %3.").arg(rows.size()).arg(comparison.total()).arg(name);
    // A line the form would not take is not a value the form holds: said, never passed over.
    const auto quoted = [](const QStringList &lines) {
        QStringList out;
        for (const QString &line : lines.mid(0, 5))
            out << QLatin1Char('"') + line + QLatin1Char('"');
        return out.join(QStringLiteral(", ")) + (lines.size() > 5 ? tr(" and %1 more").arg(lines.size() - 5) : QString());
    };
    if (!reading.refused.isEmpty())
        heading += tr(" Lines refused (outside their limits or no such choice): %1.").arg(quoted(reading.refused));
    if (!reading.unknown.isEmpty())
        heading += tr(" Lines of no known setting: %1.").arg(quoted(reading.unknown));
    present(tr("Compare With File"), heading, tr("File"), rows, true, file);
}

void SettingsCompare::present(const QString &title, const QString &heading, const QString &otherColumn,
                              const QList<CompareDialog::Row> &rows, bool offerTaking, QObject *values)
{
    if (m_dialog)
        m_dialog->close();
    auto *dialog = new CompareDialog(title, heading, otherColumn, rows, offerTaking, m_window);
    // The other values live as long as the rows that show them.
    values->setParent(dialog);
    connect(dialog, &CompareDialog::showRequested, m_form, &SetupForm::showSetting);
    m_dialog = dialog;
    dialog->show();
}
