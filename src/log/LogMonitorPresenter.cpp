// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogMonitorPresenter.h"

#include <algorithm>
#include <utility>

#include "log/LineText.h"
#include "log/LogMonitorReload.h"

namespace lumeno::log {
namespace {

// How many of the last bytes indexed a growth reads again, to be sure the file still holds
// them (a clear followed by enough new entries also "grows").
constexpr std::size_t kTailBytes = 256;
// Bytes read around the lines being drawn.
constexpr std::size_t kCacheBytes = std::size_t{64} * 1024;

}  // namespace

LogMonitorPresenter::LogMonitorPresenter(LogSource& source, LogMonitorView& view, MessageBoxes& boxes,
                                         std::size_t mostLines)
    : source_(source), view_(view), boxes_(boxes), mostLines_(mostLines) {}

void LogMonitorPresenter::load() {
  running_ = true;
  view_.setPauseResume(true, false);
  view_.setReloading(true);
  showNothing({});
  reload();
}

void LogMonitorPresenter::unload() {
  running_ = false;
  view_.setReloading(false);
  job_.reset();
  search_.cancel();
  lines_.release();
  linesOf_ = {};
  complete_ = false;
  tail_.clear();
  std::string{}.swap(cache_);
  anchor_.reset();
  current_.reset();
}

void LogMonitorPresenter::tick() {
  // Paused, or a tick already on its way when the user paused: the view stays as it is.
  if (!running_) return;
  reload();
}

void LogMonitorPresenter::reload() {
  const platform::FileIdentity now = source_.look();
  if (!now.exists) {
    showNothing({});
    return;
  }
  if (!now.regular) {
    showNothing(kNotRegularNote);
    return;
  }
  if (job_) {
    // Still indexing: carry on if the file only grew meanwhile; the end of the job looks again.
    platform::FileIdentity indexing = job_->file;
    indexing.size = job_->target;
    const LogChange change = classifyLogChange(indexing, now);
    if (change == LogChange::Unchanged || change == LogChange::Grew) return;
    job_.reset();
  }
  switch (classifyLogChange(complete_ ? linesOf_ : platform::FileIdentity{}, now)) {
    case LogChange::Unchanged: break;
    case LogChange::Grew: startGrowth(now); break;
    case LogChange::Replaced: startFresh(now); break;
    case LogChange::Missing: showNothing({}); break;
  }
}

void LogMonitorPresenter::startFresh(const platform::FileIdentity& file) {
  if (search_.active()) {
    // Line numbers are about to change under the search; a search asked for meanwhile waits.
    search_.cancel();
    view_.showSearchState({});
  }
  longestLine_ = 0;
  tail_.clear();
  job_ = Job{.fresh = true,
             .index = LineIndex(0, mostLines_),
             .file = file,
             .target = file.size,
             .expectedTail = {}};
  ++reads_.fromStart;
  if (file.size > kSliceBytes) {
    showFirstScreen(file);
    askForWork();
    return;
  }
  // Small enough to index at once.
  if (!indexSlice()) return;
  finishJob();
}

void LogMonitorPresenter::startGrowth(const platform::FileIdentity& file) {
  job_ = Job{.fresh = false, .index = LineIndex(0), .file = file, .target = file.size, .expectedTail = tail_};
  if (file.size - lines_.end() > kSliceBytes) {
    askForWork();
    return;
  }
  if (!indexSlice()) return;
  finishJob();
}

void LogMonitorPresenter::doWork() {
  workRequested_ = false;
  if (job_) {
    if (!indexSlice()) return;
    if (job_->fresh ? job_->index.end() == job_->target : lines_.end() == job_->target) {
      finishJob();
    } else {
      askForWork();
    }
    return;
  }
  if (search_.active()) searchSlice();
}

bool LogMonitorPresenter::indexSlice() {
  Job& job = *job_;
  LineIndex& index = job.fresh ? job.index : lines_;
  const std::uint64_t from = index.end() - job.expectedTail.size();
  const std::uint64_t to = std::min(job.target, index.end() + kSliceBytes);
  const std::optional<std::string> read = readRange(from, to);
  reads_.bytes += read ? read->size() : 0;
  const bool continues = read && read->starts_with(job.expectedTail);
  if (!continues) {
    lostTrack(job.fresh, read.has_value(), job.file, job.target);
    return false;
  }
  const std::string_view fresh = std::string_view(*read).substr(job.expectedTail.size());
  const std::uint64_t before = index.end();
  const std::uint64_t droppedBefore = index.dropped();
  index.add(fresh);
  if (!job.fresh && index.dropped() != droppedBefore) linesDropped(index.dropped() - droppedBefore);
  noteLongest(before, index);
  job.expectedTail.clear();
  rememberTail(fresh);
  return true;
}

void LogMonitorPresenter::lostTrack(bool fresh, bool readWhole, platform::FileIdentity file,
                                    std::uint64_t target) {
  job_.reset();
  if (readWhole && !fresh) {
    // Emptied and refilled since the last look: what is shown is no longer the file's start.
    startFresh(file);
    return;
  }
  linesOf_ = {};
  complete_ = false;
  const platform::FileIdentity now = source_.look();
  const bool changed = now.device != file.device || now.inode != file.inode || now.size < target;
  if (now.exists && now.regular && changed) {
    reload();  // replaced or shrunk while it was read: index it as it is now
  } else if (now.exists) {
    showNothing(now.regular ? kUnreadableNote : kNotRegularNote);
  } else {
    showNothing({});
  }
}

void LogMonitorPresenter::finishJob() {
  Job job = std::move(*job_);
  job_.reset();
  if (job.fresh) {
    lines_ = std::move(job.index);
    cache_.clear();
    anchor_.reset();
    current_.reset();
  }
  linesOf_ = job.file;
  linesOf_.size = lines_.end();
  complete_ = true;
  view_.showNote({});
  if (job.fresh || renumbered_) {
    view_.showLineCount(lines_.lineCount());
  } else {
    view_.showMoreLines(lines_.lineCount());
  }
  renumbered_ = false;
  showWhetherOlderLinesLeftOut();
  view_.scrollToBottom();
  // The file may have grown while it was being indexed.
  reload();
  if (job_) return;
  if (pendingFind_) {
    const auto [text, forward] = *std::exchange(pendingFind_, std::nullopt);
    find(text, forward);
  } else if (search_.active()) {
    askForWork();
  }
}

void LogMonitorPresenter::showFirstScreen(const platform::FileIdentity& file) {
  // The last lines of a large file, shown while the whole of it is indexed.
  const std::uint64_t from = file.size - kFirstScreenBytes;
  std::string bytes(kFirstScreenBytes, '\0');
  const std::optional<std::size_t> got = source_.read(file, from, bytes);
  if (!got) return;
  bytes.resize(*got);
  const std::size_t lineBreak = bytes.find_first_of("\r\n");
  if (lineBreak == std::string::npos) return;
  std::size_t lineStart = lineBreak + 1;
  if (bytes[lineBreak] == '\r' && lineStart < bytes.size() && bytes[lineStart] == '\n') ++lineStart;
  reads_.bytes += bytes.size();
  lines_ = LineIndex(from + lineStart, mostLines_);
  lines_.add(std::string_view(bytes).substr(lineStart));
  noteLongest(lines_.base(), lines_);
  linesOf_ = file;
  complete_ = false;
  cache_.clear();
  anchor_.reset();
  current_.reset();
  view_.showNote({});
  view_.showLineCount(lines_.lineCount());
  view_.showStatus({});
  view_.scrollToBottom();
}

void LogMonitorPresenter::showNothing(std::string_view note) {
  job_.reset();
  if (search_.active() || pendingFind_) view_.showSearchState({});
  search_.cancel();
  pendingFind_.reset();
  lines_.release();
  lines_ = LineIndex(0, mostLines_);
  linesOf_ = {};
  complete_ = false;
  tail_.clear();
  cache_.clear();
  anchor_.reset();
  current_.reset();
  longestLine_ = 0;
  view_.showNote(std::string(note));
  view_.showLineCount(0);
  view_.showStatus({});
}

std::optional<std::string> LogMonitorPresenter::readRange(std::uint64_t from, std::uint64_t to) {
  const platform::FileIdentity& file = job_ ? job_->file : linesOf_;
  std::string bytes(static_cast<std::size_t>(to - from), '\0');
  const std::optional<std::size_t> got = source_.read(file, from, bytes);
  if (!got || *got != bytes.size()) return std::nullopt;
  return bytes;
}

void LogMonitorPresenter::rememberTail(std::string_view bytes) {
  if (bytes.size() >= kTailBytes) {
    tail_.assign(bytes.substr(bytes.size() - kTailBytes));
    return;
  }
  tail_.append(bytes);
  if (tail_.size() > kTailBytes) tail_.erase(0, tail_.size() - kTailBytes);
}

void LogMonitorPresenter::noteLongest(std::uint64_t from, const LineIndex& index) {
  if (index.lineCount() == 0) return;
  for (std::size_t line = index.lineAt(from); line < index.lineCount(); ++line) {
    longestLine_ = std::max(longestLine_, index.lineEnd(line) - index.lineStart(line));
  }
}

void LogMonitorPresenter::linesDropped(std::uint64_t count) {
  renumbered_ = true;
  const auto moved = [count](std::optional<std::size_t>& line) {
    if (line) *line = *line >= count ? *line - static_cast<std::size_t>(count) : 0;
  };
  moved(anchor_);
  moved(current_);
  // The search counts lines: it starts again on the lines as they are numbered now.
  if (search_.active()) search_.start(lastFind_.first, lastFind_.second, lines_.lineCount(), current_);
}

void LogMonitorPresenter::showWhetherOlderLinesLeftOut() {
  view_.showStatus(lines_.dropped() > 0 ? std::string(kOlderLinesNote) : std::string());
}

void LogMonitorPresenter::askForWork() {
  if (workRequested_) return;
  workRequested_ = true;
  view_.requestWork();
}

std::string LogMonitorPresenter::lineText(std::size_t line) {
  if (line >= lines_.lineCount()) return {};
  const std::uint64_t start = lines_.lineStart(line);
  const std::uint64_t end = std::min(lines_.lineEnd(line), start + kLongestShownLine);
  if (start < cacheStart_ || end > cacheStart_ + cache_.size()) {
    // Read around the line, more of what lies above it: views mostly scroll up from the end.
    const std::uint64_t lead = std::min<std::uint64_t>(start - lines_.base(), kCacheBytes * 3 / 4);
    const std::uint64_t from = start - lead;
    const std::uint64_t to = std::min(lines_.end(), std::max(end, from + kCacheBytes));
    cache_.assign(static_cast<std::size_t>(to - from), '\0');
    const std::optional<std::size_t> got = source_.read(linesOf_, from, cache_);
    cache_.resize(got.value_or(0));
    cacheStart_ = from;
    if (end > cacheStart_ + cache_.size()) return {};  // shrunk or gone: the next tick shows it
  }
  std::string text;
  return displayText(withoutLineBreak(std::string_view(cache_).substr(
      static_cast<std::size_t>(start - cacheStart_), static_cast<std::size_t>(end - start))));
}

void LogMonitorPresenter::selectLine(std::size_t line, bool extend) {
  if (lines_.lineCount() == 0) return;
  line = std::min(line, lines_.lineCount() - 1);
  if (!extend || !anchor_) anchor_ = line;
  current_ = line;
}

void LogMonitorPresenter::selectAll() {
  if (lines_.lineCount() == 0) return;
  anchor_ = 0;
  current_ = lines_.lineCount() - 1;
}

bool LogMonitorPresenter::isSelected(std::size_t line) const {
  if (!anchor_ || !current_) return false;
  return line >= std::min(*anchor_, *current_) && line <= std::max(*anchor_, *current_);
}

void LogMonitorPresenter::copySelection() {
  if (!anchor_ || !current_ || lines_.lineCount() == 0) return;
  const std::size_t first = std::min(*anchor_, *current_);
  const std::size_t last = std::min(std::max(*anchor_, *current_), lines_.lineCount() - 1);
  const std::uint64_t from = lines_.lineStart(first);
  std::string bytes(static_cast<std::size_t>(lines_.lineEnd(last) - from), '\0');
  const std::optional<std::size_t> got = source_.read(linesOf_, from, bytes);
  if (!got || *got != bytes.size()) return;  // the file changed under the view: nothing to copy
  std::string text;
  for (std::size_t line = first; line <= last; ++line) {
    if (line != first) text += '\n';
    const std::string_view raw = std::string_view(bytes).substr(
        static_cast<std::size_t>(lines_.lineStart(line) - from),
        static_cast<std::size_t>(lines_.lineEnd(line) - lines_.lineStart(line)));
    text += displayText(withoutLineBreak(raw));
  }
  view_.putOnClipboard(text);
}

void LogMonitorPresenter::find(std::string_view text, bool forward) {
  if (searchKey(text).empty()) {
    search_.cancel();
    pendingFind_.reset();
    view_.showSearchState({});
    return;
  }
  view_.showSearchState("Searching...");
  lastFind_ = {std::string(text), forward};
  if (job_ && job_->fresh) {
    // Only the end of the log is indexed yet: search once all of it is.
    search_.cancel();
    pendingFind_ = {std::string(text), forward};
    return;
  }
  search_.start(text, forward, lines_.lineCount(), current_);
  if (!search_.active()) {
    view_.showSearchState("Not found");
    return;
  }
  if (job_) {
    askForWork();  // after the growth is indexed
    return;
  }
  searchSlice();
}

void LogMonitorPresenter::searchSlice() {
  const LogSearch::Span span = search_.nextSpan(lines_, kSliceBytes);
  const std::optional<std::string> bytes =
      readRange(lines_.lineStart(span.first), lines_.lineEnd(span.end - 1));
  if (!bytes) {
    search_.cancel();
    view_.showSearchState("Not found");
    return;
  }
  const std::optional<std::size_t> hit = search_.scan(span, *bytes, lines_);
  if (hit) {
    anchor_ = *hit;
    current_ = *hit;
    view_.showSearchState({});
    view_.scrollToLine(*hit);
  } else if (search_.active()) {
    askForWork();
  } else {
    view_.showSearchState("Not found");
  }
}

void LogMonitorPresenter::clearLog() {
  const BoxRequest ask{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo};
  if (boxes_.show(ask) != BoxAnswer::Yes) return;
  if (!source_.clear()) {
    boxes_.show({"The log file could not be cleared: " + source_.name(), "Lumeno", BoxIcon::Exclamation,
                 BoxButtons::Ok});
  }
  // Shows the file as it is now, paused or not.
  reload();
}

void LogMonitorPresenter::pause() {
  running_ = false;
  view_.setReloading(false);
  view_.setPauseResume(false, true);
}

void LogMonitorPresenter::resume() {
  running_ = true;
  view_.setReloading(true);
  view_.setPauseResume(true, false);
}

}  // namespace lumeno::log
