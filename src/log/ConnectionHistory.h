// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/StampReading.h"
#include "platform/StampLayout.h"

// The connection's history as the activity log tells it: which spans the program watched, and
// whether the connection was up or down in each.
namespace lumeno::log {

enum class EntryKind { Loaded, Exit, WentOffline, BackOnline, Other };

// One entry of the log, as far as the history needs it.
struct HistoryEntry {
  EntryKind kind = EntryKind::Other;
  WallSeconds at = 0;
  std::optional<std::int64_t> offlineFor;  // "[Back Online]": how long the outage lasted, in seconds
  std::string stamp;                       // "[Went Offline]": its date and time as written
};

// An entry line (without its line break); nothing when it does not have the entry layout or its
// stamp cannot be read.
[[nodiscard]] std::optional<HistoryEntry> readHistoryEntry(std::string_view line,
                                                           const platform::StampLayout& layout);

enum class SpanState { Online, Offline, NotWatched };

struct Segment {
  SpanState state = SpanState::Online;
  WallSeconds from = 0;
  WallSeconds to = 0;      // never before `from`
  std::string startStamp;  // an outage's start as the log wrote it, when it did
  bool continues = false;  // goes on from the one before after the clock was set back
};

// The watched spans, entries in the order the log holds them, up to `now`. A start without an
// exit ends its span at the last entry before the next start; the last span, and an outage
// still going, reach `now`. A clock set back never makes a span negative: time goes on from the
// new reading. Only Online and Offline segments are given; what lies between is not watched.
[[nodiscard]] std::vector<Segment> historySegments(const std::vector<HistoryEntry>& entries, WallSeconds now);

// What a strip says under it.
struct StripFigures {
  std::int64_t watched = 0;  // seconds online or offline
  std::int64_t offline = 0;
  int outages = 0;
  std::int64_t longest = 0;
  // Tenths of a percent of the watched time online (979 for 97.9 %); nothing when none watched.
  [[nodiscard]] std::optional<int> onlinePermille() const;
};

// One strip: the segments cut to [from, to], and its figures.
struct HistoryStrip {
  WallSeconds from = 0;
  WallSeconds to = 0;
  std::vector<Segment> segments;
  StripFigures figures;
};

[[nodiscard]] HistoryStrip cutStrip(const std::vector<Segment>& segments, WallSeconds from, WallSeconds to);

}  // namespace lumeno::log
