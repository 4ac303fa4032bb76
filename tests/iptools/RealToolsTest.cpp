// SPDX-License-Identifier: GPL-3.0-or-later
// The real traceroute and netstat, run through the window (the real ping is the e2e suite's).
// Traffic goes to 127.0.0.1 only.
#include "IpToolsFixture.h"
#include "ui/qt/QtToolRunner.h"

namespace lumeno::iptools::test {
namespace {

using RealToolsTest = IpToolsFixture;

TEST_F(RealToolsTest, TraceRouteAndNetstatOnLoopback) {
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
