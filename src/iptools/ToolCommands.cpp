// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/ToolCommands.h"

#include <algorithm>

namespace lumeno::iptools {
namespace {

bool allDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string missingNote(std::string_view program, std::string_view package) {
  std::string note(program);
  note += " is not installed (Debian package: ";
  note += package;
  note += ")\n";
  return note;
}

}  // namespace

std::string_view resultFileName(Tool tool) {
  switch (tool) {
    case Tool::Ping: return "ping.txt";
    case Tool::Trace: return "traceroute.txt";
    case Tool::Netstat: return "netstat.txt";
  }
  return "ping.txt";
}

WindowsCommand windowsCommand(const ToolRequest& request) {
  switch (request.tool) {
    case Tool::Ping: return {"ping.exe", {"-n", request.count, request.host}};
    case Tool::Trace: {
      WindowsCommand command{"tracert.exe", {}};
      if (!request.resolveNames) command.arguments.emplace_back("-d");
      command.arguments.insert(command.arguments.end(), {"-h", request.hops, "-w", request.timeout});
      // An address that could not be built leaves the tool without a target, and the tool says so.
      if (!request.target.empty()) command.arguments.push_back(request.target);
      return command;
    }
    case Tool::Netstat: {
      WindowsCommand command{"netstat.exe", {}};
      if (request.showAll) command.arguments.emplace_back("-a");
      command.arguments.emplace_back("-n");
      return command;
    }
  }
  return {};
}

std::string refusalOf(const ToolRequest& request) {
  const std::string& typed = request.tool == Tool::Ping ? request.host : request.target;
  if (request.tool != Tool::Netstat && !typed.empty() && (typed.front() == '-' || typed.front() == '/'))
    return std::string(kOptionLikeTargetMessage);
  return {};
}

std::string millisecondsAsSeconds(std::string_view milliseconds) {
  if (!allDigits(milliseconds)) return std::string(milliseconds);
  std::string digits(milliseconds);
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.size() < 4) digits.insert(0, 4 - digits.size(), '0');
  std::string whole = digits.substr(0, digits.size() - 3);
  std::string fraction = digits.substr(digits.size() - 3);
  fraction.erase(std::min(fraction.find_last_not_of('0') + 1, fraction.size()));
  return fraction.empty() ? whole : whole + "." + fraction;
}

LinuxCommand linuxCommand(const ToolRequest& request,
                          const std::function<bool(const std::string&)>& isInstalled) {
  LinuxCommand command;
  switch (request.tool) {
    case Tool::Ping:
      if (!isInstalled("ping")) {
        command.missingNote = missingNote("ping", "iputils-ping");
        break;
      }
      command.program = "ping";
      command.arguments = {"-c", request.count, "--", request.host};
      break;
    case Tool::Trace:
      if (!isInstalled("traceroute")) {
        command.missingNote = missingNote("traceroute", "traceroute");
        break;
      }
      command.program = "traceroute";
      if (!request.resolveNames) command.arguments.emplace_back("-n");
      command.arguments.insert(command.arguments.end(),
                               {"-m", request.hops, "-w", millisecondsAsSeconds(request.timeout), "--"});
      // An address that could not be built leaves the tool without a target, and the tool says so.
      if (!request.target.empty()) command.arguments.push_back(request.target);
      break;
    case Tool::Netstat:
      if (isInstalled("netstat")) {
        command.program = "netstat";
      } else if (isInstalled("ss")) {
        command.program = "ss";
      } else {
        command.missingNote = missingNote("netstat", "net-tools");
        break;
      }
      // TCP and UDP, numeric; listening sockets as well with "Show all".
      command.arguments = {"-t", "-u", "-n"};
      if (request.showAll) command.arguments.emplace_back("-a");
      break;
  }
  return command;
}

}  // namespace lumeno::iptools
