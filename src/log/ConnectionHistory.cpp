// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/ConnectionHistory.h"

#include <algorithm>

#include "log/LogEntry.h"

namespace lumeno::log {
namespace {

constexpr std::string_view kDate = " , Date : ";
constexpr std::string_view kTime = " , Time : ";

EntryKind kindOf(std::string_view head) {
  // The heads without a value carry the comma of the layout: "[Went Offline] ,".
  const auto is = [head](std::string_view known) { return head == known.substr(0, known.size() - 2); };
  if (is(kWentOffline)) return EntryKind::WentOffline;
  if (is(kBackOnline)) return EntryKind::BackOnline;
  if (is(kLumenoLoaded)) return EntryKind::Loaded;
  if (is(kProgramExit)) return EntryKind::Exit;
  return EntryKind::Other;
}

// "HH:MM:SS", hours going past a day.
std::optional<std::int64_t> readDuration(std::string_view text) {
  std::int64_t parts[3] = {0, 0, 0};
  int part = 0;
  bool digits = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9' && parts[part] < 100'000'000) {
      parts[part] = parts[part] * 10 + (c - '0');
      digits = true;
    } else if (c == ':' && digits && part < 2) {
      ++part;
      digits = false;
    } else {
      return std::nullopt;
    }
  }
  if (part != 2 || !digits || parts[1] > 59 || parts[2] > 59) return std::nullopt;
  return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

// Builds the segments entry by entry.
class SegmentBuilder {
 public:
  void add(const HistoryEntry& entry) {
    switch (entry.kind) {
      case EntryKind::Loaded:
        watching_ = false;  // a start without an exit: that span ended at its last entry
        begin(entry.at);
        break;
      case EntryKind::Exit:
        reach(entry.at);
        watching_ = false;
        break;
      case EntryKind::WentOffline:
        begin(entry.at);
        reach(entry.at);
        become(SpanState::Offline, entry.stamp);
        break;
      case EntryKind::BackOnline:
        if (watching_ && state_ == SpanState::Offline) {
          reach(entry.at);
        } else if (entry.offlineFor) {
          // Offline since before anything was logged of it (the first check saw it down).
          const WallSeconds start = entry.at - *entry.offlineFor;
          begin(start);
          reach(std::max(start, cursor_));
          become(SpanState::Offline, {});
          reach(entry.at);
        } else {
          begin(entry.at);
          reach(entry.at);
        }
        become(SpanState::Online, {});
        break;
      case EntryKind::Other: reach(entry.at); break;
    }
  }

  std::vector<Segment> finish(WallSeconds now) {
    reach(now);
    return std::move(segments_);
  }

 private:
  // A watched span starts online (also one whose start the log does not hold).
  void begin(WallSeconds at) {
    if (watching_) return;
    watching_ = true;
    cursor_ = at;
    become(SpanState::Online, {});
  }

  void become(SpanState state, std::string stamp) {
    state_ = state;
    stamp_ = std::move(stamp);
    fresh_ = true;
  }

  // The state lasted from the cursor until `at`. A clock set back ends the piece where it was,
  // and the same span goes on from the new reading.
  void reach(WallSeconds at) {
    if (!watching_) return;
    const WallSeconds to = std::max(at, cursor_);
    Segment* last = segments_.empty() ? nullptr : &segments_.back();
    if (!fresh_ && last != nullptr && last->to == cursor_) {
      last->to = to;
    } else if (to > cursor_ || (fresh_ && state_ == SpanState::Offline)) {
      const bool offline = state_ == SpanState::Offline;
      segments_.push_back({state_, cursor_, to, offline ? stamp_ : std::string(), !fresh_});
      fresh_ = false;
    }
    cursor_ = at;
  }

  std::vector<Segment> segments_;
  bool watching_ = false;
  SpanState state_ = SpanState::Online;
  bool fresh_ = false;  // the state has just begun: its first piece is a new segment
  WallSeconds cursor_ = 0;
  std::string stamp_;
};

}  // namespace

std::optional<HistoryEntry> readHistoryEntry(std::string_view line, const platform::StampLayout& layout) {
  const std::size_t date = line.find(kDate);
  const std::size_t time = date == std::string_view::npos ? date : line.find(kTime, date + kDate.size());
  if (time == std::string_view::npos) return std::nullopt;
  HistoryEntry entry;
  entry.kind = kindOf(line.substr(0, date));
  std::string_view timeText = line.substr(time + kTime.size());
  if (entry.kind == EntryKind::BackOnline) {
    const std::size_t tail = timeText.find(kOfflineFor);
    if (tail != std::string_view::npos) {
      entry.offlineFor = readDuration(timeText.substr(tail + kOfflineFor.size()));
      timeText = timeText.substr(0, tail);
    }
  }
  const std::string_view dateText = line.substr(date + kDate.size(), time - date - kDate.size());
  const std::optional<WallSeconds> at = readStamp(layout, dateText, timeText);
  if (!at) return std::nullopt;
  entry.at = *at;
  if (entry.kind == EntryKind::WentOffline) entry.stamp = std::string(dateText) + ' ' + std::string(timeText);
  return entry;
}

std::vector<Segment> historySegments(const std::vector<HistoryEntry>& entries, WallSeconds now) {
  SegmentBuilder builder;
  for (const HistoryEntry& entry : entries) builder.add(entry);
  return builder.finish(now);
}

std::optional<int> StripFigures::onlinePermille() const {
  if (watched <= 0) return std::nullopt;
  return static_cast<int>(((watched - offline) * 1000 + watched / 2) / watched);
}

HistoryStrip cutStrip(const std::vector<Segment>& segments, WallSeconds from, WallSeconds to) {
  HistoryStrip strip{from, to, {}, {}};
  std::int64_t outage = 0;  // the length inside the strip of the outage being added up
  bool counted = false;     // that outage has been counted
  for (const Segment& segment : segments) {
    const bool inside = segment.from == segment.to ? segment.from >= from && segment.from <= to
                                                   : segment.from < to && segment.to > from;
    if (segment.state == SpanState::Offline && !segment.continues) {
      outage = 0;
      counted = false;
    }
    if (!inside) continue;
    Segment cut = segment;
    cut.from = std::max(segment.from, from);
    cut.to = std::min(segment.to, to);
    const std::int64_t length = cut.to - cut.from;
    strip.figures.watched += length;
    if (cut.state == SpanState::Offline) {
      strip.figures.offline += length;
      outage += length;
      if (!counted) ++strip.figures.outages;
      counted = true;
      strip.figures.longest = std::max(strip.figures.longest, outage);
    }
    strip.segments.push_back(std::move(cut));
  }
  return strip;
}

}  // namespace lumeno::log
