// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace lumeno::log {

// What the log monitor's presenter asks of its window. The window draws the lines the presenter
// gives, forwards every user action to it, and decides nothing itself.
class LogMonitorView {
 public:
  virtual ~LogMonitorView() = default;

  // The log now has `count` lines; everything shown is drawn afresh from the presenter.
  virtual void showLineCount(std::size_t count) = 0;
  // Lines were added at the end: `count` lines now, and those shown already stay as they are.
  virtual void showMoreLines(std::size_t count) = 0;
  // Shows the newest lines.
  virtual void scrollToBottom() = 0;
  // Brings the line into view and draws the selection afresh.
  virtual void scrollToLine(std::size_t line) = 0;
  // A short note in place of the lines (the log cannot be shown); empty: no note.
  virtual void showNote(const std::string& note) = 0;
  // What the search box says (not found, searching); empty: nothing.
  virtual void showSearchState(const std::string& text) = 0;
  // A word in the status bar about what is not shown; empty: nothing.
  virtual void showStatus(const std::string& text) = 0;
  // Starts or stops the 3-second reload timer (Timer1); starting begins a fresh interval.
  virtual void setReloading(bool on) = 0;
  // Whether "Pause screen" and "Resume" can be chosen.
  virtual void setPauseResume(bool pauseEnabled, bool resumeEnabled) = 0;
  // Asks for one call of doWork() once the events waiting now have been handled.
  virtual void requestWork() = 0;
  virtual void putOnClipboard(const std::string& text) = 0;
};

}  // namespace lumeno::log
