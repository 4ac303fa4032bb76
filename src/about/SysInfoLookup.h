// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/Registry.h"

// Where the system-information tool is: the registry's two entries for it, read in order, and
// on desktops without them a short list of well-known tools.
namespace lumeno::about {

inline constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The tool's full path, and the folder that holds MSINFO32.EXE, under the local-machine root.
inline constexpr std::string_view kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr std::string_view kMsinfoPathValue = "PATH";
inline constexpr std::string_view kToolsLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr std::string_view kToolsLocationValue = "MSINFO";
inline constexpr std::string_view kMsinfoProgram = "MSINFO32.EXE";

// The most bytes a value may have to be read.
inline constexpr std::size_t kValueBufferSize = 1024;

// A value that reports a size of 0 bytes: an error, not an empty text.
class RegistryValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads value `SubKeyRef` of key `KeyName` under `KeyRoot` into `KeyVal`, opening the key for
// reading only. True when the value was read: a string gives its text (with or without a
// stored terminating NUL), a 32-bit number its decimal digits, any other type leaves `KeyVal`
// as it was. False, with `KeyVal` emptied, when the key or the value is missing or the value
// is longer than kValueBufferSize. Throws RegistryValueError for a value of size 0.
bool GetKeyValue(const platform::Registry& registry, platform::RegistryRoot KeyRoot,
                 const std::string& KeyName, const std::string& SubKeyRef, std::string& KeyVal);

// The system-information program the registry names: the "PATH" value as it stands (not
// checked for existence); otherwise, when the "MSINFO" folder value holds MSINFO32.EXE, that
// file. Nothing when neither leads to a program. Throws RegistryValueError like GetKeyValue;
// the second location is then not tried.
std::optional<std::string> sysInfoProgramFromRegistry(const platform::Registry& registry,
                                                      const std::function<bool(const std::string&)>& isFile);

// Desktop system-information tools, most fitting first, for systems whose registry names none.
std::span<const std::string_view> desktopSysInfoTools();

}  // namespace lumeno::about
