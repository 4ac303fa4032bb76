// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "log/LogMonitorView.h"
#include "log/LogSource.h"

namespace lumeno::log {

// A log file in memory. Every change gets a new modification time, as on disk; `inode` changes
// when the file is replaced by another.
class FakeLogSource : public LogSource {
 public:
  [[nodiscard]] platform::FileIdentity look() const override {
    return exists ? platform::FileIdentity{true, 1, inode, bytes.size(), modified, regular}
                  : platform::FileIdentity{};
  }
  std::optional<std::size_t> read(const platform::FileIdentity& file, std::uint64_t offset,
                                  std::span<char> buffer) const override {
    if (!exists || !regular || unreadable || file.inode != inode) return std::nullopt;
    if (offset >= bytes.size()) return 0;
    const std::size_t n = std::min(buffer.size(), static_cast<std::size_t>(bytes.size() - offset));
    std::memcpy(buffer.data(), bytes.data() + offset, n);
    bytesRead += n;
    return n;
  }
  bool clear() override {
    if (!regular) return false;
    write({});
    return true;
  }
  [[nodiscard]] std::string name() const override { return "/programs/lumeno/log.txt"; }

  void append(std::string_view more) {
    exists = true;
    bytes += more;
    ++modified;
  }
  void write(std::string_view content) {
    exists = true;
    bytes = content;
    ++modified;
  }

  std::string bytes;
  bool exists = false;
  bool regular = true;
  bool unreadable = false;
  std::uint64_t inode = 10;
  std::int64_t modified = 0;
  mutable std::uint64_t bytesRead = 0;
};

// Remembers what the presenter asked the window to show.
struct RecordingView : LogMonitorView {
  void showLineCount(std::size_t n) override { count = n; }
  void showMoreLines(std::size_t n) override { count = n; }
  void scrollToBottom() override { ++bottomShown; }
  void scrollToLine(std::size_t line) override { shownLine = line; }
  void showNote(const std::string& text) override { note = text; }
  void showSearchState(const std::string& text) override { searchState = text; }
  void showStatus(const std::string& text) override { status = text; }
  void setReloading(bool on) override { reloading = on; }
  void setPauseResume(bool pause, bool resume) override {
    pauseEnabled = pause;
    resumeEnabled = resume;
  }
  void requestWork() override { ++workRequests; }
  void putOnClipboard(const std::string& text) override { clipboard = text; }

  std::size_t count = 0;
  int bottomShown = 0;
  std::optional<std::size_t> shownLine;
  std::string note;
  std::string searchState;
  std::string status;
  bool reloading = false;
  bool pauseEnabled = false;
  bool resumeEnabled = false;
  int workRequests = 0;
  std::string clipboard;
};

}  // namespace lumeno::log
