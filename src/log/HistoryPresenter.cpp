// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/HistoryPresenter.h"

#include <algorithm>
#include <utility>

#include "log/LineIndex.h"
#include "log/LineText.h"
#include "log/LogMonitorReload.h"

namespace lumeno::log {
namespace {

// Read from the end in pieces of this size.
constexpr std::size_t kPieceBytes = std::size_t{256} * 1024;
// Past the first line older than a week, how far to look for an entry that tells the state.
constexpr std::uint64_t kLookBackBytes = std::uint64_t{1024} * 1024;
constexpr std::size_t kTailBytes = 64;

bool tellsState(const HistoryEntry& entry) {
  return entry.kind != EntryKind::Other;
}

// Entries that tell no state matter only as the last entry of a span: a run of them keeps its
// last one. `newestFirst`: the entries are being gathered from the end of the log.
void keep(std::vector<HistoryEntry>& entries, HistoryEntry entry, bool newestFirst) {
  if (entry.kind != EntryKind::Other || entries.empty() || entries.back().kind != EntryKind::Other) {
    entries.push_back(std::move(entry));
  } else if (!newestFirst) {
    entries.back() = std::move(entry);
  }
}

std::string percentText(int permille) {
  return std::to_string(permille / 10) + '.' + std::to_string(permille % 10) + " %";
}

}  // namespace

HistoryPresenter::HistoryPresenter(LogSource& source, const platform::Clock& clock,
                                   platform::StampLayout layout, std::function<bool()> historyLogged,
                                   HistoryView& view)
    : source_(source),
      clock_(clock),
      layout_(std::move(layout)),
      historyLogged_(std::move(historyLogged)),
      view_(view) {}

void HistoryPresenter::load() {
  forget();
  view_.setFollowing(true);
  tick();
}

void HistoryPresenter::unload() {
  view_.setFollowing(false);
  forget();
  std::vector<HistoryStrip>{}.swap(strips_);
  std::vector<StripText>{}.swap(texts_);
}

void HistoryPresenter::tick() {
  view_.showLoggingNote(historyLogged_() ? std::string() : std::string(kLoggingOffNote));
  reload();
  figure();
  view_.showHistory();
}

void HistoryPresenter::forget() {
  seen_ = {};
  readTo_ = 0;
  tail_.clear();
  std::vector<HistoryEntry>{}.swap(entries_);
  unreadable_ = 0;
}

WallSeconds HistoryPresenter::now() const {
  const platform::DateTimeText text = clock_.now();
  if (const std::optional<WallSeconds> at = readStamp(layout_, text.shortDate, text.longTime)) return *at;
  return entries_.empty() ? 0 : entries_.back().at;
}

void HistoryPresenter::reload() {
  const platform::FileIdentity file = source_.look();
  if (!file.exists || !file.regular) {
    forget();
    return;
  }
  switch (classifyLogChange(seen_, file)) {
    case LogChange::Unchanged: return;
    case LogChange::Grew:
      if (readGrowth(file)) return;
      [[fallthrough]];
    case LogChange::Replaced: readFromEnd(file); return;
    case LogChange::Missing: forget(); return;
  }
}

bool HistoryPresenter::readBytes(const platform::FileIdentity& file, std::uint64_t from, std::uint64_t to,
                                 std::string& into) {
  into.resize(static_cast<std::size_t>(to - from));
  const std::optional<std::size_t> got = source_.read(file, from, into);
  bytesRead_ += got.value_or(0);
  return got && *got == into.size();
}

std::optional<HistoryPresenter::Taken> HistoryPresenter::take(std::string_view line,
                                                              std::vector<HistoryEntry>& into,
                                                              bool newestFirst) {
  if (line.empty()) return std::nullopt;  // the LF of a CR LF that came in two writes
  std::optional<HistoryEntry> entry = readHistoryEntry(line, layout_);
  if (!entry) {
    ++unreadable_;
    return std::nullopt;
  }
  const Taken taken{entry->at, tellsState(*entry)};
  keep(into, std::move(*entry), newestFirst);
  return taken;
}

void HistoryPresenter::readFromEnd(const platform::FileIdentity& file) {
  forget();
  const WallSeconds weekStart = now() - kWeek;
  std::vector<HistoryEntry> newestFirst;
  std::string bytes;
  std::uint64_t to = file.size;
  std::optional<std::uint64_t> olderFrom;  // where the first line older than the week began
  bool stateKnown = false;
  bool last = true;  // the piece at the end of the file
  while (to > 0 && !stateKnown) {
    const std::uint64_t from = to > kPieceBytes ? to - kPieceBytes : 0;
    if (!readBytes(file, from, to, bytes)) {
      forget();
      return;
    }
    // A piece begins with the end of a line whose start the next piece reads.
    std::size_t skip = 0;
    if (from > 0) {
      const std::size_t lineBreak = bytes.find_first_of("\r\n");
      if (lineBreak == std::string::npos) {
        to = from;  // a line longer than a piece: not an entry
        ++unreadable_;
        continue;
      }
      skip = lineBreak + 1;
    }
    LineIndex lines(from + skip);
    lines.add(std::string_view(bytes).substr(skip));
    std::size_t count = lines.lineCount();
    if (last) {
      last = false;
      readTo_ = file.size;
      // An unfinished last line is read once it is whole.
      if (count > 0 && bytes.back() != '\n' && bytes.back() != '\r') {
        --count;
        readTo_ = lines.lineStart(count);
      }
      const std::uint64_t tailFrom = readTo_ - std::min<std::uint64_t>(readTo_ - from, kTailBytes);
      tail_ = bytes.substr(static_cast<std::size_t>(tailFrom - from),
                           static_cast<std::size_t>(readTo_ - tailFrom));
    }
    for (std::size_t line = count; line-- > 0 && !stateKnown;) {
      const auto start = static_cast<std::size_t>(lines.lineStart(line) - from);
      const auto end = static_cast<std::size_t>(lines.lineEnd(line) - from);
      const std::optional<Taken> taken =
          take(withoutLineBreak(std::string_view(bytes).substr(start, end - start)), newestFirst, true);
      if (!taken || taken->at >= weekStart) continue;
      if (!olderFrom) olderFrom = lines.lineStart(line);
      stateKnown = taken->tellsState || *olderFrom - lines.lineStart(line) > kLookBackBytes;
    }
    to = from + skip;
  }
  entries_.assign(std::make_move_iterator(newestFirst.rbegin()), std::make_move_iterator(newestFirst.rend()));
  seen_ = file;
}

bool HistoryPresenter::readGrowth(const platform::FileIdentity& file) {
  // Much more at once: reading back from the end costs less.
  if (file.size - readTo_ > kLookBackBytes) return false;
  std::string bytes;
  const std::uint64_t from = readTo_ - tail_.size();
  if (!readBytes(file, from, file.size, bytes) || !std::string_view(bytes).starts_with(tail_)) return false;
  LineIndex lines(readTo_);
  lines.add(std::string_view(bytes).substr(tail_.size()));
  std::size_t count = lines.lineCount();
  std::uint64_t wholeTo = file.size;
  if (count > 0 && bytes.back() != '\n' && bytes.back() != '\r') wholeTo = lines.lineStart(--count);
  for (std::size_t line = 0; line < count; ++line) {
    const auto start = static_cast<std::size_t>(lines.lineStart(line) - from);
    const auto end = static_cast<std::size_t>(lines.lineEnd(line) - from);
    take(withoutLineBreak(std::string_view(bytes).substr(start, end - start)), entries_, false);
  }
  const std::uint64_t tailFrom = wholeTo - std::min<std::uint64_t>(wholeTo - from, kTailBytes);
  tail_ =
      bytes.substr(static_cast<std::size_t>(tailFrom - from), static_cast<std::size_t>(wholeTo - tailFrom));
  readTo_ = wholeTo;
  seen_ = file;
  // What lies before the last state-telling entry older than a week is needed no more.
  const WallSeconds weekStart = now() - kWeek;
  const auto older = std::find_if(entries_.rbegin(), entries_.rend(), [weekStart](const HistoryEntry& entry) {
    return entry.at < weekStart && tellsState(entry);
  });
  if (older != entries_.rend()) entries_.erase(entries_.begin(), std::prev(older.base()));
  return true;
}

void HistoryPresenter::figure() {
  const WallSeconds at = now();
  const std::vector<Segment> segments = historySegments(entries_, at);
  strips_ = {cutStrip(segments, at - kDay, at), cutStrip(segments, at - kWeek, at)};
  texts_.clear();
  const std::pair<const char*, const char*> names[] = {{"Last 24 hours", "24 hours ago"},
                                                       {"Last 7 days", "7 days ago"}};
  for (std::size_t i = 0; i < strips_.size(); ++i) {
    const StripFigures& figures = strips_[i].figures;
    const std::optional<int> permille = figures.onlinePermille();
    texts_.push_back(
        {names[i].first,
         names[i].second,
         {permille ? "Online: " + percentText(*permille) + " of the watched time"
                   : std::string("Online: no watched time"),
          "Outages: " + std::to_string(figures.outages), "Longest: " + lengthText(figures.longest),
          "Offline in total: " + lengthText(figures.offline)}});
  }
}

std::string HistoryPresenter::tipAt(std::size_t strip, double fraction, double slack) const {
  if (strip >= strips_.size()) return {};
  const HistoryStrip& shown = strips_[strip];
  const double span = static_cast<double>(shown.to - shown.from);
  const double at = static_cast<double>(shown.from) + fraction * span;
  const double reach = slack * span;
  // The nearest outage within reach; a short one is narrower than a pixel.
  const Segment* best = nullptr;
  double bestDistance = reach;
  for (const Segment& segment : shown.segments) {
    if (segment.state != SpanState::Offline) continue;
    const double distance = at < static_cast<double>(segment.from) ? static_cast<double>(segment.from) - at
                            : at > static_cast<double>(segment.to) ? at - static_cast<double>(segment.to)
                                                                   : 0.0;
    if (distance <= bestDistance) {
      best = &segment;
      bestDistance = distance;
    }
  }
  if (best == nullptr) return {};
  const std::string length = lengthText(best->to - best->from);
  if (best->startStamp.empty()) return "Offline for " + length;
  return "Offline from " + best->startStamp + " for " + length;
}

std::string HistoryPresenter::status() const {
  if (unreadable_ == 0) return {};
  return unreadable_ == 1 ? "1 line of the log could not be read."
                          : std::to_string(unreadable_) + " lines of the log could not be read.";
}

}  // namespace lumeno::log
