// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NetIpAnswer.h"

#include <gtest/gtest.h>

namespace lumeno::app {
namespace {

TEST(NetIpAnswer, OneDottedAddressIsTheAnswerWhateverWhiteSpaceSurroundsIt) {
  EXPECT_EQ(parseNetIpAnswer("203.0.113.9"), "203.0.113.9");
  EXPECT_EQ(parseNetIpAnswer(" \t203.0.113.9\r\n"), "203.0.113.9");
  EXPECT_EQ(parseNetIpAnswer("0.0.0.0"), "0.0.0.0");
  EXPECT_EQ(parseNetIpAnswer("255.255.255.255"), "255.255.255.255");
}

TEST(NetIpAnswer, AnythingElseIsNoAddressToShow) {
  // A captive portal's page, an IPv6 answer, numbers out of range, too few or too many parts.
  for (const char* body :
       {"", "   ", "<html><body>Log in first</body></html>", "2001:db8::1", "256.1.1.1", "1.2.3", "1.2.3.4.5",
        "1..2.3", "1.2.3.4 5.6.7.8", "01234.1.1.1", "1.2.3.4.", "1.2.3.4x", "1.2.3.0004"}) {
    EXPECT_FALSE(parseNetIpAnswer(body).has_value()) << body;
  }
}

}  // namespace
}  // namespace lumeno::app
