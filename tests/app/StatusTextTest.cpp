// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "app/NetIpAnswer.h"

namespace lumeno::app {
namespace {

TEST(NetIpAnswer, OnlyOneDottedAddressIsAnAnswer) {
  EXPECT_EQ(parseNetIpAnswer("  203.0.113.7\n"), "203.0.113.7");
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4x", "<html>1.2.3.4</html>", "1..2.3",
                          "2001:db8::1", "1.2.3.0004"}) {
    EXPECT_FALSE(parseNetIpAnswer(bad).has_value()) << bad;
  }
}

}  // namespace
}  // namespace lumeno::app
