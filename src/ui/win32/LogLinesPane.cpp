// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/LogLinesPane.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <utility>

#include <windowsx.h>

#include "log/LogMonitorPresenter.h"
#include "ui/win32/Controls.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

constexpr const wchar_t* kClass = L"LumenoLogLines";
constexpr int kMargin = 3;  // pixels left of the text

int clampToInt(std::size_t value) {
  return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

bool held(int key) {
  return (::GetKeyState(key) & 0x8000) != 0;
}

LRESULT CALLBACK paneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* pane = reinterpret_cast<LogLinesPane*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (pane == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  return pane->handle(message, wParam, lParam);
}

}  // namespace

const wchar_t* LogLinesPane::windowClass() {
  static const bool registered = registerWindowClass(kClass, &paneProcedure, {});
  (void)registered;
  return kClass;
}

LogLinesPane::LogLinesPane(log::LogMonitorPresenter& presenter, HWND pane, HFONT font,
                           std::function<bool(WPARAM key)> windowKey)
    : presenter_(presenter), pane_(pane), font_(font), windowKey_(std::move(windowKey)) {
  HDC dc = ::GetDC(pane_);
  if (dc != nullptr) {
    const HGDIOBJ before = ::SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc, &metrics) != FALSE) {
      lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
      charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    }
    ::SelectObject(dc, before);
    ::ReleaseDC(pane_, dc);
  }
  ::SetWindowLongPtrW(pane_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  updateScrollBars();
}

LogLinesPane::~LogLinesPane() {
  if (::IsWindow(pane_) != FALSE) ::SetWindowLongPtrW(pane_, GWLP_USERDATA, 0);
}

int LogLinesPane::pageLines() const {
  RECT client{};
  ::GetClientRect(pane_, &client);
  return std::max(1, static_cast<int>(client.bottom) / lineHeight_);
}

std::size_t LogLinesPane::lastTop() const {
  const auto page = static_cast<std::size_t>(pageLines());
  return count_ > page ? count_ - page : 0;
}

std::size_t LogLinesPane::lineAtY(int y) const {
  if (y < 0) return top_ == 0 ? 0 : top_ - 1;
  return top_ + static_cast<std::size_t>(y / lineHeight_);
}

void LogLinesPane::setLineCount(std::size_t count) {
  count_ = count;
  if (count == 0) widestDrawn_ = 0;
  top_ = std::min(top_, lastTop());
  updateScrollBars();
  ::InvalidateRect(pane_, nullptr, FALSE);
}

void LogLinesPane::addLines(std::size_t count) {
  const std::size_t before = count_;
  count_ = count;
  updateScrollBars();
  // Only rows that were empty so far and are in sight need drawing.
  const std::size_t from = std::max(before, top_);
  if (count > before && from < top_ + static_cast<std::size_t>(pageLines()) + 1) {
    RECT rows{};
    ::GetClientRect(pane_, &rows);
    rows.top = static_cast<LONG>(from - top_) * lineHeight_;
    ::InvalidateRect(pane_, &rows, FALSE);
  }
}

void LogLinesPane::scrollToBottom() {
  scrollTo(lastTop());
}

void LogLinesPane::scrollToLine(std::size_t line) {
  const auto page = static_cast<std::size_t>(pageLines());
  if (line < top_) {
    scrollTo(line);
  } else if (line >= top_ + page) {
    scrollTo(line - page + 1);
  }
  ::InvalidateRect(pane_, nullptr, FALSE);
}

void LogLinesPane::setNote(const std::string& note) {
  if (note == note_) return;
  note_ = note;
  ::InvalidateRect(pane_, nullptr, FALSE);
}

void LogLinesPane::resized() {
  // Showing the newest lines stays so when the window grows or shrinks.
  const bool atBottom = top_ + static_cast<std::size_t>(page_) >= count_;
  updateScrollBars();
  scrollTo(atBottom ? lastTop() : std::min(top_, lastTop()));
  ::InvalidateRect(pane_, nullptr, FALSE);
}

std::vector<std::string> LogLinesPane::visibleLines() const {
  std::vector<std::string> lines;
  if (!note_.empty()) return lines;
  RECT client{};
  ::GetClientRect(pane_, &client);
  const auto rows = static_cast<std::size_t>((client.bottom + lineHeight_ - 1) / lineHeight_);
  for (std::size_t line = top_; line < std::min(count_, top_ + rows); ++line)
    lines.push_back(presenter_.lineText(line));
  return lines;
}

void LogLinesPane::scrollTo(std::size_t top) {
  top = std::min(top, lastTop());
  if (top != top_) {
    RECT client{};
    ::GetClientRect(pane_, &client);
    const std::size_t distance = top > top_ ? top - top_ : top_ - top;
    if (distance < static_cast<std::size_t>(client.bottom / lineHeight_)) {
      // Moves what is drawn already and draws only the rows that come into sight.
      const int dy = static_cast<int>(distance) * lineHeight_ * (top > top_ ? -1 : 1);
      ::ScrollWindowEx(pane_, 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
    } else {
      ::InvalidateRect(pane_, nullptr, FALSE);
    }
    top_ = top;
  }
  SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, clampToInt(top_), 0};
  ::SetScrollInfo(pane_, SB_VERT, &info, TRUE);
}

void LogLinesPane::scrollSideways(int left) {
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  ::GetScrollInfo(pane_, SB_HORZ, &info);
  const int most = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
  left = std::clamp(left, 0, most);
  if (left == left_) return;
  ::ScrollWindowEx(pane_, left_ - left, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  left_ = left;
  info.fMask = SIF_POS;
  info.nPos = left_;
  ::SetScrollInfo(pane_, SB_HORZ, &info, TRUE);
}

void LogLinesPane::updateScrollBars() {
  page_ = pageLines();
  // The vertical bar stays in place, greyed while every line fits.
  SCROLLINFO vertical{sizeof(vertical),
                      SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                      0,
                      count_ == 0 ? 0 : clampToInt(count_ - 1),
                      static_cast<UINT>(page_),
                      clampToInt(top_),
                      0};
  ::SetScrollInfo(pane_, SB_VERT, &vertical, TRUE);
  // The widest line: guessed from its length until it has been drawn.
  const std::uint64_t longest = std::min<std::uint64_t>(presenter_.longestLine(), 100000);
  const int width = std::max(widestDrawn_, static_cast<int>(longest) * charWidth_) + 2 * kMargin;
  RECT client{};
  ::GetClientRect(pane_, &client);
  SCROLLINFO horizontal{sizeof(horizontal),
                        SIF_RANGE | SIF_PAGE,
                        0,
                        width - 1,
                        static_cast<UINT>(std::max<LONG>(1, client.right)),
                        0,
                        0};
  ::SetScrollInfo(pane_, SB_HORZ, &horizontal, TRUE);
  if (left_ > std::max(0, width - static_cast<int>(client.right))) scrollSideways(width - client.right);
}

void LogLinesPane::selectAndShow(std::size_t line, bool extend) {
  if (count_ == 0) return;
  line = std::min(line, count_ - 1);
  presenter_.selectLine(line, extend);
  scrollToLine(line);
}

void LogLinesPane::invalidateRow(std::size_t line) {
  if (line < top_ || line > top_ + static_cast<std::size_t>(page_)) return;
  RECT row{};
  ::GetClientRect(pane_, &row);
  row.top = static_cast<LONG>(line - top_) * lineHeight_;
  row.bottom = row.top + lineHeight_;
  ::InvalidateRect(pane_, &row, FALSE);
}

void LogLinesPane::paint(HDC dc, const RECT& area) {
  RECT client{};
  ::GetClientRect(pane_, &client);
  const HGDIOBJ fontBefore = ::SelectObject(dc, font_);
  if (!note_.empty()) {
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_WINDOW));
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    RECT text{client.left + kMargin, client.top + kMargin, client.right - kMargin, client.bottom - kMargin};
    const std::wstring note = wide(note_);
    ::DrawTextW(dc, note.c_str(), static_cast<int>(note.size()), &text,
                DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, fontBefore);
    return;
  }
  // Only the rows the paint asks for.
  const int firstRow = std::max(0, static_cast<int>(area.top) / lineHeight_);
  const int endRow = (static_cast<int>(area.bottom) + lineHeight_ - 1) / lineHeight_;
  const std::optional<std::size_t> current = presenter_.currentLine();
  const bool focused = ::GetFocus() == pane_;
  int widest = widestDrawn_;
  for (int row = firstRow; row < endRow; ++row) {
    const std::size_t line = top_ + static_cast<std::size_t>(row);
    RECT rowRect{client.left, row * lineHeight_, client.right, (row + 1) * lineHeight_};
    if (line >= count_) {
      ::FillRect(dc, &rowRect, ::GetSysColorBrush(COLOR_WINDOW));
      continue;
    }
    const std::wstring text = wide(presenter_.lineText(line));
    const bool selected = presenter_.isSelected(line);
    ::SetBkColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::ExtTextOutW(dc, kMargin - left_, rowRect.top, ETO_OPAQUE | ETO_CLIPPED, &rowRect, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
    if (focused && current == line) ::DrawFocusRect(dc, &rowRect);
    SIZE extent{};
    if (::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) != FALSE)
      widest = std::max(widest, static_cast<int>(extent.cx));
  }
  ::SelectObject(dc, fontBefore);
  if (widest > widestDrawn_) {
    widestDrawn_ = widest;
    updateScrollBars();
  }
}

bool LogLinesPane::onKey(WPARAM key) {
  const bool control = held(VK_CONTROL);
  if (control && key == 'C') {
    presenter_.copySelection();
    return true;
  }
  if (control && key == 'A') {
    presenter_.selectAll();
    ::InvalidateRect(pane_, nullptr, FALSE);
    return true;
  }
  if ((control && key == 'F') || key == VK_F3) return windowKey_ && windowKey_(key);
  if (count_ == 0) return false;
  const bool extend = held(VK_SHIFT);
  const std::size_t current = presenter_.currentLine().value_or(top_);
  const auto page = static_cast<std::size_t>(pageLines());
  switch (key) {
    case VK_UP: selectAndShow(current == 0 ? 0 : current - 1, extend); return true;
    case VK_DOWN: selectAndShow(current + 1, extend); return true;
    case VK_PRIOR: selectAndShow(current > page ? current - page : 0, extend); return true;
    case VK_NEXT: selectAndShow(current + page, extend); return true;
    case VK_HOME: selectAndShow(0, extend); return true;
    case VK_END: selectAndShow(count_ - 1, extend); return true;
    default: return false;
  }
}

void LogLinesPane::onScroll(int bar, int request) {
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(pane_, bar, &info);
  if (bar == SB_HORZ) {
    const int step = charWidth_ * 4;
    switch (request) {
      case SB_LINELEFT: scrollSideways(left_ - step); break;
      case SB_LINERIGHT: scrollSideways(left_ + step); break;
      case SB_PAGELEFT: scrollSideways(left_ - static_cast<int>(info.nPage)); break;
      case SB_PAGERIGHT: scrollSideways(left_ + static_cast<int>(info.nPage)); break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: scrollSideways(info.nTrackPos); break;
      case SB_LEFT: scrollSideways(0); break;
      case SB_RIGHT: scrollSideways(INT_MAX); break;
      default: break;
    }
    return;
  }
  const auto page = static_cast<std::size_t>(pageLines());
  switch (request) {
    case SB_LINEUP: scrollTo(top_ == 0 ? 0 : top_ - 1); break;
    case SB_LINEDOWN: scrollTo(top_ + 1); break;
    case SB_PAGEUP: scrollTo(top_ > page ? top_ - page : 0); break;
    case SB_PAGEDOWN: scrollTo(top_ + page); break;
    // The track position has all 32 bits here, unlike the message's.
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: scrollTo(static_cast<std::size_t>(std::max(0, info.nTrackPos))); break;
    case SB_TOP: scrollTo(0); break;
    case SB_BOTTOM: scrollTo(lastTop()); break;
    default: break;
  }
}

LRESULT LogLinesPane::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paintStruct{};
      HDC dc = ::BeginPaint(pane_, &paintStruct);
      paint(dc, paintStruct.rcPaint);
      ::EndPaint(pane_, &paintStruct);
      return 0;
    }
    case WM_ERASEBKGND: return 1;  // every pixel is painted
    case WM_SIZE: resized(); return 0;
    case WM_VSCROLL: onScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: onScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_MOUSEWHEEL: {
      UINT perNotch = 3;
      ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
      wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
      const int notches = wheelRest_ / WHEEL_DELTA;
      wheelRest_ %= WHEEL_DELTA;
      const auto lines = static_cast<std::size_t>(std::abs(notches)) *
                         (perNotch == WHEEL_PAGESCROLL ? static_cast<std::size_t>(pageLines()) : perNotch);
      if (notches > 0) scrollTo(top_ > lines ? top_ - lines : 0);
      if (notches < 0) scrollTo(top_ + lines);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      ::SetFocus(pane_);
      if (count_ == 0 || !note_.empty()) return 0;
      const std::size_t line = lineAtY(GET_Y_LPARAM(lParam));
      if (line >= count_) return 0;
      dragging_ = true;
      ::SetCapture(pane_);
      selectAndShow(line, (wParam & MK_SHIFT) != 0);
      return 0;
    }
    case WM_MOUSEMOVE:
      // Dragging past the edge scrolls a line at a time.
      if (dragging_ && (wParam & MK_LBUTTON) != 0) selectAndShow(lineAtY(GET_Y_LPARAM(lParam)), true);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ::ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED: dragging_ = false; return 0;
    case WM_KEYDOWN:
      if (onKey(wParam)) return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (presenter_.currentLine()) invalidateRow(*presenter_.currentLine());
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: break;
  }
  return ::DefWindowProcW(pane_, message, wParam, lParam);
}

}  // namespace lumeno::win32ui
