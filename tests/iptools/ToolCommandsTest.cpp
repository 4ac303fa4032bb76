#include "iptools/ToolCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumeno::iptools {
namespace {

using Args = std::vector<std::string>;

ToolRequest ping(std::string count, std::string host) {
  ToolRequest request;
  request.tool = Tool::Ping;
  request.count = std::move(count);
  request.host = std::move(host);
  return request;
}

ToolRequest trace(std::string target, bool resolveNames = false, std::string hops = "30",
                  std::string timeout = "3000") {
  ToolRequest request;
  request.tool = Tool::Trace;
  request.target = std::move(target);
  request.resolveNames = resolveNames;
  request.hops = std::move(hops);
  request.timeout = std::move(timeout);
  return request;
}

ToolRequest netstat(bool showAll) {
  ToolRequest request;
  request.tool = Tool::Netstat;
  request.showAll = showAll;
  return request;
}

const auto kEverythingInstalled = [](const std::string&) { return true; };

TEST(WindowsCommandLine, PingKeepsSingleSpaces) {
  EXPECT_EQ(windowsCommandLine(ping("4", "127.0.0.1")), "command.com /c ping -n 4 127.0.0.1 > ping.txt");
  // An empty count leaves "-n " followed by a second space; box texts go in untrimmed.
  EXPECT_EQ(windowsCommandLine(ping("", "  x ")), "command.com /c ping -n    x  > ping.txt");
}

TEST(WindowsCommandLine, TraceKeepsItsDoubledAndTripledSpaces) {
  EXPECT_EQ(windowsCommandLine(trace("127.0.0.1")),
            "command.com /c tracert  -d   -h  30  -w  3000 127.0.0.1  >  traceroute.txt");
  EXPECT_EQ(windowsCommandLine(trace("192.168.1.1", true, "15", "500")),
            "command.com /c tracert  -h  15  -w  500 192.168.1.1  >  traceroute.txt");
  // A target that could not be built: three spaces, ">", two spaces.
  EXPECT_EQ(windowsCommandLine(trace("")),
            "command.com /c tracert  -d   -h  30  -w  3000   >  traceroute.txt");
}

TEST(WindowsCommandLine, Netstat) {
  EXPECT_EQ(windowsCommandLine(netstat(true)), "command.com /c netstat  -a   >  netstat.txt");
  EXPECT_EQ(windowsCommandLine(netstat(false)), "command.com /c netstat  >  netstat.txt");
}

TEST(LinuxCommand, PingCountsEchoesAndEndsOptionsBeforeTheHost) {
  const LinuxCommand command = linuxCommand(ping("4", "127.0.0.1"), kEverythingInstalled);
  EXPECT_EQ(command.program, "ping");
  EXPECT_EQ(command.arguments, (Args{"-c", "4", "--", "127.0.0.1"}));
  EXPECT_TRUE(command.missingNote.empty());
  // A count that is not a number goes on as typed, for ping to complain about.
  EXPECT_EQ(linuxCommand(ping("x", "h"), kEverythingInstalled).arguments, (Args{"-c", "x", "--", "h"}));
  EXPECT_EQ(linuxCommand(ping("", "h"), kEverythingInstalled).arguments, (Args{"-c", "", "--", "h"}));
}

TEST(LinuxCommand, TraceroutePlainAddressesUnlessNamesAreWanted) {
  EXPECT_EQ(linuxCommand(trace("127.0.0.1"), kEverythingInstalled).arguments,
            (Args{"-n", "-m", "30", "-w", "3", "--", "127.0.0.1"}));
  const LinuxCommand named = linuxCommand(trace("192.168.1.1", true, "15", "500"), kEverythingInstalled);
  EXPECT_EQ(named.program, "traceroute");
  EXPECT_EQ(named.arguments, (Args{"-m", "15", "-w", "0.5", "--", "192.168.1.1"}));
  // Hops and a time-out that are not numbers reach the tool as typed.
  EXPECT_EQ(linuxCommand(trace("h", false, "ab", "1e3"), kEverythingInstalled).arguments,
            (Args{"-n", "-m", "ab", "-w", "1e3", "--", "h"}));
  // No address could be built: the tool gets no target and says so itself.
  EXPECT_EQ(linuxCommand(trace(""), kEverythingInstalled).arguments,
            (Args{"-n", "-m", "30", "-w", "3", "--"}));
}

TEST(LinuxCommand, TimeOutTurnsFromMillisecondsIntoSeconds) {
  EXPECT_EQ(millisecondsAsSeconds("3000"), "3");
  EXPECT_EQ(millisecondsAsSeconds("500"), "0.5");
  EXPECT_EQ(millisecondsAsSeconds("1"), "0.001");
  EXPECT_EQ(millisecondsAsSeconds("1250"), "1.25");
  EXPECT_EQ(millisecondsAsSeconds("000"), "0");
  EXPECT_EQ(millisecondsAsSeconds("0100"), "0.1");
  EXPECT_EQ(millisecondsAsSeconds("999999"), "999.999");
  EXPECT_EQ(millisecondsAsSeconds("12345678901234567890"), "12345678901234567.89");
  for (const char* typed : {"", " 300", "-5", "1.5", "3s", "--help"}) {
    EXPECT_EQ(millisecondsAsSeconds(typed), typed);
  }
}

TEST(LinuxCommand, NetstatPrefersNetToolsThenIproute) {
  const LinuxCommand plain = linuxCommand(netstat(false), kEverythingInstalled);
  EXPECT_EQ(plain.program, "netstat");
  EXPECT_EQ(plain.arguments, (Args{"-t", "-u", "-n"}));
  EXPECT_EQ(linuxCommand(netstat(true), kEverythingInstalled).arguments, (Args{"-t", "-u", "-n", "-a"}));

  const auto onlySs = [](const std::string& name) { return name == "ss"; };
  const LinuxCommand ss = linuxCommand(netstat(true), onlySs);
  EXPECT_EQ(ss.program, "ss");
  EXPECT_EQ(ss.arguments, (Args{"-t", "-u", "-n", "-a"}));
}

TEST(LinuxCommand, AMissingToolIsOneLineNamingItsPackage) {
  const auto nothing = [](const std::string&) { return false; };
  const LinuxCommand p = linuxCommand(ping("4", "h"), nothing);
  EXPECT_TRUE(p.program.empty());
  EXPECT_EQ(p.missingNote, "ping is not installed (Debian package: iputils-ping)\n");
  EXPECT_EQ(linuxCommand(trace("h"), nothing).missingNote,
            "traceroute is not installed (Debian package: traceroute)\n");
  EXPECT_EQ(linuxCommand(netstat(false), nothing).missingNote,
            "netstat is not installed (Debian package: net-tools)\n");
}

// Texts a user might type, on purpose or not, into any box.
const std::vector<std::string>& hostileTexts() {
  static const std::vector<std::string> texts = {"; touch pwned",
                                                 "$(touch pwned)",
                                                 "`touch pwned`",
                                                 "| tee pwned",
                                                 "&& rm -rf ~",
                                                 "> pwned",
                                                 "< /etc/passwd",
                                                 "a\nb",
                                                 "\"quoted\"",
                                                 "'single'",
                                                 "-f",
                                                 "--help",
                                                 "-w 1000000",
                                                 "--",
                                                 "-c 100000 -i 0",
                                                 "*",
                                                 "~",
                                                 "${HOME}",
                                                 "\\",
                                                 "#",
                                                 std::string(10000, 'x')};
  return texts;
}

TEST(LinuxCommand, EveryTypedTextIsExactlyOneArgumentAndNeverAnOption) {
  for (const std::string& text : hostileTexts()) {
    SCOPED_TRACE(text.substr(0, 40));
    // Ping: count as the value of -c, host after the end of the options.
    EXPECT_EQ(linuxCommand(ping(text, text), kEverythingInstalled).arguments, (Args{"-c", text, "--", text}));
    // Trace: hops and time-out as values of their options, the domain after the end of the options.
    const Args traced = linuxCommand(trace(text, false, text, text), kEverythingInstalled).arguments;
    EXPECT_EQ(traced, (Args{"-n", "-m", text, "-w", text, "--", text}));
    // The Windows line never leaves out or splits what was typed.
    EXPECT_NE(windowsCommandLine(ping("4", text)).find(text), std::string::npos);
  }
}

}  // namespace
}  // namespace lumeno::iptools
