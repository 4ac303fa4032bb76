// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "common/AppContext.h"
#include "settings/OptionsPresenter.h"
#include "settings/OptionsView.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ToolTips.h"

namespace lumeno::win32ui {

// The options dialog, frmoptions: four tabs of check boxes, "Clear log", "View log" and "Done".
// Built hidden; loading ticks the boxes as the settings file says.
class OptionsWindow : public settings::OptionsView {
 public:
  // `live` receives the connection options as the dialog loads and changes them (the main
  // window keeps them between loads).
  OptionsWindow(const AppContext& context, std::function<void()> showLogMonitor,
                settings::ConnectionOptions* live = nullptr);
  OptionsWindow(const OptionsWindow&) = delete;
  OptionsWindow& operator=(const OptionsWindow&) = delete;
  ~OptionsWindow() override;

  [[nodiscard]] bool alive() const { return window_ != nullptr; }
  void show();
  [[nodiscard]] HWND handle() const { return window_; }
  [[nodiscard]] HWND tabs() const { return tabs_; }
  [[nodiscard]] const ControlSet& controls() const { return controls_; }
  [[nodiscard]] const ToolTips& toolTips() const { return tips_; }
  [[nodiscard]] settings::OptionsPresenter& presenter() { return *presenter_; }
  // Brings the tab to the front, as a click on it does.
  void selectTab(int index);
  [[nodiscard]] int currentTab() const;

  // OptionsView
  void setTicked(settings::Option option, bool ticked) override;
  void showInterfaces(const std::vector<std::string>& entries, std::size_t selected) override;
  void openLogMonitor() override;
  void closeDialog() override;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void buildControls();
  void showPage(int index);

  std::function<void()> showLogMonitor_;
  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  ControlSet controls_;
  ToolTips tips_;
  std::unique_ptr<settings::OptionsPresenter> presenter_;
};

}  // namespace lumeno::win32ui
