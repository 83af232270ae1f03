#pragma once

#include "ctl/ExitCode.h"

struct CtlRequest;

// Runs the command a request names, on the device it names.
namespace CommandRunner {

ExitCode run(const CtlRequest &request);

} // namespace CommandRunner
