// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/LogMonitorFrame.h"

#include <algorithm>
#include <utility>

#include <commctrl.h>

#include "ui/win32/Clipboard.h"
#include "ui/win32/Resources.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

namespace design = log::design;

constexpr const wchar_t* kClass = L"LumenoLogMonitor";
constexpr UINT kWork = WM_APP + 1;
constexpr UINT_PTR kWorkTimer = 2;

enum ControlId : int { kLines = 501, kStatus, kFindBox, kFindPrevious, kFindNext, kFindState };
constexpr int kFirstMenuItem = 401;

using design::kClientHeight;
using design::kClientWidth;
using design::MenuCommand;
constexpr int kStatusHeight = design::kStatusBarHeight;
// The search row above the status bar: a box, two buttons and a note, right to left.
constexpr int kSearchRowHeight = 405;
constexpr int kGap = 60;
constexpr int kButtonWidth = 855;
constexpr int kFieldHeight = 345;
constexpr int kStateWidth = 1485;
constexpr int kStateHeight = 255;

int menuIdOf(MenuCommand command) {
  return kFirstMenuItem + static_cast<int>(command);
}

bool held(int key) {
  return (::GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

LogMonitorFrame::LogMonitorFrame(const AppContext& context)
    : source_(context.file("log.txt")), presenter_(source_, *this, *context.boxes), boxes_(*context.boxes) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&common);
    return registerWindowClass(
        kClass, &LogMonitorFrame::procedure,
        {.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), .programIcon = true});
  }();
  (void)registered;
  font_ = makeFont(wide(design::kFontName).c_str(), design::kFontPoints, FW_NORMAL);
  buildMenu();
  // A sizable border with minimise and maximise; centred on the screen.
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, twips(kClientWidth), twips(kClientHeight)};
  ::AdjustWindowRectEx(&frame, style, TRUE, WS_EX_APPWINDOW);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  window_ = ::CreateWindowExW(WS_EX_APPWINDOW, kClass, wide(design::kCaption).c_str(), style,
                              work.left + (work.right - work.left - width) / 2,
                              work.top + (work.bottom - work.top - height) / 2, width, height, nullptr,
                              menuBar_, ::GetModuleHandleW(nullptr), this);
  buildControls();
  layout();
  // Tab moves between the search row's controls.
  addDialogWindow(window_);
  presenter_.load();
}

LogMonitorFrame::~LogMonitorFrame() {
  if (window_ != nullptr) {
    removeDialogWindow(window_);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  } else if (menuBar_ != nullptr && ::IsMenu(menuBar_) != FALSE) {
    ::DestroyMenu(menuBar_);  // never attached: the window was not made
  }
  lines_.reset();
  if (font_ != nullptr) ::DeleteObject(font_);
}

void LogMonitorFrame::buildMenu() {
  menuBar_ = ::CreateMenu();
  HMENU file = ::CreatePopupMenu();
  for (const design::MenuItemDesign& item : design::kFileMenu)
    ::AppendMenuW(file, MF_STRING, static_cast<UINT_PTR>(menuIdOf(item.command)), wide(item.caption).c_str());
  ::AppendMenuW(menuBar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file),
                wide(design::kFileMenuCaption).c_str());
}

int LogMonitorFrame::menuId(std::string_view name) {
  for (const design::MenuItemDesign& item : design::kFileMenu)
    if (name == item.name) return menuIdOf(item.command);
  return 0;
}

void LogMonitorFrame::buildControls() {
  // The lines end where the status bar begins, so the newest line is never hidden under it.
  HWND lines = controls_.add(window_, LogLinesPane::windowClass(), design::kLines.name, "",
                             {0, 0, kClientWidth, kClientHeight - kStatusHeight},
                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL, kLines, WS_EX_CLIENTEDGE);
  lines_ = std::make_unique<LogLinesPane>(presenter_, lines, font_,
                                          [this](WPARAM key) { return onWindowKey(key); });
  // No text is ever put into the status bar; it is placed here rather than docking itself.
  controls_.add(window_, STATUSCLASSNAMEW, design::kStatusBar.name, "",
                {0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight},
                WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER | SBARS_SIZEGRIP, kStatus);

  // The search row, hidden until Ctrl+F; placed as it would be at the designed size.
  const int rowTop = kClientHeight - kStatusHeight - kSearchRowHeight;
  const int fieldTop = rowTop + (kSearchRowHeight - kFieldHeight) / 2;
  const int stateLeft = kClientWidth - kGap - kStateWidth;
  const int nextLeft = stateLeft - kGap - kButtonWidth;
  const int previousLeft = nextLeft - kGap - kButtonWidth;
  HWND findBox = controls_.add(window_, L"EDIT", design::kFindBox.name, "",
                               {kGap, fieldTop, previousLeft - 2 * kGap, kFieldHeight},
                               WS_TABSTOP | ES_AUTOHSCROLL, kFindBox, WS_EX_CLIENTEDGE);
  ::SendMessageW(findBox, EM_SETCUEBANNER, TRUE,
                 reinterpret_cast<LPARAM>(wide(design::kFindBox.text).c_str()));
  ::SetWindowLongPtrW(findBox, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  findBoxDefault_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      findBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LogMonitorFrame::findBoxProcedure)));
  controls_.add(window_, L"BUTTON", design::kFindPrevious.name, design::kFindPrevious.text,
                {previousLeft, fieldTop, kButtonWidth, kFieldHeight}, WS_TABSTOP | BS_PUSHBUTTON,
                kFindPrevious);
  controls_.add(window_, L"BUTTON", design::kFindNext.name, design::kFindNext.text,
                {nextLeft, fieldTop, kButtonWidth, kFieldHeight}, WS_TABSTOP | BS_PUSHBUTTON, kFindNext);
  controls_.add(window_, L"STATIC", design::kFindState.name, "",
                {stateLeft, rowTop + (kSearchRowHeight - kStateHeight) / 2, kStateWidth, kStateHeight},
                SS_LEFT | SS_NOPREFIX, kFindState);
  for (const NamedControl& control : controls_.all())
    if (control.name != design::kStatusBar.name)
      ::SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void LogMonitorFrame::layout() {
  RECT client{};
  ::GetClientRect(window_, &client);
  const int width = client.right;
  const int statusTop = std::max(0, static_cast<int>(client.bottom) - twips(kStatusHeight));
  ::MoveWindow(controls_.find(design::kStatusBar.name), 0, statusTop, width, twips(kStatusHeight), TRUE);
  int linesBottom = statusTop;
  if (searchShown()) {
    const int rowTop = std::max(0, statusTop - twips(kSearchRowHeight));
    const int fieldTop = rowTop + (twips(kSearchRowHeight) - twips(kFieldHeight)) / 2;
    const int stateLeft = width - twips(kGap) - twips(kStateWidth);
    const int nextLeft = stateLeft - twips(kGap) - twips(kButtonWidth);
    const int previousLeft = nextLeft - twips(kGap) - twips(kButtonWidth);
    ::MoveWindow(controls_.find(design::kFindBox.name), twips(kGap), fieldTop,
                 std::max(0, previousLeft - 2 * twips(kGap)), twips(kFieldHeight), TRUE);
    ::MoveWindow(controls_.find(design::kFindPrevious.name), previousLeft, fieldTop, twips(kButtonWidth),
                 twips(kFieldHeight), TRUE);
    ::MoveWindow(controls_.find(design::kFindNext.name), nextLeft, fieldTop, twips(kButtonWidth),
                 twips(kFieldHeight), TRUE);
    ::MoveWindow(controls_.find(design::kFindState.name), stateLeft,
                 rowTop + (twips(kSearchRowHeight) - twips(kStateHeight)) / 2, twips(kStateWidth),
                 twips(kStateHeight), TRUE);
    linesBottom = rowTop;
  }
  ::MoveWindow(lines_->handle(), 0, 0, width, linesBottom, TRUE);
}

void LogMonitorFrame::show() {
  ::ShowWindow(window_, ::IsIconic(window_) != FALSE ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(window_);
  ::SetFocus(lines_->handle());
}

bool LogMonitorFrame::searchShown() const {
  return (::GetWindowLongW(controls_.find(design::kFindBox.name), GWL_STYLE) & WS_VISIBLE) != 0;
}

LRESULT CALLBACK LogMonitorFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &LogMonitorFrame::handle,
                         &LogMonitorFrame::window_);
}

LRESULT CALLBACK LogMonitorFrame::findBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<LogMonitorFrame*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_GETDLGCODE && lParam != 0) {
    // Enter and Esc are the search's own, not the window's default buttons.
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE))
      return ::CallWindowProcW(self->findBoxDefault_, window, message, wParam, lParam) | DLGC_WANTALLKEYS;
  }
  if (message == WM_KEYDOWN) {
    switch (wParam) {
      case VK_RETURN:
      case VK_F3: self->find(!held(VK_SHIFT)); return 0;
      case VK_ESCAPE: self->closeSearch(); return 0;
      default:
        if (held(VK_CONTROL) && wParam == 'F') {
          ::SendMessageW(window, EM_SETSEL, 0, -1);
          return 0;
        }
        break;
    }
  }
  // The characters of those keys would only beep.
  if (message == WM_CHAR && (wParam == L'\r' || wParam == 0x1B || wParam == 0x06)) return 0;
  return ::CallWindowProcW(self->findBoxDefault_, window, message, wParam, lParam);
}

LRESULT LogMonitorFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam)); return 0;
    case WM_TIMER:
      if (wParam == kReloadTimer) presenter_.tick();
      if (wParam == kWorkTimer) {
        ::KillTimer(window_, kWorkTimer);
        doWork();
      }
      return 0;
    case kWork:
      // Typing, clicks and drawing come first; the work goes on once they have been handled.
      if (HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT)) != 0) {
        ::SetTimer(window_, kWorkTimer, USER_TIMER_MINIMUM, nullptr);
      } else {
        doWork();
      }
      return 0;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {twips(design::kMinimumOuterWidth), twips(design::kMinimumOuterHeight)};
      return 0;
    }
    case WM_WINDOWPOSCHANGING: {
      // Set in code as well as dragged: never smaller than the smallest size.
      auto* place = reinterpret_cast<WINDOWPOS*>(lParam);
      if ((place->flags & SWP_NOSIZE) == 0 && ::IsIconic(window_) == FALSE) {
        place->cx = std::max(place->cx, twips(design::kMinimumOuterWidth));
        place->cy = std::max(place->cy, twips(design::kMinimumOuterHeight));
      }
      break;
    }
    case WM_ACTIVATE:
      // Coming back to the window puts the typing where it was: the lines or the search box.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = ::GetFocus();
        lastFocus_ = focus != nullptr && ::IsChild(window_, focus) != FALSE ? focus : nullptr;
      }
      break;
    case WM_SETFOCUS:
      ::SetFocus(lastFocus_ != nullptr && ::IsWindowVisible(lastFocus_) != FALSE ? lastFocus_
                                                                                 : lines_->handle());
      return 0;
    case WM_CLOSE: unload(); return 0;
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void LogMonitorFrame::onCommand(int id) {
  if (id == kFindNext || id == kFindPrevious) find(id == kFindNext);
  for (const design::MenuItemDesign& item : design::kFileMenu)
    if (id == menuIdOf(item.command)) onMenuCommand(item.command);
}

void LogMonitorFrame::onMenuCommand(design::MenuCommand command) {
  switch (command) {
    case MenuCommand::ClearLog: presenter_.clearLog(); break;
    case MenuCommand::PauseScreen: presenter_.pause(); break;
    case MenuCommand::Resume: presenter_.resume(); break;
    case MenuCommand::Exit: unload(); break;
  }
}

void LogMonitorFrame::doWork() {
  presenter_.doWork();
}

bool LogMonitorFrame::onWindowKey(WPARAM key) {
  if (held(VK_CONTROL) && key == 'F') {
    openSearch();
    return true;
  }
  if (key == VK_F3) {
    find(!held(VK_SHIFT));
    return true;
  }
  return false;
}

void LogMonitorFrame::openSearch() {
  const bool wasShown = searchShown();
  for (const design::ControlDesign& control : design::kSearchRow)
    ::ShowWindow(controls_.find(control.name), SW_SHOW);
  if (!wasShown) layout();
  const HWND findBox = controls_.find(design::kFindBox.name);
  ::SetFocus(findBox);
  ::SendMessageW(findBox, EM_SETSEL, 0, -1);
}

void LogMonitorFrame::closeSearch() {
  for (const design::ControlDesign& control : design::kSearchRow)
    ::ShowWindow(controls_.find(control.name), SW_HIDE);
  layout();
  ::SetFocus(lines_->handle());
}

void LogMonitorFrame::find(bool forward) {
  if (!searchShown()) openSearch();
  presenter_.find(windowText(controls_.find(design::kFindBox.name)), forward);
  // A click on a button leaves the typing where it was.
  if (::GetFocus() != controls_.find(design::kFindBox.name))
    ::SetFocus(controls_.find(design::kFindBox.name));
}

void LogMonitorFrame::unload() {
  if (window_ == nullptr) return;
  presenter_.unload();
  ::KillTimer(window_, kWorkTimer);
  HWND closing = window_;
  removeDialogWindow(closing);
  window_ = nullptr;
  ::SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
  ::DestroyWindow(closing);
}

// LogMonitorView

void LogMonitorFrame::showLineCount(std::size_t count) {
  lines_->setLineCount(count);
}

void LogMonitorFrame::showMoreLines(std::size_t count) {
  lines_->addLines(count);
}

void LogMonitorFrame::scrollToBottom() {
  lines_->scrollToBottom();
}

void LogMonitorFrame::scrollToLine(std::size_t line) {
  lines_->scrollToLine(line);
}

void LogMonitorFrame::showNote(const std::string& note) {
  lines_->setNote(note);
}

void LogMonitorFrame::showSearchState(const std::string& text) {
  setWindowText(controls_.find(design::kFindState.name), text);
}

void LogMonitorFrame::showStatus(const std::string& text) {
  setWindowText(controls_.find(design::kStatusBar.name), text);
}

void LogMonitorFrame::setReloading(bool on) {
  reloading_ = on;
  // Setting the timer again begins a fresh interval.
  if (on) {
    ::SetTimer(window_, kReloadTimer, design::kReloadIntervalMs, nullptr);
  } else {
    ::KillTimer(window_, kReloadTimer);
  }
}

void LogMonitorFrame::setPauseResume(bool pauseEnabled, bool resumeEnabled) {
  const auto state = [](bool enabled) {
    return static_cast<UINT>(MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  ::EnableMenuItem(menuBar_, static_cast<UINT>(menuIdOf(MenuCommand::PauseScreen)), state(pauseEnabled));
  ::EnableMenuItem(menuBar_, static_cast<UINT>(menuIdOf(MenuCommand::Resume)), state(resumeEnabled));
}

void LogMonitorFrame::requestWork() {
  // Runs from the message loop once the messages waiting now have been handled.
  ::PostMessageW(window_, kWork, 0, 0);
}

void LogMonitorFrame::putOnClipboard(const std::string& text) {
  if (!putTextOnClipboard(window_, text)) {
    boxes_.show({"The lines could not be copied: another program is using the clipboard.", "Lumeno",
                 BoxIcon::Exclamation, BoxButtons::Ok});
  }
}

}  // namespace lumeno::win32ui
