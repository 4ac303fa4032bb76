// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/IpToolsFrame.h"

#include <algorithm>
#include <utility>

#include <commctrl.h>

#include "iptools/IpToolsDesign.h"
#include "platform/Memory.h"
#include "ui/win32/Resources.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

using iptools::Control;
using iptools::Mode;
namespace design = iptools::design;

constexpr const wchar_t* kClass = L"LumenoIpTools";
constexpr UINT kPopUpOptions = WM_APP + 1;
constexpr int kFirstControlId = 500;
constexpr int kFirstMenuId = 600;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;

std::size_t slot(Control control) {
  return static_cast<std::size_t>(control);
}

std::string owned(std::string_view value) {
  return std::string(value);
}

// The tools print in the console's code page, not in UTF-8: what is not UTF-8 is read in that.
std::wstring decodeOutput(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  UINT codePage = CP_UTF8;
  int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length == 0) {
    codePage = CP_OEMCP;
    length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return wide;
}

// An edit box breaks lines only at CR LF; a tool or a note may end its lines with LF alone.
// `afterCr`: the text already in the box ends in CR, so a leading LF completes its line end.
struct CrLfText {
  std::wstring text;
  bool endsInCr;
};

CrLfText withCrLf(std::wstring_view text, bool afterCr) {
  CrLfText shown{{}, afterCr};
  shown.text.reserve(text.size() + text.size() / 32);
  for (const wchar_t c : text) {
    if (c == L'\n' && !shown.endsInCr) shown.text += L'\r';
    shown.text += c;
    shown.endsInCr = c == L'\r';
  }
  return shown;
}

DWORD styleOf(design::Kind kind) {
  switch (kind) {
    case design::Kind::OutputBox:
      return WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
             ES_NOHIDESEL;
    case design::Kind::LineBox: return WS_TABSTOP | ES_AUTOHSCROLL;
    // A label hears the mouse, so that its tooltip shows.
    case design::Kind::Label: return SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    case design::Kind::FramedLabel: return WS_BORDER | SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
    case design::Kind::Separator: return WS_BORDER;
    case design::Kind::OptionButton: return WS_TABSTOP | BS_RADIOBUTTON;
    case design::Kind::Button: return WS_TABSTOP | BS_PUSHBUTTON;
    case design::Kind::CheckBox: return WS_TABSTOP | BS_AUTOCHECKBOX;
  }
  return 0;
}

const wchar_t* classOf(design::Kind kind) {
  switch (kind) {
    case design::Kind::OutputBox:
    case design::Kind::LineBox: return L"EDIT";
    case design::Kind::Label:
    case design::Kind::FramedLabel:
    case design::Kind::Separator: return L"STATIC";
    default: return L"BUTTON";
  }
}

bool isEditBox(design::Kind kind) {
  return kind == design::Kind::OutputBox || kind == design::Kind::LineBox;
}

}  // namespace

IpToolsFrame::IpToolsFrame(const AppContext& context, iptools::IpToolsPresenter::MonotonicClock clock,
                           Seams seams)
    : seams_(std::move(seams)), context_(context), runner_(context.boxes) {
  static const bool registered =
      registerWindowClass(kClass, &IpToolsFrame::procedure,
                          {.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), .programIcon = true});
  (void)registered;
  buildMenus();
  // A fixed single border with a close box only, the designed client area below the menu bar.
  RECT frame{0, 0, twips(design::kClientWidth), twips(design::kClientHeight)};
  ::AdjustWindowRectEx(&frame, kStyle, TRUE, kExStyle);
  window_ = ::CreateWindowExW(kExStyle, kClass, wide(design::kCaption).c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              menuBar_, ::GetModuleHandleW(nullptr), this);
  tips_.create(window_);
  buildControls();
  applyLayoutRule();
  addDialogWindow(window_);

  presenter_ = std::make_unique<iptools::IpToolsPresenter>(context_, *this, runner_, std::move(clock));
  runner_.setHandlers({[this](std::string_view bytes) { presenter_->onToolOutput(bytes); },
                       [this](iptools::RunEnd end) { presenter_->onToolFinished(end); }});
  presenter_->onLoaded();
}

IpToolsFrame::~IpToolsFrame() {
  if (window_ != nullptr) close();
  runner_.kill();
  if (verdana_ != nullptr) ::DeleteObject(verdana_);
}

// ---- building ----------------------------------------------------------------------------------

void IpToolsFrame::buildControls() {
  verdana_ = makeFont(wide(design::kFontName).c_str(), design::kFontPoints, FW_NORMAL);
  const int digitsBottom = ascentOf(verdana_);
  int id = kFirstControlId;
  for (const design::ControlDesign& made : design::kControls) {
    const TwipsRect place{made.place.left, made.place.top, made.place.width, made.place.height};
    DWORD style = WS_VISIBLE | styleOf(made.kind);
    DWORD exStyle = isEditBox(made.kind) ? WS_EX_CLIENTEDGE : 0;
    // A box too low for its digits inside a sunken edge gets a border of one pixel: the text
    // starts at the top of the box, and the digits end at the font's ascent.
    if (made.kind == design::Kind::LineBox && made.verdana && twips(place.height) - 4 < digitsBottom) {
      style |= WS_BORDER;
      exStyle = 0;
    }
    HWND handle =
        controls_.add(window_, classOf(made.kind), made.name, made.text, place, style, id++, exStyle);
    if (made.verdana && made.kind != design::Kind::Separator)
      ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(verdana_), FALSE);
    // The narrow number boxes need every pixel for their digits ("100" hops fills its box).
    if (made.control == Control::CountBox || made.control == Control::HopsBox ||
        made.control == Control::TimeoutBox)
      ::SendMessageW(handle, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    if (made.maxLength > 0) ::SendMessageW(handle, EM_LIMITTEXT, static_cast<WPARAM>(made.maxLength), 0);
    if (!made.tip.empty()) tips_.set(handle, owned(made.tip));
    if (made.control) byControl_.at(slot(*made.control)) = handle;
    if (made.mode) modeButtons_.at(static_cast<std::size_t>(*made.mode)) = handle;
  }
  // The output box holds what the box keeps of a tool's output, far beyond an edit box's default.
  ::SendMessageW(outputBox(), EM_SETLIMITTEXT, 0, 0);

  // A click selects the whole text of these boxes; on the output box it also opens "Options".
  // Each box keeps the handlers before this one (the tooltip's among them) in its chain.
  for (const Control box : {Control::HostBox, Control::CountBox, Control::OutputBox})
    ::SetWindowSubclass(control(box), &IpToolsFrame::boxProcedure, 0, reinterpret_cast<DWORD_PTR>(this));

  // Tab follows the order of the windows: the designed order, the host box first.
  HWND previous = HWND_TOP;
  for (const std::string_view name : design::kTabOrder) {
    HWND next = controls_.find(name);
    ::SetWindowPos(next, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = next;
  }
}

void IpToolsFrame::buildMenus() {
  menuBar_ = ::CreateMenu();
  int id = kFirstMenuId;
  for (const design::MenuDesign& made : design::kMenus) {
    const bool hasItems =
        std::any_of(design::kMenus.begin(), design::kMenus.end(),
                    [&](const design::MenuDesign& item) { return item.parent == made.name; });
    HMENU parent = made.parent.empty() ? menuBar_ : menu(made.parent);
    HMENU items = hasItems ? ::CreatePopupMenu() : nullptr;
    const std::wstring caption = wide(made.caption);
    if (items != nullptr) {
      ::AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(items), caption.c_str());
    } else {
      ::AppendMenuW(parent, MF_STRING, static_cast<UINT_PTR>(id), caption.c_str());
    }
    menus_.push_back({std::string(made.name), id++, items});
  }
}

int IpToolsFrame::menuId(std::string_view name) const {
  for (const MenuEntry& entry : menus_)
    if (entry.name == name) return entry.id;
  return 0;
}

HMENU IpToolsFrame::menu(std::string_view name) const {
  for (const MenuEntry& entry : menus_)
    if (entry.name == name) return entry.menu;
  return nullptr;
}

HWND IpToolsFrame::control(Control which) const {
  return byControl_.at(slot(which));
}

void IpToolsFrame::show() {
  if (!centred_) {
    centred_ = true;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer{};
    ::GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::SetFocus(control(Control::HostBox));
  } else {
    ::ShowWindow(window_, SW_SHOWNORMAL);
  }
  ::SetForegroundWindow(window_);
}

// ---- messages ----------------------------------------------------------------------------------

LRESULT CALLBACK IpToolsFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &IpToolsFrame::handle, &IpToolsFrame::window_);
}

LRESULT CALLBACK IpToolsFrame::boxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<IpToolsFrame*>(data);
  LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
  // A multi-line box asks for every key, Tab among them; here Tab moves on, as in every other box.
  if (message == WM_GETDLGCODE) {
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    if (key != nullptr && key->wParam == VK_TAB && (key->message == WM_KEYDOWN || key->message == WM_CHAR))
      result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
  }
  // After the box's own handling of the click, which would move the selection again.
  if (message == WM_LBUTTONUP && self->presenter_) {
    if (window == self->outputBox()) {
      self->presenter_->onOutputBoxClicked();
    } else {
      self->presenter_->onBoxClicked(window == self->control(Control::HostBox) ? Control::HostBox
                                                                               : Control::CountBox);
    }
  }
  return result;
}

LRESULT IpToolsFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_SIZE: applyLayoutRule(); return 0;
    case WM_SETCURSOR:
      if (busy_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case kPopUpOptions: {
      const POINT at{static_cast<LONG>(static_cast<short>(LOWORD(lParam))),
                     static_cast<LONG>(static_cast<short>(HIWORD(lParam)))};
      if (seams_.popUpMenu) {
        seams_.popUpMenu(menu("mnuoptions"), at);
      } else {
        ::SetForegroundWindow(window_);
        ::TrackPopupMenu(menu("mnuoptions"), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0,
                         window_, nullptr);
      }
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // The output box is white, also while it is read-only.
      if (reinterpret_cast<HWND>(lParam) == outputBox()) {
        ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
        ::SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
      }
      break;
    case WM_CLOSE: close(); return 0;
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void IpToolsFrame::onCommand(int id, int notification) {
  if (id == IDCANCEL) {  // Esc
    presenter_->onEscPressed();
    return;
  }
  const std::string name = controls_.nameOf(id);
  if (!name.empty()) {
    if (notification != BN_CLICKED) return;
    for (std::size_t mode = 0; mode < modeButtons_.size(); ++mode) {
      HWND option = modeButtons_.at(mode);
      if (option != controls_.find(name)) continue;
      // Only a click that selects the button changes the mode.
      if (::SendMessageW(option, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED)) return;
      selectMode(static_cast<Mode>(mode));
      presenter_->onModeChosen(static_cast<Mode>(mode));
      return;
    }
    if (name == "cmdPing") presenter_->onPingClicked();
    if (name == "tracmd") presenter_->onTraceClicked();
    if (name == "netstatbutton") presenter_->onNetstatClicked();
    return;
  }
  for (const MenuEntry& entry : menus_) {
    if (entry.id != id) continue;
    if (entry.name == "mnuexit") presenter_->onExitChosen();
    if (entry.name == "mnulastping") presenter_->onLastPingChosen();
    if (entry.name == "mnulasttrace") presenter_->onLastTraceChosen();
    if (entry.name == "mnunetstat") presenter_->onLastNetstatChosen();
    if (entry.name == "mnuclearall") presenter_->onClearAllChosen();
    return;
  }
}

void IpToolsFrame::applyLayoutRule() {
  if (window_ == nullptr || outputBox() == nullptr) return;
  RECT outer{};
  ::GetWindowRect(window_, &outer);
  const int width = std::max<int>(outer.right - outer.left, twips(design::kMinimumOuterWidth));
  const int height = std::max<int>(outer.bottom - outer.top, twips(design::kMinimumOuterHeight));
  if (width != outer.right - outer.left || height != outer.bottom - outer.top) {
    ::SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT client{};
  ::GetClientRect(window_, &client);
  RECT box{};
  ::GetWindowRect(outputBox(), &box);
  // Too low a window keeps the box's height rather than giving it a negative one.
  const int boxHeight = client.bottom - twips(design::kRowsBelowOutput);
  ::MoveWindow(outputBox(), 0, 0, client.right, boxHeight >= 0 ? boxHeight : box.bottom - box.top, TRUE);
}

void IpToolsFrame::close() {
  // A running tool ends with the window; nothing is saved, nothing asked.
  presenter_->onClosing();
  HWND closing = window_;
  removeDialogWindow(closing);
  window_ = nullptr;
  ::SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
  ::DestroyWindow(closing);
  // What a long output took goes back to the system with the window.
  platform::releaseFreedMemory();
}

// ---- what the presenter asks -------------------------------------------------------------------

std::string IpToolsFrame::text(Control box) const {
  HWND handle = control(box);
  return handle != nullptr ? windowText(handle) : std::string();
}

void IpToolsFrame::setText(Control which, const std::string& value) {
  HWND handle = control(which);
  if (handle == nullptr) return;
  if (which != Control::OutputBox) {
    setWindowText(handle, value);
    return;
  }
  const CrLfText shown = withCrLf(decodeOutput(value), false);
  outputEndsInCr_ = shown.endsInCr;
  ::SetWindowTextW(handle, shown.text.c_str());
}

bool IpToolsFrame::isTicked(Control tick) const {
  return ::SendMessageW(control(tick), BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED);
}

void IpToolsFrame::setTicked(Control tick, bool ticked) {
  ::SendMessageW(control(tick), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void IpToolsFrame::setEnabled(Control which, bool enabled) {
  if (HWND handle = control(which)) {
    ::EnableWindow(handle, enabled ? TRUE : FALSE);
    return;
  }
  for (const design::MenuDesign& item : design::kMenus) {
    if (item.control == which)
      ::EnableMenuItem(menuBar_, static_cast<UINT>(menuId(item.name)),
                       static_cast<UINT>(MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED)));
  }
}

void IpToolsFrame::selectMode(Mode mode) {
  // Setting the buttons from here sends no BN_CLICKED, so nothing is reported back.
  for (std::size_t index = 0; index < modeButtons_.size(); ++index) {
    HWND option = modeButtons_.at(index);
    ::SendMessageW(option, BM_SETCHECK, index == static_cast<std::size_t>(mode) ? BST_CHECKED : BST_UNCHECKED,
                   0);
    // Unticking a radio button takes it out of the Tab order; each option button keeps its place.
    ::SetWindowLongW(option, GWL_STYLE, ::GetWindowLongW(option, GWL_STYLE) | WS_TABSTOP);
  }
}

void IpToolsFrame::replaceOutput(std::size_t from, std::size_t to, const std::string& value) {
  const std::wstring shown = withCrLf(decodeOutput(value), false).text;
  ::SendMessageW(outputBox(), EM_SETSEL, from, static_cast<LPARAM>(to));
  ::SendMessageW(outputBox(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown.c_str()));
}

void IpToolsFrame::appendOutput(const std::string& value) {
  const auto end = static_cast<std::size_t>(::GetWindowTextLengthW(outputBox()));
  const CrLfText shown = withCrLf(decodeOutput(value), outputEndsInCr_);
  outputEndsInCr_ = shown.endsInCr;
  ::SendMessageW(outputBox(), EM_SETSEL, end, static_cast<LPARAM>(end));
  ::SendMessageW(outputBox(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown.text.c_str()));
}

void IpToolsFrame::insertOutputAtStart(const std::string& value) {
  replaceOutput(0, 0, value);
}

void IpToolsFrame::removeOutputLines(std::size_t first, std::size_t count) {
  const LRESULT lines = ::SendMessageW(outputBox(), EM_GETLINECOUNT, 0, 0);
  const LRESULT from = ::SendMessageW(outputBox(), EM_LINEINDEX, first, 0);
  if (from < 0) return;
  const LRESULT to = static_cast<LRESULT>(first + count) < lines
                         ? ::SendMessageW(outputBox(), EM_LINEINDEX, first + count, 0)
                         : static_cast<LRESULT>(::GetWindowTextLengthW(outputBox()));
  replaceOutput(static_cast<std::size_t>(from), static_cast<std::size_t>(to), {});
}

void IpToolsFrame::setOutputReadOnly(bool readOnly) {
  ::SendMessageW(outputBox(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void IpToolsFrame::moveCaretToEnd() {
  const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(outputBox()));
  ::SendMessageW(outputBox(), EM_SETSEL, end, static_cast<LPARAM>(end));
  ::SendMessageW(outputBox(), EM_SCROLLCARET, 0, 0);
}

void IpToolsFrame::moveCaretToStart() {
  ::SendMessageW(outputBox(), EM_SETSEL, 0, 0);
  ::SendMessageW(outputBox(), EM_SCROLLCARET, 0, 0);
}

void IpToolsFrame::selectAll(Control box) {
  ::SendMessageW(control(box), EM_SETSEL, 0, -1);
}

void IpToolsFrame::popUpOptionsMenu() {
  // Once the click that asked for it is over; at the pointer, where the click was.
  POINT at{};
  ::GetCursorPos(&at);
  ::PostMessageW(window_, kPopUpOptions, 0, MAKELPARAM(at.x, at.y));
}

void IpToolsFrame::showBusyPointer(bool busy) {
  busy_ = busy;
  // The pointer changes where it is now, not only when it next moves.
  POINT at{};
  ::GetCursorPos(&at);
  HWND under = ::WindowFromPoint(at);
  if (under != nullptr && (under == window_ || ::IsChild(window_, under) != FALSE))
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void IpToolsFrame::beep() {
  if (seams_.beep) {
    seams_.beep();
    return;
  }
  ::MessageBeep(MB_OK);
}

int IpToolsFrame::doubleClickInterval() const {
  return static_cast<int>(::GetDoubleClickTime());
}

void IpToolsFrame::closeWindow() {
  close();
}

}  // namespace lumeno::win32ui
