// SPDX-License-Identifier: GPL-3.0-or-later
// The real ping, traceroute and netstat, run through the window. Traffic goes to 127.0.0.1 only.
#include "IpToolsFixture.h"
#include "ui/qt/QtToolRunner.h"

namespace lumeno::iptools::test {
namespace {

using RealToolsTest = IpToolsFixture;

TEST_F(RealToolsTest, PingTraceRouteAndNetstatOnLoopback) {
  type("txtNumber", "1");
  type("txtIP", "127.0.0.1");
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_NE(output().find("1 packets transmitted"), std::string::npos) << output();
  EXPECT_EQ(status(), " Done...");
  EXPECT_EQ(counter(), "1");

  button("ipopt")->click();
  typeOctets({"127", "0", "0", "1"});
  type("hops", "2");
  type("timeout", "1000");
  ASSERT_TRUE(run("tracmd"));
  EXPECT_NE(output().find("traceroute to 127.0.0.1"), std::string::npos) << output();
  EXPECT_EQ(status(), "Loopback Address");

  button("netstatopt")->click();
  button("chknetstatall")->setChecked(true);
  ASSERT_TRUE(run("netstatbutton"));
  EXPECT_FALSE(output().empty());
  EXPECT_EQ(output().find("is not installed"), std::string::npos) << output();
  EXPECT_EQ(status(), "Done...");
}

// On Debian traceroute lives in /usr/sbin, which an ordinary user's search path may lack.
TEST(ToolLookup, FindsTracerouteOutsideTheSearchPath) {
  const QByteArray saved = qgetenv("PATH");
  qputenv("PATH", "/nonexistent");
  const QString found = QtToolRunner::findInstalledProgram(QStringLiteral("traceroute"));
  qputenv("PATH", saved);
  EXPECT_TRUE(found.endsWith(QStringLiteral("sbin/traceroute"))) << found.toStdString();
}

}  // namespace
}  // namespace lumeno::iptools::test
