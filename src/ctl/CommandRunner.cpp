// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ctl/CommandRunner.h"

#include "ctl/Console.h"
#include "ctl/CtlRequest.h"
#include "ctl/DeviceSession.h"
#include "ctl/DiffCommand.h"
#include "ctl/DownloadCommand.h"
#include "ctl/FactoryResetCommand.h"
#include "ctl/GetCommand.h"
#include "ctl/InfoCommand.h"
#include "ctl/MonitorCommand.h"
#include "ctl/PortsCommand.h"
#include "ctl/SetCommand.h"
#include "ctl/SetNodeCommand.h"
#include "ctl/UploadCommand.h"

#include <QHash>

#include <functional>
#include <memory>

namespace CommandRunner {
namespace {

template <typename C>
std::unique_ptr<Command> make(const CtlRequest &r, DeviceSession &s, Console &c)
{
    return std::make_unique<C>(r, s, c);
}

} // namespace

ExitCode run(const CtlRequest &request)
{
    using Maker = std::function<std::unique_ptr<Command>(const CtlRequest &, DeviceSession &, Console &)>;
    static const QHash<QString, Maker> makers{
        {QStringLiteral("ports"), make<PortsCommand>},
        {QStringLiteral("info"), make<InfoCommand>},
        {QStringLiteral("get"), make<GetCommand>},
        {QStringLiteral("set"), make<SetCommand>},
        {QStringLiteral("upload"), make<UploadCommand>},
        {QStringLiteral("download"), make<DownloadCommand>},
        {QStringLiteral("diff"), make<DiffCommand>},
        {QStringLiteral("factory-reset"), make<FactoryResetCommand>},
        {QStringLiteral("set-node"), make<SetNodeCommand>},
        {QStringLiteral("monitor"), make<MonitorCommand>},
    };
    Console console(request.verbose);
    DeviceSession session(request, console);
    const Maker maker = makers.value(request.command);
    if (!maker) {
        console.error(QStringLiteral("Unknown command \"%1\".").arg(request.command));
        return ExitCode::Usage;
    }
    return maker(request, session, console)->run();
}

} // namespace CommandRunner
