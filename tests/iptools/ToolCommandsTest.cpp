// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "iptools/Address.h"
#include "iptools/ToolCommands.h"

namespace lumeno::iptools {
namespace {

using Args = std::vector<std::string>;
using Installed = std::function<bool(const std::string&)>;

// Tool, count, host, hops, time-out, host names, show all, target.
const ToolRequest kPing{Tool::Ping, "4", "127.0.0.1", "", "", false, false, ""};
const ToolRequest kTrace{Tool::Trace, "", "", "30", "3000", false, false, "127.0.0.1"};
const ToolRequest kNamedTrace{Tool::Trace, "", "", "15", "500", true, false, "192.168.1.1"};
const ToolRequest kEmptyTrace{Tool::Trace, "", "", "30", "3000", false, false, ""};
const ToolRequest kNetstat{Tool::Netstat, "", "", "", "", false, false, ""};
const ToolRequest kNetstatAll{Tool::Netstat, "", "", "", "", false, true, ""};

TEST(ToolCommands, WindowsArgumentsKeepEachTypedTextWholeAndRefuseOptionLikeTargets) {
  const ToolRequest spacedPing{Tool::Ping, "2", "my host \"x\"", "", "", false, false, ""};
  EXPECT_EQ(windowsCommand(spacedPing).program, "ping.exe");
  EXPECT_EQ(windowsCommand(spacedPing).arguments, (Args{"-n", "2", "my host \"x\""}));
  EXPECT_EQ(windowsCommand(kTrace).arguments, (Args{"-d", "-h", "30", "-w", "3000", "127.0.0.1"}));
  EXPECT_EQ(windowsCommand(kEmptyTrace).arguments, (Args{"-d", "-h", "30", "-w", "3000"}));
  EXPECT_EQ(windowsCommand(kNetstat).arguments, (Args{"-n"}));
  EXPECT_EQ(windowsCommand(kNetstatAll).arguments, (Args{"-a", "-n"}));

  for (const char* typed : {"-t", "/?", "-n 1000000 x", "/t"}) {
    const ToolRequest ping{Tool::Ping, "4", typed, "", "", false, false, ""};
    const ToolRequest trace{Tool::Trace, "", "", "30", "3000", false, false, typed};
    EXPECT_EQ(refusalOf(ping), kOptionLikeTargetMessage) << typed;
    EXPECT_EQ(refusalOf(trace), kOptionLikeTargetMessage) << typed;
  }
  for (const ToolRequest& fine : {kPing, kTrace, kEmptyTrace, kNetstatAll,
                                  ToolRequest{Tool::Ping, "4", "www.a-b.org", "", "", false, false, ""}})
    EXPECT_EQ(refusalOf(fine), "");
}

TEST(ToolCommands, LinuxArgumentsEndOptionsBeforeTheTargetAndGiveTraceTimeOutsInSeconds) {
  const auto all = [](const std::string&) { return true; };
  const std::vector<std::tuple<ToolRequest, std::string, Args>> rows{
      {kPing, "ping", {"-c", "4", "--", "127.0.0.1"}},
      {kTrace, "traceroute", {"-n", "-m", "30", "-w", "3", "--", "127.0.0.1"}},
      {kNamedTrace, "traceroute", {"-m", "15", "-w", "0.5", "--", "192.168.1.1"}},
      {kEmptyTrace, "traceroute", {"-n", "-m", "30", "-w", "3", "--"}},
      {kNetstat, "netstat", {"-t", "-u", "-n"}},
      {kNetstatAll, "netstat", {"-t", "-u", "-n", "-a"}}};
  for (const auto& [request, program, arguments] : rows) {
    const LinuxCommand c = linuxCommand(request, all);
    EXPECT_EQ(std::tie(c.program, c.arguments), std::tie(program, arguments)) << program;
    EXPECT_EQ(c.missingNote, "");
  }
  const std::vector<std::pair<std::string, std::string>> timeouts{
      {"1", "0.001"}, {"0100", "0.1"}, {"000", "0"},  {"1250", "1.25"},
      {"9", "0.009"}, {"-5", "-5"},    {"1.5", "1.5"}};  // anything else as typed
  for (const auto& [typed, seconds] : timeouts) EXPECT_EQ(millisecondsAsSeconds(typed), seconds) << typed;
}

TEST(ToolCommands, AMissingToolIsNamedWithItsPackageAndSsStandsInForNetstat) {
  const auto onlySs = [](const std::string& name) { return name == "ss"; };
  const auto none = [](const std::string&) { return false; };
  const std::vector<std::tuple<ToolRequest, Installed, std::string, Args, std::string>> rows{
      {kNetstatAll, onlySs, "ss", {"-t", "-u", "-n", "-a"}, ""},
      {kPing, none, "", {}, "ping is not installed (Debian package: iputils-ping)\n"},
      {kTrace, none, "", {}, "traceroute is not installed (Debian package: traceroute)\n"},
      {kNetstat, none, "", {}, "netstat is not installed (Debian package: net-tools)\n"}};
  for (const auto& [request, installed, program, arguments, note] : rows) {
    const LinuxCommand c = linuxCommand(request, installed);
    EXPECT_EQ(std::tie(c.program, c.arguments, c.missingNote), std::tie(program, arguments, note)) << note;
  }
}

// Octets round halves to even and keep to sixteen bits; the first octet decides the class.
TEST(OctetConversion, RoundsHalvesToEvenKeepsToSixteenBitsAndTheFirstDecidesTheClass) {
  const std::vector<std::pair<const char*, std::optional<int>>> rows{
      {"010", 10},     {" 7 ", 7}, {"-1", -1},   {"300", 300},     {"2.5", 2},         {"2.51", 3},
      {"3.5", 4},      {"1.6", 2}, {"-3.5", -4}, {"32767", 32767}, {"-32768", -32768}, {"32768", {}},
      {"32767.5", {}}, {"", {}},   {" ", {}},    {"-", {}},        {"1a", {}},         {"1.2.3", {}}};
  for (const auto& [text, number] : rows) EXPECT_EQ(convertOctet(text), number) << '"' << text << '"';
  EXPECT_EQ(addressFromOctets({"010", "001", "1", "1"})->target, "10.1.1.1");
  EXPECT_FALSE(addressFromOctets({"32768", "0", "0", "1"}));  // one bad octet spoils the address

  const std::vector<std::pair<int, const char*>> classes{
      {-1, "Class A Address"},  {0, "Class A Address"},   {126, "Class A Address"}, {127, "Loopback Address"},
      {128, "Class B Address"}, {191, "Class B Address"}, {192, "Class C Address"}, {223, "Class C Address"}};
  for (const auto& [octet, text] : classes) EXPECT_EQ(addressClass(octet), text) << octet;
  EXPECT_FALSE(addressClass(224));
}

}  // namespace
}  // namespace lumeno::iptools
