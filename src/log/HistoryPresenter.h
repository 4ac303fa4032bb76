// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/ConnectionHistory.h"
#include "log/HistoryView.h"
#include "log/LogSource.h"
#include "platform/Clock.h"
#include "platform/StampLayout.h"

namespace lumeno::log {

// The "Connection history" window's rules: the last 24 hours and the last 7 days of the
// connection as strips, with their figures, from the activity log.
//
// Only the end of the log is read: from the last line backwards until an entry older than a week
// that tells the state at the week's start. While the window is open a timer looks at the file;
// it reads nothing when the file is unchanged and only the new lines when it grew. A closed
// window keeps nothing.
class HistoryPresenter {
 public:
  static constexpr std::chrono::milliseconds kFollowInterval{3000};
  static constexpr std::int64_t kDay = 86400;
  static constexpr std::int64_t kWeek = 7 * kDay;
  static constexpr std::string_view kLoggingOffNote =
      "The history needs \"Log connection changes\" and \"Use log file\" on in the options.";

  // `historyLogged` says whether the program writes what the history needs right now.
  HistoryPresenter(LogSource& source, const platform::Clock& clock, platform::StampLayout layout,
                   std::function<bool()> historyLogged, HistoryView& view);

  void load();
  void unload();
  // One tick of the timer.
  void tick();

  struct StripText {
    std::string title;      // "Last 24 hours"
    std::string startText;  // under its left end: "24 hours ago"
    std::vector<std::string> figures;
  };
  // The day strip, then the week strip.
  [[nodiscard]] const std::vector<HistoryStrip>& strips() const { return strips_; }
  [[nodiscard]] const std::vector<StripText>& stripTexts() const { return texts_; }
  // The tip over a point of a strip (0 at its left end, 1 at its right); an outage within
  // `slack` of it tells when it began and how long it lasted. Empty elsewhere.
  [[nodiscard]] std::string tipAt(std::size_t strip, double fraction, double slack) const;
  // A word about lines that could not be read; empty when there were none.
  [[nodiscard]] std::string status() const;
  [[nodiscard]] std::uint64_t bytesRead() const { return bytesRead_; }

 private:
  void reload();
  void readFromEnd(const platform::FileIdentity& file);
  bool readGrowth(const platform::FileIdentity& file);
  bool readBytes(const platform::FileIdentity& file, std::uint64_t from, std::uint64_t to, std::string& into);
  // Adds a line's entry, or counts it as unreadable; when and whether it tells the state.
  struct Taken {
    WallSeconds at = 0;
    bool tellsState = false;
  };
  std::optional<Taken> take(std::string_view line, std::vector<HistoryEntry>& into, bool newestFirst);
  void forget();
  void figure();
  [[nodiscard]] WallSeconds now() const;

  LogSource& source_;
  const platform::Clock& clock_;
  platform::StampLayout layout_;
  std::function<bool()> historyLogged_;
  HistoryView& view_;

  platform::FileIdentity seen_;        // the file as it was when last read
  std::uint64_t readTo_ = 0;           // where its last whole line ends
  std::string tail_;                   // the bytes before readTo_, to recognise growth
  std::vector<HistoryEntry> entries_;  // from the last state-telling one older than a week, in log order
  std::uint64_t unreadable_ = 0;
  std::uint64_t bytesRead_ = 0;
  std::vector<HistoryStrip> strips_;
  std::vector<StripText> texts_;
};

}  // namespace lumeno::log
