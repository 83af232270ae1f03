// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

// Renders the QTX2 manual to PDF: the hand-written HTML source with its parameter section
// generated from the program's own parameter table, so the two cannot drift apart.
//
//   make_manual <source.html> <output.pdf> [<output.html>]

#include "model/ParameterTable.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

namespace {

const QString Marker = QStringLiteral("<!--PARAMETERS-->");

QString number(double value)
{
    QString text = QString::number(value, 'f', 5);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString kindName(ParameterTable::Kind kind)
{
    switch (kind) {
    case ParameterTable::Kind::Integer:
        return QStringLiteral("integer");
    case ParameterTable::Kind::Float:
        return QStringLiteral("real");
    case ParameterTable::Kind::List:
        return QStringLiteral("choice");
    case ParameterTable::Kind::Hex:
        return QStringLiteral("hexadecimal");
    }
    return QString();
}

QString title(const ParameterTable::Parameter &p)
{
    const int n = p.index + 1;
    if (p.control == QLatin1String("MagOffItem"))
        return QStringLiteral("Magnet %1 Offset").arg(n);
    // The two bounds of a limit switch share their title on screen.
    if (p.control == QLatin1String("LimitLBItem"))
        return p.title + QStringLiteral(" (lower)");
    if (p.control == QLatin1String("LimitUBItem"))
        return p.title + QStringLiteral(" (upper)");
    return p.title.isEmpty() ? p.code : p.title;
}

QString range(const ParameterTable::Parameter &p)
{
    switch (p.kind) {
    case ParameterTable::Kind::Integer:
    case ParameterTable::Kind::Float:
        return number(p.min) + QStringLiteral(" to ") + number(p.max);
    case ParameterTable::Kind::Hex:
        return QStringLiteral("<code>00000000</code> to <code>FFFFFFFF</code>");
    case ParameterTable::Kind::List: {
        QStringList choices;
        for (const ParameterTable::Choice &c : p.choices)
            choices << QStringLiteral("<code>%1</code> %2").arg(c.token.toHtmlEscaped(), c.display.toHtmlEscaped());
        return choices.join(QStringLiteral("<br>"));
    }
    }
    return QString();
}

QString parameterSection()
{
    QString html;
    QTextStream out(&html);
    out << "<p>Each parameter is read with <code>R</code> + code and written with <code>S</code> "
           "+ code + value. Limits are inclusive. Values marked <i>length</i> are in the QTX2's "
           "length unit (<code>PU</code>); the others have no unit. For a choice the token is "
           "what is sent and read; the text beside it is its meaning.</p>\n";
    int count = 0;
    for (const QString &tab : ParameterTable::tabs()) {
        out << "<h3>" << tab.toHtmlEscaped() << "</h3>\n"
            << "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">\n"
            << "<tr><th align=\"left\" width=\"9%\">Code</th><th align=\"left\" width=\"27%\">Title</th>"
               "<th align=\"left\" width=\"14%\">Kind</th><th align=\"left\" width=\"38%\">Limits or choices</th>"
               "<th align=\"left\" width=\"12%\">Unit</th></tr>\n";
        for (const ParameterTable::Parameter &p : ParameterTable::parameters()) {
            if (p.tab != tab)
                continue;
            ++count;
            out << "<tr><td><code>" << p.code.toHtmlEscaped() << "</code></td><td>"
                << title(p).toHtmlEscaped() << "</td><td>" << kindName(p.kind) << "</td><td>"
                << range(p) << "</td><td>" << (p.units ? "<i>length</i>" : "") << "</td></tr>\n";
        }
        out << "</table>\n";
    }
    out << "<p>" << count << " parameters in all.</p>\n";
    return html;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "make_manual: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3 || args.size() > 4)
        return fail(QStringLiteral("usage: make_manual <source.html> <output.pdf> [<output.html>]"));

    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(args.at(1), source.errorString()));
    QString html = QString::fromUtf8(source.readAll());
    if (!html.contains(Marker))
        return fail(QStringLiteral("%1 has no %2 marker").arg(args.at(1), Marker));
    html.replace(Marker, parameterSection());

    if (args.size() == 4) {
        QSaveFile page(args.at(3));
        if (!page.open(QIODevice::WriteOnly) || page.write(html.toUtf8()) < 0 || !page.commit())
            return fail(QStringLiteral("cannot write %1").arg(args.at(3)));
    }

    // Written beside the target and renamed over it, so a failed run never leaves half a PDF.
    const QString target = args.at(2);
    const QString partial = target + QStringLiteral(".part");
    {
        QPdfWriter pdf(partial);
        pdf.setTitle(QStringLiteral("QTX2 Serial Command Reference"));
        pdf.setCreator(QStringLiteral("make_manual"));
        pdf.setResolution(300);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter));
        QTextDocument doc;
        doc.setHtml(html);
        doc.print(&pdf);
    }
    if (QFileInfo(partial).size() == 0)
        return fail(QStringLiteral("nothing was written to %1").arg(partial));
    QFile::remove(target);
    if (!QFile::rename(partial, target))
        return fail(QStringLiteral("cannot move %1 to %2").arg(partial, target));
    return 0;
}
