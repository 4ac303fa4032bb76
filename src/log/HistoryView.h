// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace lumeno::log {

// What the connection history's presenter asks of its window.
class HistoryView {
 public:
  virtual ~HistoryView() = default;
  // The strips or their figures changed: draw them afresh from the presenter.
  virtual void showHistory() = 0;
  // One line over the strips, with a button that opens the options; empty: neither shows.
  virtual void showLoggingNote(const std::string& note) = 0;
  // Starts or stops the timer that follows the log (HistoryPresenter::kFollowInterval).
  virtual void setFollowing(bool on) = 0;
};

}  // namespace lumeno::log
