// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FakeLogSource.h"
#include "HistoryLog.h"
#include "log/ConnectionHistory.h"
#include "log/HistoryPresenter.h"
#include "log/StampReading.h"

namespace lumeno::log {
namespace {

using platform::StampField;
using platform::StampLayout;
using platform::StampPart;

StampField f(StampPart part) {
  return {part, {}};
}
StampField t(const char* text) {
  return {StampPart::Text, text};
}

// Day/month/year and a 24-hour clock, as the fake clock writes.
const StampLayout kDayFirst = test::dayMonthYearLayout();
const StampLayout kMonthFirst12{
    {f(StampPart::WeekdayName), t(" "), f(StampPart::MonthName), t(" "), f(StampPart::Day), t(", "),
     f(StampPart::ShortYear)},
    {f(StampPart::Hour12), t(":"), f(StampPart::Minute), t(":"), f(StampPart::Second), t(" "),
     f(StampPart::DayHalf)},
    {"AM", "PM"},
    {"Jan", "Feb",  "Mar",  "Apr",    "May",       "Jun",      "Jul",      "Aug",
     "Sep", "Oct",  "Nov",  "Dec",    "January",   "February", "March",    "April",
     "May", "June", "July", "August", "September", "October",  "November", "December"},
    {"Sat", "Saturday"}};

TEST(StampReading, ReadsWhatTheRegionalFormatsWroteRefusesWhatTheyCannotAndSaysLengths) {
  struct Row {
    const StampLayout* layout;
    const char* date;
    const char* time;
    std::optional<WallSeconds> expected;
  };
  const Row rows[] = {
      {&kDayFirst, "05/12/2026", "11:26:06", wallSeconds(2026, 12, 5, 11, 26, 6)},
      {&kDayFirst, " 5/12/2026", " 9:02:03", wallSeconds(2026, 12, 5, 9, 2, 3)},
      {&kMonthFirst12, "Saturday December 5, 26", "11:26:06 PM", wallSeconds(2026, 12, 5, 23, 26, 6)},
      {&kMonthFirst12, "Sat Dec 5, 26", "12:00:01 AM", wallSeconds(2026, 12, 5, 0, 0, 1)},
      {&kMonthFirst12, "Sat Dec 5, 26", "01:05:00 AM", wallSeconds(2026, 12, 5, 1, 5, 0)},
      {&kDayFirst, "29/02/2028", "00:00:00", wallSeconds(2028, 2, 29, 0, 0, 0)},
      {&kDayFirst, "29/02/2000", "00:00:00", wallSeconds(2000, 2, 29, 0, 0, 0)},
      {&kDayFirst, "29/02/2026", "00:00:00", std::nullopt},  // no such day
      {&kDayFirst, "29/02/2100", "00:00:00", std::nullopt},
      {&kDayFirst, "05/12/2026", "24:00:00", std::nullopt},
      {&kDayFirst, "31/12/2026", "23:59:60", wallSeconds(2026, 12, 31, 23, 59, 60)},  // a leap second
      {&kDayFirst, "05/12/2026", "23:59:61", std::nullopt},         // a leap second is at most :60
      {&kDayFirst, "05/00/2026", "11:26:06", std::nullopt},         // no month 0
      {&kDayFirst, "00/12/2026", "11:26:06", std::nullopt},         // nor day 0
      {&kDayFirst, "05/13/2026", "11:26:06", std::nullopt},         // nor month 13
      {&kMonthFirst12, "Sat  5, 26", "11:26:06 PM", std::nullopt},  // nor a month without its name
      {&kDayFirst, "05/12/2026", "11:26:06 PM", std::nullopt},      // more than the layout writes
      {&kDayFirst, "12/05/26", "11:26", std::nullopt},
      {&kMonthFirst12, "Sat Dec 5, 26", "13:00:00 PM", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(readStamp(*row.layout, row.date, row.time), row.expected) << row.date;
  StampLayout withoutDayHalves = kMonthFirst12;  // a locale whose day halves are nameless
  withoutDayHalves.dayHalves = {"", ""};
  EXPECT_EQ(readStamp(withoutDayHalves, "Sat Dec 5, 26", "11:26:06 "), wallSeconds(2026, 12, 5, 11, 26, 6));
  StampLayout hoursOnly = kDayFirst;  // a time written without minutes or seconds
  hoursOnly.time = {f(StampPart::Hour24)};
  EXPECT_EQ(readStamp(hoursOnly, "05/12/2026", "11"), wallSeconds(2026, 12, 5, 11, 0, 0));
  // Seconds since 1970 of the first and last days of months through the year.
  const std::pair<std::array<int, 3>, WallSeconds> days[] = {
      {{1999, 12, 31}, 946598400}, {{2000, 2, 29}, 951782400},  {{2000, 3, 1}, 951868800},
      {{2026, 1, 31}, 1769817600}, {{2026, 4, 30}, 1777507200}, {{2026, 7, 31}, 1785456000},
      {{2026, 9, 1}, 1788220800},  {{2026, 11, 30}, 1795996800}};
  for (const auto& [day, seconds] : days) EXPECT_EQ(wallSeconds(day[0], day[1], day[2], 0, 0, 0), seconds);

  // How long an outage lasted, as "[Back Online]" says it; a damaged length says nothing.
  const std::string back = "[Back Online] , Date : 05/12/2026 , Time : 11:26:06 , Offline for : ";
  const auto whole = readHistoryEntry(back + "01:02:03", kDayFirst);
  const auto damaged = readHistoryEntry(back + "01:02:", kDayFirst);
  ASSERT_TRUE(whole && damaged);
  EXPECT_EQ(std::tuple(whole->offlineFor, damaged->offlineFor), std::tuple(3723, std::nullopt));
  // Lengths read as people say them.
  const std::pair<std::int64_t, const char*> lengths[] = {
      {0, "0 s"}, {30, "30 s"}, {300, "5 min"}, {7200, "2 h"}, {7530, "2 h 5 min 30 s"}, {90061, "1 d 1 h"}};
  for (const auto& [seconds, text] : lengths) EXPECT_EQ(lengthText(seconds), text);
}

auto figuresOf(const StripFigures& f) {
  return std::tuple(f.watched, f.offline, f.outages, f.longest);
}

HistoryEntry e(EntryKind kind, WallSeconds at, std::optional<std::int64_t> offlineFor = std::nullopt) {
  return {kind, at, offlineFor, {}};
}

TEST(ConnectionHistory, SegmentsAndFiguresFollowTheEntries) {
  const EntryKind start = EntryKind::Loaded, down = EntryKind::WentOffline, up = EntryKind::BackOnline,
                  quit = EntryKind::Exit, other = EntryKind::Other;
  const std::tuple<std::vector<HistoryEntry>, WallSeconds, StripFigures> rows[] = {
      // One outage between a start and an exit.
      {{e(start, 0), e(down, 100), e(up, 400), e(quit, 1000)}, 2000, {1000, 300, 1, 300}},
      // A start without an exit ends at its last entry.
      {{e(start, 0), e(other, 50), e(start, 200), e(quit, 300)}, 2000, {150, 0, 0, 0}},
      // The last start runs up to now, and so does an outage still going.
      {{e(start, 0)}, 500, {500, 0, 0, 0}},
      {{e(start, 0), e(down, 100)}, 500, {500, 400, 1, 400}},
      // A clock set back makes no negative span, and an outage across it stays one outage.
      {{e(start, 1000), e(other, 500), e(quit, 800)}, 2000, {300, 0, 0, 0}},
      {{e(start, 0), e(down, 100), e(other, 50), e(up, 150), e(quit, 200)}, 2000, {250, 100, 1, 100}},
      // Offline from the start: the back-online entry tells how long.
      {{e(start, 0), e(up, 600, 100), e(quit, 1000)}, 2000, {1000, 100, 1, 100}},
      // Entries before any start still were watched.
      {{e(down, 100), e(up, 160)}, 200, {100, 60, 1, 60}},
      // An exit ends an outage; a start that finds the connection down begins another.
      {{e(start, 0), e(down, 100), e(quit, 200), e(start, 300), e(up, 400, 100), e(quit, 500)},
       2000,
       {400, 200, 2, 100}},
      // Outages over within their second, at the strip's start and at its end, still count.
      {{e(down, 0), e(up, 0), e(down, 100), e(up, 100)}, 100, {100, 0, 2, 0}},
      {{}, 2000, {0, 0, 0, 0}},
  };
  for (std::size_t row = 0; row < std::size(rows); ++row) {
    const auto& [entries, now, expected] = rows[row];
    const HistoryStrip strip = cutStrip(historySegments(entries, now), 0, now);  // over [0, now]
    EXPECT_EQ(figuresOf(strip.figures), figuresOf(expected)) << "row " << row;
    for (const Segment& segment : strip.segments) EXPECT_LE(segment.from, segment.to) << "row " << row;
  }
}

TEST(ConnectionHistory, AStripCutsItsSegmentsAndCountsTenthsOfAPercent) {
  const std::vector<Segment> segments =
      historySegments({e(EntryKind::Loaded, 0), e(EntryKind::WentOffline, 100), e(EntryKind::BackOnline, 400),
                       e(EntryKind::Exit, 1000)},
                      2000);
  const HistoryStrip strip = cutStrip(segments, 200, 2000);
  ASSERT_EQ(strip.segments.size(), 2u);
  // The longest outage is the part inside the strip.
  EXPECT_EQ(std::tuple(strip.segments[0].from, strip.segments[0].state, strip.figures.longest,
                       strip.figures.onlinePermille()),
            std::tuple(200, SpanState::Offline, 200, 750));
  EXPECT_EQ(StripFigures{}.onlinePermille(), std::nullopt);
}

struct HistoryWindowFake : HistoryView {
  void showHistory() override {}
  void showLoggingNote(const std::string& text) override { note = text; }
  void setFollowing(bool on) override { following = on; }
  std::string note;
  bool following = false;
};

std::string line(const char* head, const char* date, const char* time, const char* tail = "") {
  return std::string(head) + " , Date : " + date + " , Time : " + time + tail + "\r\n";
}

struct HistoryFixture {
  HistoryFixture() { clock.value = {"05/12/2026", "12:00:00"}; }
  FakeLogSource source;
  platform::FakeClock clock;
  HistoryWindowFake view;
  bool logged = true;
  HistoryPresenter presenter{source, clock, kDayFirst, [this] { return logged; }, view};
};

TEST(HistoryPresenter, ReadsOnlyTheLogsLastWeekFromItsEndAndFollowsItsGrowth) {
  HistoryFixture h;
  std::string old;
  while (old.size() < 3'000'000) old += line("[Refreshed Local IP] : 10.0.0.2", "01/10/2026", "10:00:00");
  // Nothing older than the week tells the state: a megabyte of older lines is enough to give up.
  h.source.write(old + line("[Lumeno Loaded]", "01/12/2026", "10:00:00") + "[Went Offline] , Date : 2\r\n" +
                 line("[Went Offline]", "05/12/2026", "09:00:00") +
                 line("[Back Online]", "05/12/2026", "09:05:00", " , Offline for : 00:05:00") + "[Went Off");
  h.presenter.load();
  EXPECT_TRUE(h.view.following);
  EXPECT_LT(h.source.bytesRead, 1'600'000u);
  const auto& strips = h.presenter.strips();  // the week's is watched since 01/12
  EXPECT_EQ(std::tuple(strips[0].figures.watched, strips[0].figures.outages, strips[1].figures.watched),
            std::tuple(HistoryPresenter::kDay, 1, 4 * HistoryPresenter::kDay + std::int64_t{2} * 3600));
  EXPECT_EQ(h.presenter.stripTexts()[0].figures,
            (std::vector<std::string>{"Online: 99.7 % of the watched time", "Outages: 1", "Longest: 5 min",
                                      "Offline in total: 5 min"}));
  EXPECT_EQ(h.presenter.status(), "1 line of the log could not be read.");
  EXPECT_EQ(h.presenter.tipAt(0, 21.0 / 24, 0.0), "Offline from 05/12/2026 09:00:00 for 5 min");
  EXPECT_EQ(h.presenter.tipAt(0, 0.5, 0.01), "");

  // The unfinished line is read once whole, and each new line apart; an unchanged log is not
  // read at all. This growth too ends inside a line, which the next growth finishes.
  h.source.append(std::string("line] , Date : 05/12/2026 , Time : 11:59:30\r\n") +
                  line("[Back Online]", "05/12/2026", "11:59:50", " , Offline for : 00:00:20") + "[Went");
  const std::uint64_t loaded = h.source.bytesRead;
  h.presenter.tick();
  EXPECT_LT(h.source.bytesRead - loaded, 1000u);  // the growth alone
  EXPECT_EQ(figuresOf(h.presenter.strips()[0].figures), figuresOf({HistoryPresenter::kDay, 320, 2, 300}));
  EXPECT_EQ(std::tuple(h.presenter.stripTexts().size(), h.presenter.status()),
            std::tuple(2u, "1 line of the log could not be read."));
  // A copy that ended without a word was watching until its last line, as in the log read whole.
  h.source.append(line(" Offline]", "05/12/2026", "11:59:55") +
                  line("[Refreshed Local IP] : 10.0.0.2", "05/12/2026", "11:59:56") +
                  line("[Refreshed Local IP] : 10.0.0.2", "05/12/2026", "11:59:58") +
                  line("[Lumeno Loaded]", "05/12/2026", "11:59:59"));
  const std::uint64_t read = h.source.bytesRead;
  h.presenter.tick();
  EXPECT_LT(h.source.bytesRead - read, 1000u);  // checked against the tail the growth before left
  // The grown log reads as the same log read whole.
  HistoryFixture whole;
  whole.source.write(h.source.bytes);
  whole.presenter.load();
  for (std::size_t strip = 0; strip < 2; ++strip)
    EXPECT_EQ(figuresOf(h.presenter.strips()[strip].figures),
              figuresOf(whole.presenter.strips()[strip].figures));
  const std::uint64_t grown = h.source.bytesRead;
  h.presenter.tick();
  EXPECT_EQ(h.source.bytesRead, grown);

  h.logged = false;
  h.presenter.tick();
  EXPECT_EQ(h.view.note, HistoryPresenter::kLoggingOffNote);
  h.presenter.unload();
  EXPECT_FALSE(h.view.following);
}

TEST(HistoryPresenter, AReplacedOrMissingLogIsReadAfresh) {
  HistoryFixture h;
  h.source.write(line("[Lumeno Loaded]", "05/12/2026", "10:00:00") +
                 line("[Went Offline]", "05/12/2026", "11:00:00"));
  h.presenter.load();
  EXPECT_EQ(h.presenter.strips()[0].figures.offline, 3600);
  h.source.write(line("[Lumeno Loaded]", "05/12/2026", "11:30:00"));  // cleared, then a new start
  h.presenter.tick();
  EXPECT_EQ(figuresOf(h.presenter.strips()[0].figures), figuresOf({1800, 0, 0, 0}));
  h.source.exists = false;
  h.presenter.tick();
  EXPECT_EQ(h.presenter.strips()[1].figures.watched, 0);
}

TEST(HistoryPresenter, AnOutageThatBeganBeforeTheWeekIsFoundUpToAMegabyteBackWhereverItIsInTheFile) {
  HistoryFixture h;
  std::string old;
  while (old.size() < 2'000'000) old += line("[Refreshed Local IP] : 10.0.0.2", "01/10/2026", "10:00:00");
  std::string since;  // less than the look-back after the line that tells the state
  while (since.size() < 100'000) since += line("[Refreshed Local IP] : 10.0.0.2", "01/11/2026", "10:00:00");
  h.source.write(old + line("[Went Offline]", "01/11/2026", "09:00:00") + since +
                 line("[Refreshed Local IP] : 10.0.0.2", "05/12/2026", "09:00:00"));
  h.presenter.load();
  EXPECT_EQ(h.presenter.strips()[1].figures.offline, HistoryPresenter::kWeek);
}

TEST(HistoryPresenter, ALogOneBytePastAPieceOfTheBackwardReadIsReadWhole) {
  HistoryFixture h;
  const std::size_t size = 256 * 1024 + 1;
  std::string rest = line("[Lumeno Loaded]", "05/12/2026", "10:00:00");
  while (rest.size() < size - 200) rest += line("[Refreshed Local IP] : 10.0.0.2", "05/12/2026", "10:00:01");
  std::string first = line("[Refreshed Local IP] : ", "05/12/2026", "09:00:00");
  h.source.write(first.insert(23, size - rest.size() - first.size(), '1') + rest);
  h.presenter.load();
  EXPECT_EQ(h.presenter.status(), "");  // the first line is read from its start, not its second byte
}

}  // namespace
}  // namespace lumeno::log
