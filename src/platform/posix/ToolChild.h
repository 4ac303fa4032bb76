// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

class QProcess;

// How the program's console tools run as its children.
namespace lumeno::platform {

// Has the tool of `process` end when this program ends in a way that leaves no time to end it (a
// crash, SIGKILL, a lost X connection), and hear Ctrl+C also when this program ignores it. Set
// before the process starts.
void tieToThisProgram(QProcess& process);

// Asks the tool to end as Ctrl+C would, so that it can still print its summary.
void interruptTool(qint64 processId);

}  // namespace lumeno::platform
