#include "iptools/Address.h"

#include <gtest/gtest.h>

namespace lumeno::iptools {
namespace {

TEST(OctetConversion, TrimsAndDropsLeadingZeros) {
  EXPECT_EQ(convertOctet("192"), 192);
  EXPECT_EQ(convertOctet("010"), 10);
  EXPECT_EQ(convertOctet("001"), 1);
  EXPECT_EQ(convertOctet(" 7 "), 7);
  EXPECT_EQ(convertOctet("\t8"), 8);
  EXPECT_EQ(convertOctet("-1"), -1);
  EXPECT_EQ(convertOctet("+5"), 5);
  EXPECT_EQ(convertOctet("300"), 300);  // not limited to 0..255
}

TEST(OctetConversion, RoundsAHalfToTheEvenNeighbour) {
  EXPECT_EQ(convertOctet("2.5"), 2);
  EXPECT_EQ(convertOctet("3.5"), 4);
  EXPECT_EQ(convertOctet("1.6"), 2);
  EXPECT_EQ(convertOctet("1.4"), 1);
  EXPECT_EQ(convertOctet(".5"), 0);
  EXPECT_EQ(convertOctet("0.51"), 1);  // above the half, however little
  EXPECT_EQ(convertOctet("2.50"), 2);
  EXPECT_EQ(convertOctet("-2.5"), -2);
  EXPECT_EQ(convertOctet("-3.5"), -4);
  EXPECT_EQ(convertOctet("7."), 7);
}

TEST(OctetConversion, KeepsToTheSixteenBitRange) {
  EXPECT_EQ(convertOctet("32767"), 32767);
  EXPECT_EQ(convertOctet("-32768"), -32768);
  EXPECT_EQ(convertOctet("-32768.5"), -32768);  // rounds to the even neighbour, still in range
  EXPECT_FALSE(convertOctet("32768"));
  EXPECT_FALSE(convertOctet("-32769"));
  EXPECT_FALSE(convertOctet("32767.5"));
  EXPECT_FALSE(convertOctet("99999999999999999999999"));
}

TEST(OctetConversion, RefusesWhatIsNotANumber) {
  for (const char* text : {"", " ", "-", "+", ".", "a", "1a", "1 2", "--1", "1.2.3", "1e2", "&H1", "0x1",
                           "1,0", "$(x)", "; ls"}) {
    EXPECT_FALSE(convertOctet(text)) << '"' << text << '"';
  }
}

TEST(AddressClass, DecidedByTheFirstOctet) {
  EXPECT_EQ(addressClass(-1), "Class A Address");
  EXPECT_EQ(addressClass(0), "Class A Address");
  EXPECT_EQ(addressClass(10), "Class A Address");
  EXPECT_EQ(addressClass(126), "Class A Address");
  EXPECT_EQ(addressClass(127), "Loopback Address");
  EXPECT_EQ(addressClass(128), "Class B Address");
  EXPECT_EQ(addressClass(172), "Class B Address");
  EXPECT_EQ(addressClass(191), "Class B Address");
  EXPECT_EQ(addressClass(192), "Class C Address");
  EXPECT_EQ(addressClass(223), "Class C Address");
  EXPECT_FALSE(addressClass(224));
  EXPECT_FALSE(addressClass(300));
}

TEST(TypedAddress, JoinsTheFourNumbers) {
  const auto c = addressFromOctets({"192", "168", "1", "1"});
  ASSERT_TRUE(c);
  EXPECT_EQ(c->target, "192.168.1.1");
  EXPECT_EQ(c->classText, "Class C Address");

  EXPECT_EQ(addressFromOctets({"010", "001", "1", "1"})->target, "10.1.1.1");
  EXPECT_EQ(addressFromOctets({"1.6", "2.5", "3.5", " 4"})->target, "2.2.4.4");

  const auto multicast = addressFromOctets({"224", "0", "0", "1"});
  ASSERT_TRUE(multicast);
  EXPECT_EQ(multicast->target, "224.0.0.1");
  EXPECT_FALSE(multicast->classText);
  EXPECT_EQ(addressFromOctets({"300", "1", "1", "1"})->target, "300.1.1.1");
}

TEST(TypedAddress, AnyBadOctetSpoilsIt) {
  EXPECT_FALSE(addressFromOctets({"192", "168", "", "1"}));
  EXPECT_FALSE(addressFromOctets({"32768", "0", "0", "1"}));
  EXPECT_FALSE(addressFromOctets({"1", "1", "1", "x"}));
}

TEST(DomainCheck, OnlyAnEmptyBoxOrTheBareStartCountAsMissing) {
  EXPECT_TRUE(isMissingDomain(""));
  EXPECT_TRUE(isMissingDomain("www."));
  EXPECT_FALSE(isMissingDomain("WWW."));
  EXPECT_FALSE(isMissingDomain(" www."));
  EXPECT_FALSE(isMissingDomain("www.debian.org"));
}

}  // namespace
}  // namespace lumeno::iptools
