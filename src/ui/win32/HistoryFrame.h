// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

#include <windows.h>

#include "common/AppContext.h"
#include "log/FileLogSource.h"
#include "log/HistoryPresenter.h"
#include "log/HistoryView.h"
#include "platform/StampLayout.h"
#include "ui/win32/Controls.h"

namespace lumeno::win32ui {

// "Connection history": the last 24 hours and the last 7 days as strips drawn with GDI from the
// presenter's segments, their figures under each, and a tip over an outage that says when it
// began and how long it lasted. Kept current while it is open.
class HistoryFrame : private log::HistoryView {
 public:
  static constexpr UINT_PTR kFollowTimer = 1;

  HistoryFrame(const AppContext& context, std::function<bool()> historyLogged,
               std::function<void()> openOptions,
               platform::StampLayout layout = platform::regionalStampLayout());
  HistoryFrame(const HistoryFrame&) = delete;
  HistoryFrame& operator=(const HistoryFrame&) = delete;
  ~HistoryFrame() override;

  [[nodiscard]] bool alive() const { return window_ != nullptr; }
  void show();
  [[nodiscard]] HWND handle() const { return window_; }
  [[nodiscard]] log::HistoryPresenter& presenter() { return presenter_; }
  // Where a strip is drawn, in client pixels.
  [[nodiscard]] RECT stripPlace(std::size_t strip) const;

 private:
  // HistoryView
  void showHistory() override;
  void showLoggingNote(const std::string& note) override;
  void setFollowing(bool on) override;

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint(HDC dc);
  void onMouseMove(int x, int y);
  void unload();
  [[nodiscard]] int top() const;  // where the strips begin, below the note when it shows

  log::FileLogSource source_;
  log::HistoryPresenter presenter_;
  std::function<void()> openOptions_;
  HWND window_ = nullptr;
  ControlSet controls_;
  HWND tips_ = nullptr;
  HFONT font_ = nullptr;
  HFONT bold_ = nullptr;
  std::string note_;
  std::string tip_;
};

}  // namespace lumeno::win32ui
