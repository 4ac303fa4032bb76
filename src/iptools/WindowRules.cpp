// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/WindowRules.h"

#include <algorithm>
#include <cstdint>

namespace lumeno::iptools {

namespace {

// The file as the user finds it: its whole path, in UTF-8 on every platform.
std::string shown(const std::filesystem::path& file) {
  const std::u8string text = file.u8string();
  return {text.begin(), text.end()};
}

}  // namespace

std::string missingResultNote(const std::filesystem::path& file) {
  return "No result to show: " + shown(file) + " is missing.";
}

std::string notStartedNote(std::string_view program, std::string_view reason, std::string_view lineEnd) {
  std::string note(program);
  note += " could not be started: ";
  note += reason;
  note += lineEnd;
  return note;
}

std::string unwritableResultNote(const std::filesystem::path& file) {
  return "The result file " + shown(file) + " cannot be written, so the tool was not run.";
}

std::string notRegularResultNote(const std::filesystem::path& file) {
  return "The result file " + shown(file) +
         " is not a regular file (a symbolic link, a named pipe, a device or a folder), so the tool was not "
         "run.";
}

std::string notStoredNote(const std::filesystem::path& file) {
  // Short enough to be read whole where the box shows the end of its last line.
  return "Not stored in " + shown(file.filename()) + " (disk full?)\n";
}

std::string notRegularStoredNote(const std::filesystem::path& file) {
  return "No result to show: " + shown(file) + " is not a regular file (a named pipe, a device or a folder).";
}

std::string unreadableResultNote(const std::filesystem::path& file) {
  return "No result to show: " + shown(file) + " cannot be read.";
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
