// The real ping, traceroute and netstat, run through the window. Traffic goes to 127.0.0.1 only.
#include <QPlainTextEdit>

#include <filesystem>
#include <set>

#include "IpToolsFixture.h"
#include "iptools/ToolRunner.h"

namespace lumeno::iptools::test {
namespace {

class RealToolsTest : public IpToolsFixture {
 protected:
  std::set<std::string> filesInFolder() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      names.insert(entry.path().filename().string());
    return names;
  }
};

TEST_F(RealToolsTest, PingOfLoopbackShowsTheWholeOutputAndCountsOne) {
  box("txtNumber")->setText(QStringLiteral("1"));
  box("txtIP")->setText(QStringLiteral("127.0.0.1"));
  ASSERT_TRUE(run("cmdPing"));
  const std::string result = folder.read("ping.txt");
  EXPECT_NE(result.find("1 packets transmitted"), std::string::npos) << result;
  EXPECT_EQ(output(), result);
  EXPECT_EQ(status(), " Done...");
  EXPECT_EQ(counter(), "1");
}

TEST_F(RealToolsTest, TraceRouteToLoopback) {
  button("ipopt")->click();
  box("iptxt1")->setText(QStringLiteral("127"));
  box("iptxt2")->setText(QStringLiteral("0"));
  box("iptxt3")->setText(QStringLiteral("0"));
  box("iptxt4")->setText(QStringLiteral("1"));
  box("hops")->setText(QStringLiteral("2"));
  box("timeout")->setText(QStringLiteral("1000"));
  ASSERT_TRUE(run("tracmd"));
  const std::string result = folder.read("traceroute.txt");
  EXPECT_NE(result.find("traceroute to 127.0.0.1"), std::string::npos) << result;
  EXPECT_EQ(output(), result);
  EXPECT_EQ(status(), "Loopback Address");
}

TEST_F(RealToolsTest, NetstatListsConnections) {
  button("netstatopt")->click();
  button("chknetstatall")->setChecked(true);
  ASSERT_TRUE(run("netstatbutton"));
  const std::string result = folder.read("netstat.txt");
  EXPECT_FALSE(result.empty());
  EXPECT_EQ(result.find("is not installed"), std::string::npos) << result;
  EXPECT_EQ(output(), result);
  EXPECT_EQ(status(), "Done...");
}

// Texts that a shell or an option parser would act on reach the real tools as plain values,
// which they refuse; nothing else runs and no other file appears.
TEST_F(RealToolsTest, OptionsTypedIntoTheBoxesAreRefusedByTheToolsAsValues) {
  box("txtNumber")->setText(QStringLiteral("-f"));  // a flood ping, were it taken as an option
  box("txtIP")->setText(QStringLiteral("127.0.0.1"));
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_NE(folder.read("ping.txt").find("invalid argument"), std::string::npos) << folder.read("ping.txt");
  EXPECT_EQ(folder.read("ping.txt").find("64 bytes"), std::string::npos);

  button("ipopt")->click();
  for (const char* octet : {"iptxt2", "iptxt3"}) box(octet)->setText(QStringLiteral("0"));
  box("iptxt1")->setText(QStringLiteral("127"));
  box("iptxt4")->setText(QStringLiteral("1"));
  box("hops")->setText(QStringLiteral("$(t"));
  box("timeout")->setText(QStringLiteral("--help"));
  ASSERT_TRUE(run("tracmd"));
  const std::string trace = folder.read("traceroute.txt");
  EXPECT_NE(trace.find("$(t"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("traceroute to"), std::string::npos) << trace;
  EXPECT_EQ(filesInFolder(), (std::set<std::string>{"ping.txt", "traceroute.txt", "netstat.txt"}));
}

TEST(ToolLookup, FindsTracerouteEvenWhereTheSearchPathLacksTheSystemFolders) {
  const QByteArray saved = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  const QString found = ToolRunner::findInstalledProgram(QStringLiteral("traceroute"));
  qputenv("PATH", saved);
  EXPECT_TRUE(found.endsWith(QStringLiteral("sbin/traceroute"))) << found.toStdString();
  EXPECT_TRUE(ToolRunner::findInstalledProgram(QStringLiteral("no-such-tool-here")).isEmpty());
}

}  // namespace
}  // namespace lumeno::iptools::test
