// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "app/MainPresenter.h"
#include "app/MainView.h"
#include "common/AppContext.h"
#include "settings/ConnectionOptions.h"
#include "ui/win32/Controls.h"
#include "ui/win32/NetIpRequest.h"
#include "ui/win32/SharedWindow.h"
#include "ui/win32/ToolTips.h"
#include "ui/win32/TrayIcon.h"

namespace lumeno::win32ui {

class OptionsWindow;
class AboutWindow;
class IpToolsFrame;
class LogMonitorFrame;
class HistoryFrame;

// One item of a menu as built: its control name, caption ("-": a separator), command id and
// what it asks of the presenter.
struct MenuItem {
  const char* name;
  const char* caption;
  int id;
  app::MenuCommand command;
};

// The main window, frmIP: the address box, the lamp and the four info labels, the menus, the
// three timers and the tray icon. What it shows and does is decided by its presenter.
class MainFrame : public app::MainView {
 public:
  struct Seams {
    std::function<void()> endProgram;                              // leaves the message loop when empty
    std::function<std::optional<app::Rgb>(app::Rgb)> chooseColor;  // the colour dialog when empty
    std::wstring netIpService{};                                   // the public echo service when empty
    TrayIcon::Notify trayNotify{};                                 // Shell_NotifyIconW when empty
  };

  MainFrame(const AppContext& context, Seams seams);
  explicit MainFrame(const AppContext& context) : MainFrame(context, Seams{}) {}
  MainFrame(const MainFrame&) = delete;
  MainFrame& operator=(const MainFrame&) = delete;
  ~MainFrame() override;

  // Shows the window, or takes it straight to the tray when "Minimize to sys-tray on load" is on.
  void showAtStartUp();

  [[nodiscard]] HWND handle() const { return window_; }
  [[nodiscard]] const ControlSet& controls() const { return controls_; }
  [[nodiscard]] HMENU menuBar() const { return menuBar_; }
  [[nodiscard]] HMENU fileMenu() const { return fileMenu_; }
  [[nodiscard]] HMENU trayMenu() const { return trayMenu_; }
  [[nodiscard]] const std::vector<MenuItem>& menuItems() const { return menuItems_; }
  [[nodiscard]] int menuId(std::string_view name) const;
  [[nodiscard]] TrayIcon& trayIcon() { return *tray_; }
  [[nodiscard]] const ToolTips& toolTips() const { return tips_; }
  [[nodiscard]] app::MainPresenter& presenter() { return *presenter_; }
  [[nodiscard]] COLORREF textColor(std::string_view control) const;
  [[nodiscard]] COLORREF backColor(std::string_view control) const;
  [[nodiscard]] OptionsWindow& options();
  [[nodiscard]] AboutWindow* aboutBox();
  [[nodiscard]] OptionsWindow* loadedOptions();
  [[nodiscard]] IpToolsFrame* ipToolsWindow();
  [[nodiscard]] LogMonitorFrame* logMonitor();
  [[nodiscard]] HistoryFrame* historyWindow();
  // The timer ids and their intervals, as they were set.
  struct TimerSpec {
    const char* name;
    UINT_PTR id;
    UINT interval;
  };
  static const std::vector<TimerSpec>& timers();

  // MainView
  [[nodiscard]] std::string addressText() const override;
  void setAddressText(const std::string& text) override;
  void setAddressToolTip(const std::string& tip) override;
  void setAddressBackground(app::Rgb color) override;
  void setAddressForeground(app::Rgb color) override;
  void useDesktopBackground() override;
  void setStatus(const std::string& text, app::Rgb color) override;
  void setLamp(app::Rgb color) override;
  void setVersionText(const std::string& text) override;
  void setDateText(const std::string& text) override;
  void setTimeText(const std::string& text) override;
  void showInfoLabel(app::InfoLabel shown, const std::vector<app::InfoLabel>& hidden) override;
  void setTrayPicture(app::TrayPicture picture) override;
  void setTrayTip(const std::string& tip) override;
  void moveToTray() override;
  void removeFromTray() override;
  void showNotice(const std::string& text) override;
  void restoreWindow() override;
  void setCaption(const std::string& caption) override;
  void endProgram() override;
  void copyToClipboard(const std::string& text) override;
  std::optional<app::Rgb> chooseColor(app::Rgb current) override;
  void openWindow(app::OtherWindow window) override;
  void startNetIpLookup() override;
  void startSystemInfo() override;
  bool loggingSwitchOn() override;
  bool hostNamePopupOn() override;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK addressBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void buildControls();
  void buildMenus();
  void onCommand(int id, int notification);
  void popUp(HMENU menu, bool returnCommand);
  HWND infoLabel(app::InfoLabel which) const;
  void setTextColor(HWND control, COLORREF color);
  static COLORREF readableText(COLORREF text, COLORREF background);

  AppContext context_;
  Seams seams_;
  HWND window_ = nullptr;
  ControlSet controls_;
  ToolTips tips_;
  HMENU menuBar_ = nullptr;
  HMENU fileMenu_ = nullptr;
  HMENU trayMenu_ = nullptr;
  std::vector<MenuItem> menuItems_;
  WNDPROC addressBoxDefault_ = nullptr;
  HFONT boldFont_ = nullptr;
  HICON onlineIcon_ = nullptr;
  HICON offlineIcon_ = nullptr;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<NetIpRequest> netIp_;
  bool desktopBackground_ = false;
  bool minimised_ = false;
  COLORREF addressBack_ = RGB(255, 255, 255);
  HBRUSH addressBrush_ = nullptr;
  HBRUSH silverBrush_ = nullptr;
  HBRUSH lampBrush_ = nullptr;
  COLORREF lampColor_ = 0;
  std::vector<std::pair<HWND, COLORREF>> textColors_;
  SharedWindow<OptionsWindow> optionsWindow_;
  SharedWindow<AboutWindow> aboutWindow_;
  SharedWindow<IpToolsFrame> ipToolsWindow_;
  SharedWindow<LogMonitorFrame> logMonitorWindow_;
  SharedWindow<HistoryFrame> historyWindow_;
  std::unique_ptr<app::MainPresenter> presenter_;
};

}  // namespace lumeno::win32ui
