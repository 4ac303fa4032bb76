// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/MainFrame.h"

#include <algorithm>

#include <commctrl.h>
#include <commdlg.h>

#include "about/SysInfo.h"
#include "app/MainDesign.h"
#include "common/MessageBoxes.h"
#include "common/TextContrast.h"
#include "platform/SystemInfoTool.h"
#include "ui/win32/AboutWindow.h"
#include "ui/win32/Clipboard.h"
#include "ui/win32/HistoryFrame.h"
#include "ui/win32/IpToolsFrame.h"
#include "ui/win32/LogMonitorFrame.h"
#include "ui/win32/OptionsWindow.h"
#include "ui/win32/Resources.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

using app::InfoLabel;
using app::MainPresenter;
using app::OtherWindow;
using app::Rgb;
namespace design = app::design;

constexpr const wchar_t* kClass = L"LumenoMainWindow";
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kBlueText = RGB(0, 0, 255);
constexpr UINT kPopUpFileMenu = WM_APP + 1;
constexpr UINT kMinimised = WM_APP + 2;
constexpr UINT kNetIpAnswered = WM_APP + 20;

enum ControlId : int {
  kAddressBox = 101,
  kLamp,
  kStatusLabel,
  kVersionLabel,
  kTimeLabel,
  kDateLabel,
  kHook,
};

enum TimerId : UINT_PTR { kClockTimer = 1, kStatusTimer, kAlertTimer };

TwipsRect placeOf(const app::design::ControlDesign& control) {
  return {control.place.left, control.place.top, control.place.width, control.place.height};
}

COLORREF colorOf(Rgb color) {
  return RGB(color.red, color.green, color.blue);
}

HICON loadIcon(int id, int size) {
  return static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size,
                                         size, LR_DEFAULTCOLOR));
}

}  // namespace

const std::vector<MainFrame::TimerSpec>& MainFrame::timers() {
  static const std::vector<TimerSpec> specs{
      {"Timer1", kClockTimer, 1000}, {"Timer2", kStatusTimer, 1500}, {"alertifoffline", kAlertTimer, 30000}};
  return specs;
}

MainFrame::MainFrame(const AppContext& context, Seams seams)
    : context_(context),
      seams_(std::move(seams)),
      optionsWindow_([this] {
        return std::make_unique<OptionsWindow>(
            context_, [this] { openWindow(OtherWindow::LogMonitor); }, &presenter_->connectionOptions());
      }),
      aboutWindow_([this] { return std::make_unique<AboutWindow>(context_); }),
      ipToolsWindow_([this] { return std::make_unique<IpToolsFrame>(context_); }),
      logMonitorWindow_([this] { return std::make_unique<LogMonitorFrame>(context_); }),
      historyWindow_([this] {
        return std::make_unique<HistoryFrame>(
            context_,
            [this] { return loggingSwitchOn() && presenter_->connectionOptions().logConnectionChanges; },
            [this] { openWindow(OtherWindow::Options); });
      }) {
  static const bool registered = registerWindowClass(kClass, &MainFrame::procedure, {.programIcon = true});
  (void)registered;
  silverBrush_ = ::CreateSolidBrush(kSilver);
  addressBrush_ = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
  addressBack_ = ::GetSysColor(COLOR_WINDOW);
  lampColor_ = ::GetSysColor(COLOR_MENU);
  lampBrush_ = ::CreateSolidBrush(lampColor_);
  onlineIcon_ = loadIcon(LUMENO_ICON_ONLINE, 16);
  offlineIcon_ = loadIcon(LUMENO_ICON_OFFLINE, 16);

  // A fixed frame with a minimise box; the client area is the designed strip.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  buildMenus();
  RECT frame{0, 0, twips(design::kClientWidth), twips(design::kClientHeight)};
  ::AdjustWindowRectEx(&frame, style, TRUE, 0);
  window_ = ::CreateWindowExW(0, kClass, wide(design::kCaption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, menuBar_,
                              ::GetModuleHandleW(nullptr), this);
  tips_.create(window_);
  buildControls();
  tray_ = std::make_unique<TrayIcon>(
      window_, kHook,
      [this](tray::TrayEvent event) {
        if (event == tray::TrayEvent::RightUp) popUp(trayMenu_, true);
      },
      seams_.trayNotify);

  netIp_ = seams_.netIpService.empty()
               ? std::make_unique<NetIpRequest>(window_, kNetIpAnswered)
               : std::make_unique<NetIpRequest>(window_, kNetIpAnswered, seams_.netIpService);

  presenter_ = std::make_unique<MainPresenter>(context_, *this);
  presenter_->start();
  for (const TimerSpec& timer : timers()) ::SetTimer(window_, timer.id, timer.interval, nullptr);
}

MainFrame::~MainFrame() {
  if (window_ != nullptr) {
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  // Menus not attached to a window are ours to free.
  ::DestroyMenu(trayMenu_);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(silverBrush_), static_cast<HGDIOBJ>(addressBrush_),
                         static_cast<HGDIOBJ>(lampBrush_), static_cast<HGDIOBJ>(boldFont_)})
    if (object != nullptr) ::DeleteObject(object);
}

void MainFrame::buildControls() {
  const DWORD visible = WS_VISIBLE;
  HWND address = controls_.add(
      window_, L"EDIT", design::kAddressBox.name, design::kAddressBox.text, placeOf(design::kAddressBox),
      visible | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL, kAddressBox, WS_EX_CLIENTEDGE);
  boldFont_ = makeFont(nullptr, 0, FW_BOLD);
  ::SendMessageW(address, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  setTextColor(address, kBlueText);
  ::SetWindowLongPtrW(address, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  addressBoxDefault_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      address, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainFrame::addressBoxProcedure)));

  // SS_NOTIFY: a label deaf to the mouse never shows its tooltip.
  HWND lamp = controls_.add(window_, L"STATIC", design::kLamp.name, design::kLamp.text,
                            placeOf(design::kLamp), visible | SS_NOTIFY, kLamp);
  tips_.set(lamp, std::string(design::kLamp.tip));

  // Only the connection status is in view at start; a click brings the next label of the ring.
  int id = kStatusLabel;
  for (const auto& [which, info] : design::kInfoLabels) {
    HWND label = controls_.add(window_, L"STATIC", info.name, info.text, placeOf(info),
                               (which == InfoLabel::Status ? visible : 0) | SS_CENTER | SS_NOTIFY, id++);
    setTextColor(label, kBlueText);
    tips_.set(label, std::string(info.tip));
  }
}

void MainFrame::buildMenus() {
  // Each item gets the next command id; a submenu is appended once its own items are in.
  int nextId = 300;
  auto build = [this, &nextId](auto& self, HMENU parent, const app::MenuEntry& entry) -> HMENU {
    HMENU menu = ::CreatePopupMenu();
    const int id = nextId++;
    for (const app::MenuEntry& item : entry.items) {
      if (item.isSubmenu()) {
        self(self, menu, item);
        continue;
      }
      const int itemId = nextId++;
      if (item.isSeparator()) {
        ::AppendMenuW(menu, MF_SEPARATOR, static_cast<UINT_PTR>(itemId), nullptr);
      } else {
        ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(itemId), wide(item.caption).c_str());
      }
      menuItems_.push_back({item.name, item.caption, itemId, item.command});
    }
    if (parent != nullptr)
      ::AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                    wide(entry.caption).c_str());
    menuItems_.push_back({entry.name, entry.caption, id, app::MenuCommand::None});
    return menu;
  };
  menuBar_ = ::CreateMenu();
  for (const app::MenuEntry& entry : app::mainMenuBar()) {
    HMENU menu = build(build, menuBar_, entry);
    if (std::string_view(entry.name) == "mnufile") fileMenu_ = menu;
  }
  // The tray's pop-up menu: a menu of the window that never shows in the menu bar.
  trayMenu_ = build(build, nullptr, app::trayMenu());
}

int MainFrame::menuId(std::string_view name) const {
  for (const MenuItem& item : menuItems_)
    if (item.name == name) return item.id;
  return 0;
}

void MainFrame::showAtStartUp() {
  if (!presenter_->startsInTray()) {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::UpdateWindow(window_);
    return;
  }
  // The tray icon exists by now: the window goes straight there without being shown.
  ::ShowWindow(window_, SW_SHOWMINNOACTIVE);
}

LRESULT CALLBACK MainFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &MainFrame::handle, &MainFrame::window_);
}

LRESULT CALLBACK MainFrame::addressBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainFrame*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  const LRESULT result = ::CallWindowProcW(self->addressBoxDefault_, window, message, wParam, lParam);
  // Every click into the box opens the File menu where the pointer is, once the click is over.
  if (message == WM_LBUTTONUP) ::PostMessageW(self->window_, kPopUpFileMenu, 0, 0);
  return result;
}

LRESULT MainFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER:
      if (wParam == kClockTimer) presenter_->onClockTick();
      if (wParam == kStatusTimer) presenter_->onStatusTick();
      if (wParam == kAlertTimer) presenter_->onAlertTick();
      return 0;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED && !minimised_) {
        minimised_ = true;
        // Hiding a window from inside its own minimise confuses some window managers.
        ::PostMessageW(window_, kMinimised, 0, 0);
      } else if (wParam != SIZE_MINIMIZED && minimised_) {
        minimised_ = false;
        presenter_->onRestored();
      }
      return 0;
    case kMinimised:
      if (::IsIconic(window_) != FALSE) presenter_->onMinimised();
      return 0;
    case kPopUpFileMenu: popUp(fileMenu_, false); return 0;
    case kNetIpAnswered:
      if (auto answer = netIp_->takeAnswer()) presenter_->onNetIpAnswer(*answer);
      return 0;
    case WM_CLOSE: presenter_->onCloseRequested(); return 0;
    case WM_ERASEBKGND: {
      RECT area{};
      ::GetClientRect(window_, &area);
      ::FillRect(reinterpret_cast<HDC>(wParam), &area,
                 desktopBackground_ ? ::GetSysColorBrush(COLOR_ACTIVEBORDER) : silverBrush_);
      return 1;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      auto dc = reinterpret_cast<HDC>(wParam);
      auto control = reinterpret_cast<HWND>(lParam);
      const std::string name = controls_.nameOf(::GetDlgCtrlID(control));
      ::SetTextColor(dc, textColor(name));
      if (control == controls_.find(design::kAddressBox.name)) {
        ::SetBkColor(dc, addressBack_);
        return reinterpret_cast<LRESULT>(addressBrush_);
      }
      if (control == controls_.find(design::kLamp.name)) {
        ::SetBkColor(dc, lampColor_);
        return reinterpret_cast<LRESULT>(lampBrush_);
      }
      // The info labels keep their design colour where it reads on the strip (pure red on silver
      // does not), else the nearest shade that does.
      const COLORREF strip = backColor(name);
      ::SetTextColor(dc, readableText(textColor(name), strip));
      ::SetBkColor(dc, strip);
      return reinterpret_cast<LRESULT>(desktopBackground_ ? ::GetSysColorBrush(COLOR_ACTIVEBORDER)
                                                          : silverBrush_);
    }
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void MainFrame::onCommand(int id, int notification) {
  const std::string control = controls_.nameOf(id);
  if (!control.empty()) {
    if (notification != STN_CLICKED) return;
    for (const auto& [which, info] : design::kInfoLabels)
      if (control == info.name) presenter_->onInfoLabelClicked(which);
    return;
  }
  for (const MenuItem& item : menuItems_) {
    if (item.id == id && item.command != app::MenuCommand::None) {
      presenter_->onMenuChosen(item.command);
      return;
    }
  }
}

void MainFrame::popUp(HMENU menu, bool returnCommand) {
  POINT at{};
  ::GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if its owner is in the foreground.
  ::SetForegroundWindow(window_);
  if (!returnCommand) {
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, window_, nullptr);
    return;
  }
  // The tray menu's command runs once the menu has closed and the icon's click handling is over.
  const int chosen = static_cast<int>(::TrackPopupMenu(
      menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, window_, nullptr));
  ::PostMessageW(window_, WM_NULL, 0, 0);
  if (chosen != 0) ::PostMessageW(window_, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
}

HWND MainFrame::infoLabel(InfoLabel which) const {
  for (const auto& [label, info] : design::kInfoLabels)
    if (label == which) return controls_.find(info.name);
  return nullptr;
}

void MainFrame::setTextColor(HWND control, COLORREF color) {
  for (auto& [handle, known] : textColors_) {
    if (handle == control) {
      if (known != color) {
        known = color;
        ::InvalidateRect(control, nullptr, TRUE);
      }
      return;
    }
  }
  textColors_.emplace_back(control, color);
  ::InvalidateRect(control, nullptr, TRUE);
}

COLORREF MainFrame::textColor(std::string_view control) const {
  const HWND handle = controls_.find(control);
  for (const auto& [known, color] : textColors_)
    if (known == handle) return color;
  return ::GetSysColor(COLOR_WINDOWTEXT);
}

COLORREF MainFrame::readableText(COLORREF text, COLORREF background) {
  const auto rgb = [](COLORREF colour) {
    return TextRgb{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
  };
  const TextRgb shade = readableOn(rgb(text), rgb(background));
  return RGB(shade.red, shade.green, shade.blue);
}

COLORREF MainFrame::backColor(std::string_view control) const {
  if (control == design::kAddressBox.name) return addressBack_;
  if (control == design::kLamp.name) return lampColor_;
  return desktopBackground_ ? ::GetSysColor(COLOR_ACTIVEBORDER) : kSilver;
}

OptionsWindow& MainFrame::options() {
  return optionsWindow_.load();
}

OptionsWindow* MainFrame::loadedOptions() {
  return optionsWindow_.loaded();
}

AboutWindow* MainFrame::aboutBox() {
  return aboutWindow_.loaded();
}

IpToolsFrame* MainFrame::ipToolsWindow() {
  return ipToolsWindow_.loaded();
}

LogMonitorFrame* MainFrame::logMonitor() {
  return logMonitorWindow_.loaded();
}

HistoryFrame* MainFrame::historyWindow() {
  return historyWindow_.loaded();
}

// MainView

std::string MainFrame::addressText() const {
  return windowText(controls_.find(design::kAddressBox.name));
}

void MainFrame::setAddressText(const std::string& text) {
  setWindowText(controls_.find(design::kAddressBox.name), text);
}

void MainFrame::setAddressToolTip(const std::string& tip) {
  tips_.set(controls_.find(design::kAddressBox.name), tip);
}

void MainFrame::setAddressBackground(Rgb color) {
  if (addressBack_ == colorOf(color)) return;
  addressBack_ = colorOf(color);
  ::DeleteObject(addressBrush_);
  addressBrush_ = ::CreateSolidBrush(addressBack_);
  ::InvalidateRect(controls_.find(design::kAddressBox.name), nullptr, TRUE);
}

void MainFrame::setAddressForeground(Rgb color) {
  setTextColor(controls_.find(design::kAddressBox.name), colorOf(color));
}

void MainFrame::useDesktopBackground() {
  desktopBackground_ = true;
  ::InvalidateRect(window_, nullptr, TRUE);
}

void MainFrame::setStatus(const std::string& text, Rgb color) {
  setWindowText(infoLabel(InfoLabel::Status), text);
  setTextColor(infoLabel(InfoLabel::Status), colorOf(color));
}

void MainFrame::setLamp(Rgb color) {
  if (lampColor_ == colorOf(color)) return;
  lampColor_ = colorOf(color);
  ::DeleteObject(lampBrush_);
  lampBrush_ = ::CreateSolidBrush(lampColor_);
  ::InvalidateRect(controls_.find(design::kLamp.name), nullptr, TRUE);
}

void MainFrame::setVersionText(const std::string& text) {
  setWindowText(infoLabel(InfoLabel::Version), text);
}

void MainFrame::setDateText(const std::string& text) {
  setWindowText(infoLabel(InfoLabel::Date), text);
}

void MainFrame::setTimeText(const std::string& text) {
  setWindowText(infoLabel(InfoLabel::Time), text);
}

void MainFrame::showInfoLabel(InfoLabel shown, const std::vector<InfoLabel>& hidden) {
  for (InfoLabel label : hidden) ::ShowWindow(infoLabel(label), SW_HIDE);
  ::ShowWindow(infoLabel(shown), SW_SHOW);
}

void MainFrame::setTrayPicture(app::TrayPicture picture) {
  tray_->changeIcon(picture == app::TrayPicture::Online ? onlineIcon_ : offlineIcon_);
}

void MainFrame::setTrayTip(const std::string& tip) {
  tray_->changeToolTip(tip);
}

void MainFrame::moveToTray() {
  tray_->minToSysTray();
}

void MainFrame::removeFromTray() {
  tray_->removeFromSysTray();
}

// Windows shows a notice as a balloon beside the tray icon, so only while the icon is there.
void MainFrame::showNotice(const std::string& text) {
  tray_->showBalloon(text);
}

void MainFrame::restoreWindow() {
  ::ShowWindow(window_, SW_RESTORE);
  ::ShowWindow(window_, SW_SHOW);
}

void MainFrame::setCaption(const std::string& caption) {
  setWindowText(window_, caption);
}

void MainFrame::endProgram() {
  for (const TimerSpec& timer : timers()) ::KillTimer(window_, timer.id);
  if (seams_.endProgram) {
    seams_.endProgram();
  } else {
    // Leaves the message loop at once, without the other windows' closing handling.
    ::PostQuitMessage(0);
  }
}

void MainFrame::copyToClipboard(const std::string& text) {
  putTextOnClipboard(window_, text);
}

std::optional<Rgb> MainFrame::chooseColor(Rgb current) {
  if (seams_.chooseColor) return seams_.chooseColor(current);
  static COLORREF custom[16]{};
  CHOOSECOLORW chooser{};
  chooser.lStructSize = sizeof(chooser);
  chooser.hwndOwner = window_;
  chooser.lpCustColors = custom;
  chooser.rgbResult = RGB(current.red, current.green, current.blue);
  chooser.Flags = CC_ANYCOLOR | CC_RGBINIT;
  if (::ChooseColorW(&chooser) == FALSE) return std::nullopt;
  return Rgb{GetRValue(chooser.rgbResult), GetGValue(chooser.rgbResult), GetBValue(chooser.rgbResult)};
}

void MainFrame::openWindow(OtherWindow window) {
  switch (window) {
    case OtherWindow::Options: optionsWindow_.show(); break;
    case OtherWindow::About: aboutWindow_.show(); break;
    case OtherWindow::IpTools: ipToolsWindow_.show(); break;
    case OtherWindow::LogMonitor: logMonitorWindow_.show(); break;
    case OtherWindow::History: historyWindow_.show(); break;
  }
}

void MainFrame::startNetIpLookup() {
  netIp_->start();  // a lookup under way already answers this request too
}

void MainFrame::startSystemInfo() {
  about::startSysInfo(context_, platform::systemInfoTool());
}

bool MainFrame::loggingSwitchOn() {
  return options().presenter().isLogOn();
}

bool MainFrame::hostNamePopupOn() {
  return options().presenter().isHostNamePopupOn();
}

}  // namespace lumeno::win32ui
