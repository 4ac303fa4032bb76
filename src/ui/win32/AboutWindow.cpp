// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/AboutWindow.h"

#include "about/AboutDesign.h"
#include "about/AboutPresenter.h"
#include "platform/SystemInfoTool.h"
#include "ui/win32/Resources.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

constexpr const wchar_t* kClass = L"LumenoAbout";
enum ControlId : int { kSysInfo = 1001, kPicture, kTitle, kVersion, kLink, kLine };

namespace design = about::design;

}  // namespace

AboutWindow::AboutWindow(const AppContext& context) {
  static const bool registered = registerWindowClass(
      kClass, &AboutWindow::procedure, {.background = reinterpret_cast<HBRUSH>(COLOR_MENU + 1)});
  (void)registered;
  menuBrush_ = ::GetSysColorBrush(COLOR_MENU);
  // A fixed dialog border without minimise and maximise, and an empty title.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
  RECT frame{0, 0, twips(design::kClientWidth), twips(design::kClientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  window_ = ::CreateWindowExW(exStyle, kClass, L"", style, work.left + (work.right - work.left - width) / 2,
                              work.top + (work.bottom - work.top - height) / 2, width, height, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), this);
  tips_.create(window_);
  buildControls();
  addDialogWindow(window_);
  presenter_ = std::make_unique<about::AboutPresenter>(*this, context, platform::systemInfoTool());
  presenter_->onLoaded();
}

AboutWindow::~AboutWindow() {
  if (window_ != nullptr) unload();
  if (linkFont_ != nullptr) ::DeleteObject(linkFont_);
}

void AboutWindow::buildControls() {
  const DWORD visible = WS_VISIBLE;
  const auto add = [this](const wchar_t* windowClass, const design::ControlDesign& control, DWORD style,
                          int id) {
    const Twips& at = control.place;
    return controls_.add(window_, windowClass, control.name, control.text,
                         {at.left, at.top, at.width, at.height}, style, id);
  };
  HWND picture = add(L"STATIC", design::kPicture, visible | SS_BITMAP, kPicture);
  ::SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(LUMENO_BITMAP_ABOUT), IMAGE_BITMAP, 0,
                                                       0, LR_DEFAULTCOLOR)));
  // Setting a picture shrinks the control to it; the artwork sits at the top left of its place.
  ::SetWindowPos(picture, nullptr, 0, 0, twips(design::kPicture.place.width),
                 twips(design::kPicture.place.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  add(L"STATIC", design::kTitle, visible, kTitle);
  add(L"STATIC", design::kVersion, visible, kVersion);
  HWND link = add(L"STATIC", design::kLink, visible | SS_NOTIFY, kLink);
  linkFont_ = makeFont(wide(design::kLinkFontName).c_str(), design::kLinkFontPoints, FW_NORMAL);
  ::SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);
  tips_.set(link, std::string(design::kLink.tip));
  // A black rectangle is drawn in the desktop's window-frame colour.
  add(L"STATIC", design::kLine, visible | SS_BLACKRECT, kLine);
  add(L"BUTTON", design::kSysInfo, visible | WS_TABSTOP | BS_PUSHBUTTON, kSysInfo);
  HWND done = add(L"BUTTON", design::kDone, visible | WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  ::SetFocus(done);
}

void AboutWindow::show() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  ::SetFocus(controls_.find("cmdOK"));
}

LRESULT CALLBACK AboutWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &AboutWindow::handle, &AboutWindow::window_);
}

LRESULT AboutWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: presenter_->onDoneClicked(); break;
        case IDCANCEL: presenter_->onCloseRequested(); break;
        case kSysInfo: presenter_->onSysInfoClicked(); break;
        case kLink:
          if (HIWORD(wParam) == STN_CLICKED) presenter_->onLinkClicked();
          break;
        default: break;
      }
      return 0;
    case WM_CLOSE: presenter_->onCloseRequested(); return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(wParam);
      ::SetBkColor(dc, ::GetSysColor(COLOR_MENU));
      ::SetTextColor(dc, reinterpret_cast<HWND>(lParam) == controls_.find("Label5")
                             ? RGB(0, 0, 255)
                             : ::GetSysColor(COLOR_MENUTEXT));
      return reinterpret_cast<LRESULT>(menuBrush_);
    }
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void AboutWindow::setTitle(const std::string& value) {
  setWindowText(controls_.find("lblTitle"), value);
}

void AboutWindow::setVersionText(const std::string& value) {
  setWindowText(controls_.find("lblVersion"), value);
}

void AboutWindow::unload() {
  HWND closing = window_;
  removeDialogWindow(closing);
  window_ = nullptr;
  ::SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
  ::DestroyWindow(closing);
}

}  // namespace lumeno::win32ui
