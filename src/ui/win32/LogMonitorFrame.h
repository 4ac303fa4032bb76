// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <windows.h>

#include "common/AppContext.h"
#include "common/MessageBoxes.h"
#include "log/FileLogSource.h"
#include "log/LogMonitorDesign.h"
#include "log/LogMonitorPresenter.h"
#include "log/LogMonitorView.h"
#include "ui/win32/Controls.h"
#include "ui/win32/LogLinesPane.h"

namespace lumeno::win32ui {

// The log monitor, logfrm: the whole activity log, kept current every 3 seconds, with the File
// menu ("Clear log", "Pause screen", "Resume", "Exit") and a status bar. The presenter decides
// everything; this window draws its lines and forwards the menu, the keys and the timers.
// Ctrl+F opens a search row under the lines (Enter or F3: next, Shift+Enter or Shift+F3:
// previous, Esc: close). Centred on the screen when it is loaded.
class LogMonitorFrame : private log::LogMonitorView {
 public:
  static constexpr UINT_PTR kReloadTimer = 1;  // Timer1

  explicit LogMonitorFrame(const AppContext& context);
  LogMonitorFrame(const LogMonitorFrame&) = delete;
  LogMonitorFrame& operator=(const LogMonitorFrame&) = delete;
  ~LogMonitorFrame() override;

  [[nodiscard]] bool alive() const { return window_ != nullptr; }
  void show();
  [[nodiscard]] HWND handle() const { return window_; }
  [[nodiscard]] const ControlSet& controls() const { return controls_; }
  [[nodiscard]] HMENU menuBar() const { return menuBar_; }
  // The command id of a File menu item.
  [[nodiscard]] static int menuId(std::string_view name);
  [[nodiscard]] const LogLinesPane& lines() const { return *lines_; }
  [[nodiscard]] log::LogMonitorPresenter& presenter() { return presenter_; }
  // Whether Timer1 runs.
  [[nodiscard]] bool reloading() const { return reloading_; }
  [[nodiscard]] bool searchShown() const;

 private:
  // LogMonitorView
  void showLineCount(std::size_t count) override;
  void showMoreLines(std::size_t count) override;
  void scrollToBottom() override;
  void scrollToLine(std::size_t line) override;
  void showNote(const std::string& note) override;
  void showSearchState(const std::string& text) override;
  void showStatus(const std::string& text) override;
  void setReloading(bool on) override;
  void setPauseResume(bool pauseEnabled, bool resumeEnabled) override;
  void requestWork() override;
  void putOnClipboard(const std::string& text) override;

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK findBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void buildMenu();
  void buildControls();
  void layout();
  void onCommand(int id);
  void onMenuCommand(log::design::MenuCommand command);
  void doWork();
  bool onWindowKey(WPARAM key);
  void openSearch();
  void closeSearch();
  void find(bool forward);
  void unload();

  log::FileLogSource source_;
  log::LogMonitorPresenter presenter_;
  MessageBoxes& boxes_;
  HWND window_ = nullptr;
  HMENU menuBar_ = nullptr;
  ControlSet controls_;
  HFONT font_ = nullptr;
  std::unique_ptr<LogLinesPane> lines_;
  WNDPROC findBoxDefault_ = nullptr;
  HWND lastFocus_ = nullptr;  // the control that had the typing when the window was left
  bool reloading_ = false;
};

}  // namespace lumeno::win32ui
