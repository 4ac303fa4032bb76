// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace lumeno::log {
class LogMonitorPresenter;
}

namespace lumeno::win32ui {

// The log's lines, drawn straight from the presenter: only the rows in sight are asked for, so
// neither a frame nor a reload costs more on a long log. The scroll bar counts lines. Lines are
// selected with the mouse (Shift extends, dragging extends) and the arrow, page and Home/End
// keys; Ctrl+A selects all, Ctrl+C copies. Ctrl+F and F3 go to the window (the search).
class LogLinesPane {
 public:
  // `windowKey` gets the keys that belong to the window rather than to the lines; true when it
  // used the key.
  LogLinesPane(log::LogMonitorPresenter& presenter, HWND pane, HFONT font,
               std::function<bool(WPARAM key)> windowKey);
  LogLinesPane(const LogLinesPane&) = delete;
  LogLinesPane& operator=(const LogLinesPane&) = delete;
  ~LogLinesPane();

  // The window class of the pane's window (registered on first use); the pane attaches itself to
  // a window of it made beforehand.
  static const wchar_t* windowClass();

  void setLineCount(std::size_t count);
  // Lines added at the end; the rows drawn already are not drawn again.
  void addLines(std::size_t count);
  void scrollToBottom();
  void scrollToLine(std::size_t line);
  // A note in place of the lines; empty: the lines.
  void setNote(const std::string& note);
  // The client area changed size.
  void resized();

  [[nodiscard]] HWND handle() const { return pane_; }
  [[nodiscard]] std::size_t lineCount() const { return count_; }
  [[nodiscard]] std::size_t firstVisibleLine() const { return top_; }
  [[nodiscard]] const std::string& note() const { return note_; }
  // The lines in sight, as they are drawn.
  [[nodiscard]] std::vector<std::string> visibleLines() const;
  [[nodiscard]] int pageLines() const;  // whole rows that fit

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  [[nodiscard]] std::size_t lastTop() const;
  [[nodiscard]] std::size_t lineAtY(int y) const;
  void scrollTo(std::size_t top);
  void scrollSideways(int left);
  void updateScrollBars();
  void selectAndShow(std::size_t line, bool extend);
  void paint(HDC dc, const RECT& area);
  bool onKey(WPARAM key);
  void onScroll(int bar, int request);
  void invalidateRow(std::size_t line);

  log::LogMonitorPresenter& presenter_;
  HWND pane_;
  HFONT font_;
  std::function<bool(WPARAM)> windowKey_;
  int lineHeight_ = 16;
  int charWidth_ = 7;
  std::size_t count_ = 0;
  std::size_t top_ = 0;  // the first line in sight
  int page_ = 1;         // whole rows that fitted when the scroll bars were last set
  int left_ = 0;         // pixels scrolled to the side
  int widestDrawn_ = 0;
  std::string note_;
  bool dragging_ = false;
  int wheelRest_ = 0;  // wheel turns too small for a line so far
};

}  // namespace lumeno::win32ui
