#include "tray/NotifyRecord.h"

#include <gtest/gtest.h>

#include <string>

namespace lumeno::tray {
namespace {

TEST(NotifyRecordTest, StartsWithTheFixedFieldsNoIconAndAnEmptyTip) {
  const NotifyRecord record;
  EXPECT_EQ(record.cbSize, 88U);
  EXPECT_EQ(record.uID, 1U);
  EXPECT_EQ(record.uFlags, 7U);
  EXPECT_EQ(record.uCallbackMessage, 512U);
  EXPECT_EQ(record.hIcon, 0U);
  EXPECT_EQ(record.tip(), "");
  EXPECT_EQ(record.szTip[0], '\0');
}

TEST(NotifyRecordTest, TipsUpTo63BytesStayWholeLongerOnesAreCutTo63) {
  NotifyRecord record;
  const std::string fits(63, 'a');
  record.setTip(fits);
  EXPECT_EQ(record.tip(), fits);
  EXPECT_EQ(record.szTip[63], '\0');

  record.setTip(std::string(63, 'b') + "c");
  EXPECT_EQ(record.tip(), std::string(63, 'b'));
  record.setTip(std::string(200, 'd'));
  EXPECT_EQ(record.tip(), std::string(63, 'd'));
  EXPECT_EQ(record.szTip[63], '\0');

  // A shorter tip after a longer one leaves nothing of the old one behind.
  record.setTip("IP : 10.0.0.7");
  EXPECT_EQ(record.tip(), "IP : 10.0.0.7");
  EXPECT_EQ(record.szTip[20], '\0');
}

TEST(NotifyRecordTest, TheProgramsThreeLineTipFitsWhole) {
  const std::string tip = "IP : 192.168.100.200\r\nStatus :  Offline!\r\nVersion : 1.0.27";
  NotifyRecord record;
  record.setTip(tip);
  EXPECT_EQ(record.tip(), tip);
}

TEST(NotifyRecordTest, ACutNeverSplitsALineBreak) {
  // 61 bytes of a long host name, then CR LF: the limit falls between CR and LF.
  const std::string firstLine = "IP : " + std::string(56, 'h');
  ASSERT_EQ(firstLine.size(), 61U);
  const std::string tip = firstLine + "\r\n" + "Status :  Online\r\nVersion : 1.0.27";
  EXPECT_EQ(cutTip(tip), firstLine + "\r\n");  // the pair ends at byte 63: kept
  const std::string tip2 = "I" + tip;          // now the CR is byte 63 and the LF is out
  EXPECT_EQ(cutTip(tip2), "I" + firstLine);
}

TEST(NotifyRecordTest, ACutNeverSplitsAUtf8Character) {
  // "é" is 2 bytes, "€" 3, "🌐" 4; each one straddles the 63-byte limit here.
  EXPECT_EQ(cutTip(std::string(62, 'x') + "é"), std::string(62, 'x'));
  EXPECT_EQ(cutTip(std::string(61, 'x') + "€z"), std::string(61, 'x'));
  EXPECT_EQ(cutTip(std::string(62, 'x') + "€"), std::string(62, 'x'));
  EXPECT_EQ(cutTip(std::string(60, 'x') + "🌐"), std::string(60, 'x'));
  // A character that ends exactly at the limit stays.
  EXPECT_EQ(cutTip(std::string(61, 'x') + "é!"), std::string(61, 'x') + "é");
  EXPECT_EQ(cutTip(std::string(59, 'x') + "🌐🌐"), std::string(59, 'x') + "🌐");
  // A whole tip of two-byte characters keeps 31 of them (62 bytes).
  std::string umlauts;
  for (int i = 0; i < 40; ++i) umlauts += "ü";
  EXPECT_EQ(cutTip(umlauts).size(), 62U);
}

}  // namespace
}  // namespace lumeno::tray
