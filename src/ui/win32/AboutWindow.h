// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <windows.h>

#include "about/AboutPresenter.h"
#include "about/AboutView.h"
#include "common/AppContext.h"
#include "ui/win32/Controls.h"
#include "ui/win32/ToolTips.h"

namespace lumeno::win32ui {

// The about box, frmAbout: the artwork, the title and version, the web-site link, "Sys Info"
// and "Done" (also Enter and Esc). Centred on the screen when it is loaded.
class AboutWindow final : public about::AboutView {
 public:
  explicit AboutWindow(const AppContext& context);
  AboutWindow(const AboutWindow&) = delete;
  AboutWindow& operator=(const AboutWindow&) = delete;
  ~AboutWindow() override;

  [[nodiscard]] bool alive() const { return window_ != nullptr; }
  void show();
  [[nodiscard]] HWND handle() const { return window_; }
  [[nodiscard]] const ControlSet& controls() const { return controls_; }
  [[nodiscard]] const ToolTips& toolTips() const { return tips_; }

  // AboutView
  void setTitle(const std::string& text) override;
  void setVersionText(const std::string& text) override;
  void unload() override;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void buildControls();

  HWND window_ = nullptr;
  ControlSet controls_;
  ToolTips tips_;
  HFONT linkFont_ = nullptr;
  HBRUSH menuBrush_ = nullptr;
  std::unique_ptr<about::AboutPresenter> presenter_;
};

}  // namespace lumeno::win32ui
