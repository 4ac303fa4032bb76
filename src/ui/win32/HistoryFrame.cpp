// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/HistoryFrame.h"

#include <algorithm>
#include <utility>

#include <commctrl.h>

#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

constexpr const wchar_t* kClass = L"LumenoHistory";
enum ControlId : int { kOptions = 601 };

constexpr COLORREF kOnline = RGB(0, 160, 0);
constexpr COLORREF kOffline = RGB(220, 0, 0);
constexpr COLORREF kNotWatched = RGB(150, 150, 150);

// The design, in twips.
constexpr int kClientWidth = 9600;
constexpr int kMargin = 150;
constexpr int kLine = 300;
constexpr int kStripHeight = 480;
constexpr int kNoteHeight = 420;
constexpr int kButtonWidth = 1100;
// One strip's block: title, strip, its ends, two rows of figures and a gap.
constexpr int kBlock = kLine + kStripHeight + 3 * kLine + 180;
constexpr int kClientHeight = 2 * kMargin + kNoteHeight + 2 * kBlock + kLine;

void drawText(HDC dc, const std::string& text, RECT place, UINT format = DT_LEFT) {
  const std::wstring shown = wide(text);
  ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &place,
              format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void fill(HDC dc, RECT place, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &place, brush);
  ::DeleteObject(brush);
}

}  // namespace

HistoryFrame::HistoryFrame(const AppContext& context, std::function<bool()> historyLogged,
                           std::function<void()> openOptions, platform::StampLayout layout)
    : source_(context.file("log.txt")),
      presenter_(source_, *context.clock, std::move(layout), std::move(historyLogged), *this),
      openOptions_(std::move(openOptions)) {
  static const bool registered =
      registerWindowClass(kClass, &HistoryFrame::procedure,
                          {.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), .programIcon = true});
  (void)registered;
  font_ = messageFont();
  LOGFONTW bold{};
  ::GetObjectW(font_, sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  bold_ = ::CreateFontIndirectW(&bold);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, twips(kClientWidth), twips(kClientHeight)};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_APPWINDOW);
  window_ = ::CreateWindowExW(WS_EX_APPWINDOW, kClass, L"Connection history", style, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), this);
  HWND options =
      controls_.add(window_, L"BUTTON", "cmdhistoryoptions", "Options",
                    {kClientWidth - kMargin - kButtonWidth, kMargin, kButtonWidth, kNoteHeight - 60},
                    WS_TABSTOP | BS_PUSHBUTTON, kOptions);
  ::SendMessageW(options, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  // One tool over the whole window whose text follows the mouse: the outage under it.
  tips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                            ::GetModuleHandleW(nullptr), nullptr);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = 1;
  ::GetClientRect(window_, &tool.rect);
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  presenter_.load();
}

HistoryFrame::~HistoryFrame() {
  unload();
  if (bold_ != nullptr) ::DeleteObject(bold_);
}

void HistoryFrame::show() {
  ::ShowWindow(window_, ::IsIconic(window_) != FALSE ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(window_);
}

int HistoryFrame::top() const {
  return twips(kMargin) + (note_.empty() ? 0 : twips(kNoteHeight));
}

RECT HistoryFrame::stripPlace(std::size_t strip) const {
  const int y = top() + static_cast<int>(strip) * twips(kBlock) + twips(kLine);
  return {twips(kMargin), y, twips(kClientWidth - kMargin), y + twips(kStripHeight)};
}

LRESULT CALLBACK HistoryFrame::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &HistoryFrame::handle, &HistoryFrame::window_);
}

LRESULT HistoryFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = ::BeginPaint(window_, &paint);
      this->paint(dc);
      ::EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_TIMER:
      if (wParam == kFollowTimer) presenter_.tick();
      return 0;
    case WM_MOUSEMOVE:
      onMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kOptions) openOptions_();
      return 0;
    case WM_CLOSE: unload(); return 0;
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void HistoryFrame::paint(HDC dc) {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
  const int left = twips(kMargin);
  const int right = twips(kClientWidth - kMargin);
  const int line = twips(kLine);
  ::SelectObject(dc, font_);
  if (!note_.empty()) {
    drawText(dc, note_,
             {left, twips(kMargin), right - twips(kButtonWidth + 120), twips(kMargin + kNoteHeight - 60)});
  }
  const auto& strips = presenter_.strips();
  const auto& texts = presenter_.stripTexts();
  for (std::size_t i = 0; i < strips.size() && i < texts.size(); ++i) {
    const RECT place = stripPlace(i);
    ::SelectObject(dc, bold_);
    drawText(dc, texts[i].title, {left, place.top - line, right, place.top});
    ::SelectObject(dc, font_);
    fill(dc, place, kNotWatched);
    const log::HistoryStrip& strip = strips[i];
    const double span = std::max<double>(1.0, static_cast<double>(strip.to - strip.from));
    const auto width = static_cast<int>(place.right - place.left);
    const auto x = [&](log::WallSeconds at) {
      return static_cast<int>(place.left) +
             static_cast<int>(static_cast<double>(at - strip.from) / span * width);
    };
    // Outages over the online spans, each at least two pixels wide so a short one shows.
    for (const log::SpanState state : {log::SpanState::Online, log::SpanState::Offline}) {
      for (const log::Segment& segment : strip.segments) {
        if (segment.state != state) continue;
        const bool offline = state == log::SpanState::Offline;
        const int from = x(segment.from);
        const int to = std::max(x(segment.to), from + (offline ? 2 : 1));
        fill(dc, {from, place.top, to, place.bottom}, offline ? kOffline : kOnline);
      }
    }
    HBRUSH frame = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOWTEXT));
    ::FrameRect(dc, &place, frame);
    ::DeleteObject(frame);
    int y = place.bottom;
    drawText(dc, texts[i].startText, {left, y, right, y + line});
    drawText(dc, "now", {left, y, right, y + line}, DT_RIGHT);
    const int middle = (left + right) / 2;
    for (std::size_t f = 0; f < texts[i].figures.size(); ++f) {
      const int row = y + line * static_cast<int>(1 + f / 2);
      drawText(dc, texts[i].figures[f],
               {f % 2 == 0 ? left : middle, row, f % 2 == 0 ? middle : right, row + line});
    }
  }
  // The legend: a patch of each strip colour beside its word.
  const int legendTop = top() + 2 * twips(kBlock);
  int at = left;
  const std::pair<const char*, COLORREF> keys[] = {
      {"Online", kOnline}, {"Offline", kOffline}, {"Not watched", kNotWatched}};
  for (const auto& [word, colour] : keys) {
    const int patch = twips(180);
    const int patchTop = legendTop + (line - patch) / 2;
    fill(dc, {at, patchTop, at + patch, patchTop + patch}, colour);
    at += patch + twips(60);
    RECT measure{0, 0, 0, 0};
    const std::wstring text = wide(word);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, DT_CALCRECT | DT_SINGLELINE);
    drawText(dc, word, {at, legendTop, at + measure.right, legendTop + line});
    at += measure.right + twips(240);
  }
  drawText(dc, presenter_.status(), {at, legendTop, right, legendTop + line}, DT_RIGHT);
}

void HistoryFrame::onMouseMove(int x, int y) {
  std::string tip;
  for (std::size_t i = 0; i < presenter_.strips().size(); ++i) {
    const RECT place = stripPlace(i);
    if (y < place.top || y >= place.bottom) continue;
    const double width = std::max(1L, place.right - place.left);
    tip = presenter_.tipAt(i, (x - place.left) / width, 3.0 / width);
  }
  if (tip == tip_) return;
  tip_ = tip;
  std::wstring text = wide(tip);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = window_;
  tool.uId = 1;
  tool.lpszText = text.data();
  ::SendMessageW(tips_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tips_, TTM_ACTIVATE, tip.empty() ? FALSE : TRUE, 0);
}

void HistoryFrame::unload() {
  if (window_ == nullptr) return;
  presenter_.unload();
  HWND closing = window_;
  window_ = nullptr;
  ::SetWindowLongPtrW(closing, GWLP_USERDATA, 0);
  ::DestroyWindow(closing);
}

// HistoryView

void HistoryFrame::showHistory() {
  ::InvalidateRect(window_, nullptr, TRUE);
}

void HistoryFrame::showLoggingNote(const std::string& note) {
  if (note == note_) return;
  note_ = note;
  ::ShowWindow(controls_.find("cmdhistoryoptions"), note.empty() ? SW_HIDE : SW_SHOW);
  RECT frame{0, 0, twips(kClientWidth), twips(kClientHeight) - (note.empty() ? twips(kNoteHeight) : 0)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)), FALSE,
                       WS_EX_APPWINDOW);
  ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(window_, nullptr, TRUE);
}

void HistoryFrame::setFollowing(bool on) {
  if (window_ == nullptr) return;
  if (on) {
    ::SetTimer(window_, kFollowTimer, static_cast<UINT>(log::HistoryPresenter::kFollowInterval.count()),
               nullptr);
  } else {
    ::KillTimer(window_, kFollowTimer);
  }
}

}  // namespace lumeno::win32ui
