#include "iptools/WindowRules.h"

#include <algorithm>
#include <cstdint>

namespace lumeno::iptools {

std::string missingResultNote(std::string_view fileName) {
  std::string note = "No result to show: ";
  note += fileName;
  note += " is missing from the program's folder.";
  return note;
}

std::string notStartedNote(std::string_view program, std::string_view reason) {
  std::string note(program);
  note += " could not be started: ";
  note += reason;
  note += "\n";
  return note;
}

std::string unwritableResultNote(std::string_view fileName) {
  std::string note = "The result file ";
  note += fileName;
  note += " cannot be written in the program's folder, so the tool was not run.";
  return note;
}

std::string notRegularResultNote(std::string_view fileName) {
  std::string note = "The result file ";
  note += fileName;
  note +=
      " in the program's folder is not a regular file (a named pipe, a device or a folder), so the "
      "tool was not run.";
  return note;
}

std::string notRegularStoredNote(std::string_view fileName) {
  std::string note = "No result to show: ";
  note += fileName;
  note += " in the program's folder is not a regular file (a named pipe, a device or a folder).";
  return note;
}

std::string unreadableResultNote(std::string_view fileName) {
  std::string note = "No result to show: ";
  note += fileName;
  note += " in the program's folder cannot be read.";
  return note;
}

bool enabledInMode(Mode mode, Control control) {
  const bool octet = control == Control::Octet1 || control == Control::Octet2 || control == Control::Octet3 ||
                     control == Control::Octet4;
  switch (mode) {
    case Mode::Ping: return control == Control::PingButton || control == Control::HostBox;
    case Mode::AddressTrace: return control == Control::TraceButton || octet;
    case Mode::DomainTrace: return control == Control::TraceButton || control == Control::DomainBox;
    case Mode::Netstat: return control == Control::NetstatButton;
  }
  return false;
}

std::string nextPingCount(std::string_view caption) {
  std::int64_t count = 0;
  const bool number =
      !caption.empty() && caption.size() < 18 &&
      std::all_of(caption.begin(), caption.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (number) {
    for (const char c : caption) count = count * 10 + (c - '0');
  }
  return std::to_string(count + 1);
}

}  // namespace lumeno::iptools
