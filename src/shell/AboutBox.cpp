// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "shell/AboutBox.h"

#include "BuildInfo.h"

#include "shell/DesktopOpener.h"
#include "shell/HelpLinks.h"
#include "shell/LogoLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>


AboutBox::AboutBox(DesktopOpener *opener, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("About QTX Setlink"));
    setModal(true);

    auto *picture = new LogoLabel(this);
    picture->setObjectName(QStringLiteral("Picture1"));
    connect(picture, &LogoLabel::clicked, this, &AboutBox::openWebsite);

    auto *address = new QLabel(HelpLinks::websiteUrl().toString(), this);
    address->setObjectName(QStringLiteral("Label2"));
    address->setCursor(Qt::PointingHandCursor);
    QFont linkFont = address->font();
    linkFont.setUnderline(true);
    address->setFont(linkFont);
    QPalette linkPalette = address->palette();
    linkPalette.setColor(QPalette::WindowText, linkPalette.color(QPalette::Link));
    address->setPalette(linkPalette);
    address->installEventFilter(this);

    auto *version = new QLabel(versionLine(), this);
    version->setObjectName(QStringLiteral("Label1(0)"));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);

    auto *fixed = new QLabel(QStringLiteral("Setup and position monitor for the QTX2 panel display"), this);
    fixed->setObjectName(QStringLiteral("Label1(1)"));

    auto *licence = new QLabel(licenceText(), this);
    licence->setObjectName(QStringLiteral("LicenseLabel"));
    licence->setWordWrap(true);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // After OK, so that OK has the focus when the box opens.
    auto *aboutQt = new QPushButton(QStringLiteral("About Qt"), this);
    aboutQt->setObjectName(QStringLiteral("AboutQtButton"));
    aboutQt->setAutoDefault(false);
    connect(aboutQt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });

    auto *texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(fixed);
    texts->addSpacing(6);
    texts->addWidget(address);
    texts->addSpacing(6);
    texts->addWidget(licence);
    texts->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(10);
    top->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(aboutQt);
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutBox::versionLine()
{
    return QStringLiteral("QTX2 Setlink v" SETLINK_VERSION) + platformSuffix();
}

QString AboutBox::licenceText()
{
    return QStringLiteral("Copyright \u00a9 2026 Orvane Works. Free software under the GNU General Public "
                          "License, version 3 or later (GPL-3.0-or-later); there is no warranty.");
}

QString AboutBox::platformSuffix()
{
#if defined(Q_OS_WIN)
#  if QT_POINTER_SIZE == 8
    return QStringLiteral(" (Win64)");
#  else
    return QStringLiteral(" (Win32)");
#  endif
#else
    QString kernel = QSysInfo::kernelType();
    if (!kernel.isEmpty())
        kernel[0] = kernel.at(0).toUpper();
    return QStringLiteral(" (%1 %2)").arg(kernel, QSysInfo::buildCpuArchitecture());
#endif
}

bool AboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched->objectName() == QLatin1String("Label2") && event->type() == QEvent::MouseButtonRelease) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *label = static_cast<QWidget *>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            openWebsite();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutBox::openWebsite()
{
    HelpLinks(m_opener).openWebsite();
}
