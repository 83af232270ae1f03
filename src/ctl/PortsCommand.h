// SPDX-FileCopyrightText: 2026 Orvane Works
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ctl/Command.h"

// Each port number and what stands behind it: "COM3  /dev/ttyUSB0  opens  (FTDI FT232R
// USB UART, serial number A1, /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0)".
class PortsCommand : public Command
{
public:
    using Command::Command;
    ExitCode run() override;
};
