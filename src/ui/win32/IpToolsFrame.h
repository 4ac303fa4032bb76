// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "common/AppContext.h"
#include "iptools/IpToolsPresenter.h"
#include "iptools/IpToolsView.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ToolTips.h"
#include "ui/win32/Win32ToolRunner.h"

namespace lumeno::win32ui {

// The "IP Tools" window, frmMain: the output box, the four tool rows with their option buttons,
// the status row, and the "File" and "Options" menus (the latter also the output box's pop-up
// menu). Its presenter decides everything; its tools run through a Win32ToolRunner.
//
// Constructing the window loads it, hidden: the result files get their placeholder texts and the
// window is in Ping mode with " Ready...". Closing it ends a running tool and unloads it.
class IpToolsFrame : public iptools::IpToolsView {
 public:
  // What a test puts in place of the desktop's own: the pop-up menu and the beep.
  struct Seams {
    std::function<void(HMENU menu, POINT at)> popUpMenu;  // TrackPopupMenu when empty
    std::function<void()> beep;                           // MessageBeep when empty
  };

  explicit IpToolsFrame(
      const AppContext& context,
      iptools::IpToolsPresenter::MonotonicClock clock = &iptools::IpToolsPresenter::steadyMilliseconds,
      Seams seams = {});
  IpToolsFrame(const IpToolsFrame&) = delete;
  IpToolsFrame& operator=(const IpToolsFrame&) = delete;
  ~IpToolsFrame() override;

  [[nodiscard]] bool alive() const { return window_ != nullptr; }
  // Shows the window, centred on the screen the first time, with the focus in the host box.
  void show();
  [[nodiscard]] HWND handle() const { return window_; }
  [[nodiscard]] const ControlSet& controls() const { return controls_; }
  [[nodiscard]] const ToolTips& toolTips() const { return tips_; }
  [[nodiscard]] HMENU menuBar() const { return menuBar_; }
  // A menu's or menu item's id (0 when there is none) and a menu's handle (null for an item).
  [[nodiscard]] int menuId(std::string_view name) const;
  [[nodiscard]] HMENU menu(std::string_view name) const;
  [[nodiscard]] iptools::IpToolsPresenter& presenter() { return *presenter_; }
  [[nodiscard]] Win32ToolRunner& runner() { return runner_; }
  [[nodiscard]] bool busyPointerShown() const { return busy_; }

  // IpToolsView
  [[nodiscard]] std::string text(iptools::Control box) const override;
  void setText(iptools::Control control, const std::string& text) override;
  [[nodiscard]] bool isTicked(iptools::Control tick) const override;
  void setTicked(iptools::Control tick, bool ticked) override;
  void setEnabled(iptools::Control control, bool enabled) override;
  void selectMode(iptools::Mode mode) override;
  void appendOutput(const std::string& text) override;
  void insertOutputAtStart(const std::string& text) override;
  void removeOutputLines(std::size_t first, std::size_t count) override;
  void setOutputReadOnly(bool readOnly) override;
  void moveCaretToEnd() override;
  void moveCaretToStart() override;
  void selectAll(iptools::Control box) override;
  void popUpOptionsMenu() override;
  void showBusyPointer(bool busy) override;
  void beep() override;
  [[nodiscard]] int doubleClickInterval() const override;
  void closeWindow() override;

 private:
  struct MenuEntry {
    std::string name;
    int id;
    HMENU menu;  // its items, when it is a menu
  };

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK boxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void buildControls();
  void buildMenus();
  void onCommand(int id, int notification);
  void applyLayoutRule();
  void close();
  [[nodiscard]] HWND control(iptools::Control control) const;
  [[nodiscard]] HWND outputBox() const { return control(iptools::Control::OutputBox); }
  void replaceOutput(std::size_t from, std::size_t to, const std::string& text);

  HWND window_ = nullptr;
  Seams seams_;
  ControlSet controls_;
  ToolTips tips_;
  HFONT verdana_ = nullptr;
  HMENU menuBar_ = nullptr;
  std::vector<MenuEntry> menus_;
  std::array<HWND, static_cast<std::size_t>(iptools::Control::ClearAllItem) + 1> byControl_{};
  std::array<HWND, 4> modeButtons_{};
  bool busy_ = false;
  bool centred_ = false;
  bool outputEndsInCr_ = false;  // a CR LF of the tool may come in two pieces

  AppContext context_;
  Win32ToolRunner runner_;
  std::unique_ptr<iptools::IpToolsPresenter> presenter_;
};

}  // namespace lumeno::win32ui
