// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "iptools/IpToolsView.h"

// The IP tools window's rules that are not about widgets: its texts, its tool modes, the ping
// counter, what "Clear all" resets and in which order, and the placeholder texts of a fresh load.
namespace lumeno::iptools {

// Status label texts; the leading spaces are part of them, the netstat pair has none.
inline constexpr std::string_view kStatusReady = " Ready...";
inline constexpr std::string_view kStatusWorking = " Working...";
inline constexpr std::string_view kStatusDone = " Done...";
inline constexpr std::string_view kStatusError = " Error...";
inline constexpr std::string_view kStatusNetstatWorking = "Working...";
inline constexpr std::string_view kStatusNetstatDone = "Done...";
inline constexpr std::string_view kStatusAllCleared = " All Cleared";
inline constexpr std::string_view kStatusStopped = " Stopped...";
// A run whose output could not be stored: never reported as done.
inline constexpr std::string_view kStatusNotStored = " Not stored...";

// A tool button's caption while its tool runs.
inline constexpr std::string_view kStopCaption = "Stop";

// Message box texts.
inline constexpr std::string_view kEmptyHostMessage = "Please enter IP or Domain name to ping";
inline constexpr std::string_view kWrongInputMessage = "Error, Wrong input.";
inline constexpr std::string_view kMissingDomainMessage = "You must enter a Domain Address to trace";
inline constexpr std::string_view kClearAllQuestion =
    "This will clear output window, input areas, tic boxes and reset all number boxes to default settings";

// What "Last trace route" writes when the trace route result file has gone.
inline constexpr std::string_view kTraceRecoveryText =
    "No last trace route to show, due to file being moved or deleted. Your next trace route will be "
    "monitored.";

// The one line the output box shows when "Last ping" or "Last netstat" finds its file gone.
[[nodiscard]] std::string missingResultNote(const std::filesystem::path& file);

// The one line the result file gets when the tool could not be started at all, ended as the
// platform's tools end their lines ("\r\n" on Windows).
[[nodiscard]] std::string notStartedNote(std::string_view program, std::string_view reason,
                                         std::string_view lineEnd = "\n");

// The one line the output box shows when the result file cannot be written.
[[nodiscard]] std::string unwritableResultNote(const std::filesystem::path& file);

// The one line the output box shows when a symbolic link, a named pipe, a device or a folder
// stands where the result file belongs: no tool is run into it and nothing is read from it.
[[nodiscard]] std::string notRegularResultNote(const std::filesystem::path& file);
[[nodiscard]] std::string notRegularStoredNote(const std::filesystem::path& file);

// The line that closes the output of a run that could not all be stored in its result file: it
// names the file only, so that it fits the box (the status says the same).
[[nodiscard]] std::string notStoredNote(const std::filesystem::path& file);

// The one line the output box shows when a stored result exists but cannot be read.
[[nodiscard]] std::string unreadableResultNote(const std::filesystem::path& file);

struct FileText {
  std::string_view file;
  std::string_view text;
};

// Written, in this order, each time the window is loaded.
inline constexpr std::array<FileText, 3> kPlaceholders{{
    {"traceroute.txt", "No trace route has been done yet"},
    {"ping.txt", "No ping has been done yet"},
    {"netstat.txt", "No net status has been done yet"},
}};

// The controls whose enabled state depends on the tool mode; all others are always enabled.
inline constexpr std::array<Control, 9> kModeControls{
    Control::PingButton, Control::HostBox, Control::TraceButton, Control::NetstatButton, Control::Octet1,
    Control::Octet2,     Control::Octet3,  Control::Octet4,      Control::DomainBox};

// Whether one of kModeControls is enabled in the mode.
[[nodiscard]] bool enabledInMode(Mode mode, Control control);

// The ping counter after one more ping: the caption read as a whole number, plus one.
[[nodiscard]] std::string nextPingCount(std::string_view caption);

// One step of "Clear all": a control and the text it gets; a check box is unticked instead.
struct ResetStep {
  Control control;
  std::string_view value;
};

inline constexpr std::array<ResetStep, 15> kClearAllSteps{{
    {Control::StatusLabel, kStatusWorking},
    {Control::Counter, "0"},
    {Control::HostBox, ""},
    {Control::CountBox, "4"},
    {Control::ShowAllTick, ""},
    {Control::OutputBox, ""},
    {Control::Octet1, ""},
    {Control::Octet2, ""},
    {Control::Octet3, ""},
    {Control::Octet4, ""},
    {Control::DomainBox, "www."},
    {Control::HopsBox, "30"},
    {Control::TimeoutBox, "3000"},
    {Control::HostNamesTick, ""},
    {Control::StatusLabel, kStatusAllCleared},
}};

}  // namespace lumeno::iptools
