// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What the IP tools window asks of a console tool, and the program and arguments each platform
// starts it with.
namespace lumeno::iptools {

enum class Tool { Ping, Trace, Netstat };

// One run of one tool, with the box texts exactly as they stood at the moment of the click.
struct ToolRequest {
  Tool tool = Tool::Ping;
  std::string count;          // ping: number of echo requests (count box)
  std::string host;           // ping: host box
  std::string hops;           // trace: maximum number of hops (hops box)
  std::string timeout;        // trace: time-out per reply in milliseconds (time-out box)
  bool resolveNames = false;  // trace: "Get host names"
  bool showAll = false;       // netstat: "Show all"
  std::string target;         // trace: the address or host name to trace
};

// The result file of a tool, in the folder of the results (the program's own when portable): "ping.txt",
// "traceroute.txt", "netstat.txt".
[[nodiscard]] std::string_view resultFileName(Tool tool);

// The program to start and its arguments. Every typed text is exactly one argument and can never
// be read as an option of the tool. When no program for the tool is installed, `program` is
// empty and `missingNote` is the one line that goes into the result file instead.
struct LinuxCommand {
  std::string program;  // bare name, to be looked up on the search path
  std::vector<std::string> arguments;
  std::string missingNote;
};

// `isInstalled` answers whether a program of that name can be found.
[[nodiscard]] LinuxCommand linuxCommand(const ToolRequest& request,
                                        const std::function<bool(const std::string&)>& isInstalled);

// The program and arguments the tool is started with on Windows: "ping.exe -n N host",
// "tracert.exe [-d] -h H -w W [target]", "netstat.exe [-a] -n". Each typed text is exactly one
// argument.
struct WindowsCommand {
  std::string program;  // file name; the runner takes it from the system folder only
  std::vector<std::string> arguments;
};
[[nodiscard]] WindowsCommand windowsCommand(const ToolRequest& request);

// The Windows tools also read options after the host, so a host or domain beginning with '-' or
// '/' would be taken for one ("-t" pings for ever, "/?" prints help). Such a request is refused
// with this message; an empty result means the request may run.
inline constexpr std::string_view kOptionLikeTargetMessage =
    "A host or domain name cannot begin with '-' or '/'. Please check what you typed.";
[[nodiscard]] std::string refusalOf(const ToolRequest& request);

// A time-out in milliseconds as seconds for traceroute's -w ("3000" -> "3", "500" -> "0.5").
// A text that is not a whole number of milliseconds comes back as typed, for the tool to judge.
[[nodiscard]] std::string millisecondsAsSeconds(std::string_view milliseconds);

}  // namespace lumeno::iptools
