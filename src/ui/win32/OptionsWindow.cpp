// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/OptionsWindow.h"

#include <array>
#include <string_view>

#include <commctrl.h>

#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

using settings::Option;

constexpr const wchar_t* kClass = L"LumenoOptions";
constexpr std::array<const char*, 4> kTabCaptions = {"Automation", "Extras", "Logs", "Connection"};

// Each control of a tab page, with the tab it is on; the "Done" button is on every page.
struct PageControl {
  const char* name;
  int page;
};
constexpr std::array<PageControl, 18> kPages{{{"Frame1", 0},
                                              {"chkstartup", 0},
                                              {"trayatstartup", 0},
                                              {"Frame2", 1},
                                              {"chkhostnamepopup", 1},
                                              {"chklog", 2},
                                              {"Frame3", 2},
                                              {"Command2", 2},
                                              {"Command1", 2},
                                              {"Label1", 2},
                                              {"Frame4", 3},
                                              {"alertifoffline", 3},
                                              {"chkfollowip", 3},
                                              {"chklogoutages", 3},
                                              {"lblinterface", 3},
                                              {"cmbinterface", 3},
                                              {"SSTab1", -1},
                                              {"exitoptions", -1}}};

struct BoxOfOption {
  const char* name;
  Option option;
};
constexpr std::array<BoxOfOption, 7> kBoxes{{{"alertifoffline", Option::AlertIfOffline},
                                             {"trayatstartup", Option::TrayAtStartup},
                                             {"chkhostnamepopup", Option::HostNamePopup},
                                             {"chklog", Option::UseLog},
                                             {"chkstartup", Option::AutoStartup},
                                             {"chkfollowip", Option::FollowAddress},
                                             {"chklogoutages", Option::LogConnectionChanges}}};

enum ControlId : int { kTabs = 200, kFirstControl = 201 };

}  // namespace

OptionsWindow::OptionsWindow(const AppContext& context, std::function<void()> showLogMonitor,
                             settings::ConnectionOptions* live)
    : showLogMonitor_(std::move(showLogMonitor)) {
  static const bool registered = registerWindowClass(
      kClass, &OptionsWindow::procedure, {.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
  (void)registered;
  // A fixed single border with a close box, no minimise or maximise.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT frame{0, 0, twips(5055), twips(3510)};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  window_ = ::CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClass, L"Options", style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), this);
  tips_.create(window_);
  buildControls();
  addDialogWindow(window_);
  presenter_ = std::make_unique<settings::OptionsPresenter>(context, *this, live);
  presenter_->load();
}

OptionsWindow::~OptionsWindow() {
  if (window_ != nullptr) {
    removeDialogWindow(window_);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
}

void OptionsWindow::buildControls() {
  int id = kFirstControl;
  const DWORD box = WS_TABSTOP | BS_AUTOCHECKBOX;
  const DWORD frame = BS_GROUPBOX;
  const DWORD button = WS_TABSTOP | BS_PUSHBUTTON;
  controls_.add(window_, L"BUTTON", "Frame1", "", {240, 480, 4575, 1815}, frame, id++);
  controls_.add(window_, L"BUTTON", "chkstartup", "Start when computer loads", {480, 720, 4095, 300}, box,
                id++);
  controls_.add(window_, L"BUTTON", "trayatstartup", "Minimize to sys-tray on load", {480, 1080, 4095, 300},
                box, id++);
  controls_.add(window_, L"BUTTON", "Frame2", "", {240, 480, 4575, 1815}, frame, id++);
  controls_.add(window_, L"BUTTON", "chkhostnamepopup", "Show hostname in popup on request",
                {480, 720, 4095, 300}, box, id++);
  HWND logBox = controls_.add(window_, L"BUTTON", "chklog", "Use log file", {360, 540, 2400, 300}, box, id++);
  tips_.set(logBox, "Monitor Lumeno actions");
  controls_.add(window_, L"BUTTON", "Frame3", "", {240, 900, 4575, 1395}, frame, id++);
  controls_.add(window_, L"BUTTON", "Command2", "View log", {480, 1140, 1215, 375}, button, id++);
  controls_.add(window_, L"BUTTON", "Command1", "Clear log", {1815, 1140, 1215, 375}, button, id++);
  controls_.add(window_, L"STATIC", "Label1",
                "Log contains program load/exit, error stat, IP, hostname, time and date stamps.",
                {480, 1620, 4095, 555}, 0, id++);
  controls_.add(window_, L"BUTTON", "Frame4", "", {240, 600, 4575, 735}, frame, id++);
  controls_.add(window_, L"BUTTON", "alertifoffline", "Alert using popup if i loose my connection",
                {480, 840, 4095, 300}, box, id++);
  controls_.add(window_, L"BUTTON", "chkfollowip", "Follow address changes", {480, 1500, 4095, 300}, box,
                id++);
  controls_.add(window_, L"BUTTON", "chklogoutages", "Log connection changes", {480, 1860, 4095, 300}, box,
                id++);
  controls_.add(window_, L"STATIC", "lblinterface", "Interface:", {480, 2280, 1000, 300}, 0, id++);
  // A drop-down list's height is that of its closed box; the open list sizes itself.
  controls_.add(window_, WC_COMBOBOXW, "cmbinterface", "", {1560, 2220, 3135, 300},
                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, id++);
  controls_.add(window_, L"BUTTON", "exitoptions", "Done", {3840, 3015, 1095, 375}, WS_VISIBLE | button,
                id++);
  // The tab control lies below the controls of its pages.
  tabs_ = controls_.add(window_, WC_TABCONTROLW, "SSTab1", "", {120, 120, 4815, 2775},
                        WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, kTabs);
  for (std::size_t index = 0; index < kTabCaptions.size(); ++index) {
    std::wstring caption = wide(kTabCaptions[index]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(tabs_, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
  }
  // Then the frames, each painting its inside below the controls of its page.
  for (const char* name : {"Frame1", "Frame2", "Frame3", "Frame4"}) {
    paintInsideOfGroupBox(controls_.find(name));
    ::SetWindowPos(controls_.find(name), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ::SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  showPage(0);
}

void OptionsWindow::showPage(int index) {
  for (const PageControl& control : kPages) {
    if (control.page < 0) continue;
    ::ShowWindow(controls_.find(control.name), control.page == index ? SW_SHOW : SW_HIDE);
  }
}

void OptionsWindow::selectTab(int index) {
  ::SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  showPage(index);
}

int OptionsWindow::currentTab() const {
  return static_cast<int>(::SendMessageW(tabs_, TCM_GETCURSEL, 0, 0));
}

void OptionsWindow::show() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
}

LRESULT CALLBACK OptionsWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &OptionsWindow::handle, &OptionsWindow::window_);
}

LRESULT OptionsWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->hwndFrom == tabs_ &&
          reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE)
        showPage(currentTab());
      return 0;
    case WM_COMMAND: {
      const std::string name = controls_.nameOf(LOWORD(wParam));
      // The user's choice only: filling or selecting in code sends no CBN_SELCHANGE.
      if (name == "cmbinterface" && HIWORD(wParam) == CBN_SELCHANGE) {
        const LRESULT entry = ::SendMessageW(controls_.find(name), CB_GETCURSEL, 0, 0);
        if (entry >= 0) presenter_->onInterfaceChosen(static_cast<std::size_t>(entry));
        return 0;
      }
      if (HIWORD(wParam) != BN_CLICKED) return 0;
      for (const BoxOfOption& entry : kBoxes) {
        if (name == entry.name) {
          const bool ticked = ::SendMessageW(controls_.find(entry.name), BM_GETCHECK, 0, 0) ==
                              static_cast<LRESULT>(BST_CHECKED);
          presenter_->onBoxClicked(entry.option, ticked);
          return 0;
        }
      }
      if (name == "Command1") presenter_->onClearLogClicked();
      if (name == "Command2") presenter_->onViewLogClicked();
      if (name == "exitoptions" || LOWORD(wParam) == IDCANCEL) presenter_->onDoneClicked();
      return 0;
    }
    case WM_CLOSE: closeDialog(); return 0;
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void OptionsWindow::setTicked(Option option, bool ticked) {
  for (const BoxOfOption& entry : kBoxes) {
    // Setting the state from here runs no click behaviour: BM_SETCHECK sends no BN_CLICKED.
    if (entry.option == option)
      ::SendMessageW(controls_.find(entry.name), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void OptionsWindow::showInterfaces(const std::vector<std::string>& entries, std::size_t selected) {
  const HWND list = controls_.find("cmbinterface");
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries)
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry).c_str()));
  ::SendMessageW(list, CB_SETCURSEL, selected, 0);
}

void OptionsWindow::openLogMonitor() {
  if (showLogMonitor_) showLogMonitor_();
}

void OptionsWindow::closeDialog() {
  // Unloaded: the next reader of a box loads the dialog afresh from the settings file.
  HWND closing = window_;
  removeDialogWindow(closing);
  window_ = nullptr;
  ::SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
  ::DestroyWindow(closing);
}

}  // namespace lumeno::win32ui
