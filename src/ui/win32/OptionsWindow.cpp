// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/OptionsWindow.h"

#include <array>
#include <string_view>

#include <commctrl.h>

#include "settings/OptionsDesign.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

using settings::Option;

constexpr const wchar_t* kClass = L"LumenoOptions";
namespace design = settings::design;
using design::Kind;

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
  RECT frame{0, 0, twips(design::kClientWidth), twips(design::kClientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  window_ = ::CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_APPWINDOW, kClass, wide(design::kCaption).c_str(),
                              style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
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
  for (const design::ControlDesign& control : design::kControls) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = control.page < 0 ? WS_VISIBLE : 0;
    switch (control.kind) {
      case Kind::Frame: style |= BS_GROUPBOX; break;
      case Kind::CheckBox: style |= WS_TABSTOP | BS_AUTOCHECKBOX; break;
      case Kind::Button: style |= WS_TABSTOP | BS_PUSHBUTTON; break;
      case Kind::Label: windowClass = L"STATIC"; break;
      // A drop-down list's height is that of its closed box; the open list sizes itself.
      case Kind::InterfaceList:
        windowClass = WC_COMBOBOXW;
        style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
      case Kind::Tabs:
        windowClass = WC_TABCONTROLW;
        style |= WS_TABSTOP | WS_CLIPSIBLINGS;
        break;
    }
    const Twips& at = control.place;
    HWND made = controls_.add(window_, windowClass, control.name, control.text,
                              {at.left, at.top, at.width, at.height}, style,
                              control.kind == Kind::Tabs ? kTabs : id++);
    if (!control.tip.empty()) tips_.set(made, std::string(control.tip));
    if (control.kind == Kind::Tabs) tabs_ = made;
  }
  for (std::size_t index = 0; index < design::kTabCaptions.size(); ++index) {
    std::wstring caption = wide(design::kTabCaptions[index]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(tabs_, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
  }
  // Then the frames, each painting its inside below the controls of its page.
  for (const design::ControlDesign& control : design::kControls) {
    if (control.kind != Kind::Frame) continue;
    paintInsideOfGroupBox(controls_.find(control.name));
    ::SetWindowPos(controls_.find(control.name), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ::SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  showPage(0);
}

void OptionsWindow::showPage(int index) {
  for (const design::ControlDesign& control : design::kControls) {
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
      for (const design::ControlDesign& entry : design::kControls) {
        if (name == entry.name && entry.option) {
          const bool ticked = ::SendMessageW(controls_.find(entry.name), BM_GETCHECK, 0, 0) ==
                              static_cast<LRESULT>(BST_CHECKED);
          presenter_->onBoxClicked(*entry.option, ticked);
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
  for (const design::ControlDesign& entry : design::kControls) {
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
