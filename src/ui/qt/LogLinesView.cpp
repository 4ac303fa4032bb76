// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/LogLinesView.h"

#include <algorithm>
#include <climits>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>

#include "log/LogMonitorPresenter.h"

namespace lumeno::log {
namespace {

constexpr int kMargin = 3;  // pixels left of the text

int clampToInt(std::size_t value) {
  return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

// A scroll bar that is drawn again only when it would look different. On a long log a new line
// changes its range and value at every tick without moving the handle by a pixel, and drawing a
// scroll bar costs far more than the line itself.
class QuietScrollBar : public QScrollBar {
 public:
  using QScrollBar::QScrollBar;

 protected:
  void sliderChange(SliderChange change) override {
    if (change != SliderRangeChange && change != SliderValueChange) {
      QScrollBar::sliderChange(change);
      return;
    }
    // Range and value change one after the other; judge the look once both have.
    if (checkQueued_) return;
    checkQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          checkQueued_ = false;
          if (look() != drawn_) QScrollBar::sliderChange(SliderValueChange);
        },
        Qt::QueuedConnection);
  }
  void paintEvent(QPaintEvent* event) override {
    drawn_ = look();
    QScrollBar::paintEvent(event);
  }

 private:
  struct Look {
    QRect handle;
    bool atStart = false;
    bool atEnd = false;
    friend bool operator==(const Look&, const Look&) = default;
  };
  [[nodiscard]] Look look() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
  }

  Look drawn_;
  bool checkQueued_ = false;
};

// The scroll area lays itself out again whenever a range changes, which draws the whole area
// again; that is needed only when a scroll bar comes or goes. A range that grows keeps the value.
void setRangeOf(QScrollBar* bar, int maximum) {
  if ((bar->maximum() > 0) == (maximum > 0) && maximum >= bar->maximum()) {
    const QSignalBlocker quiet(bar);
    bar->setRange(0, maximum);
    return;
  }
  bar->setRange(0, maximum);
}

}  // namespace

LogLinesView::LogLinesView(LogMonitorPresenter& presenter, QWidget* parent)
    : QAbstractScrollArea(parent), presenter_(presenter) {
  setVerticalScrollBar(new QuietScrollBar(Qt::Vertical, this));
  setHorizontalScrollBar(new QuietScrollBar(Qt::Horizontal, this));
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  // Every pixel is painted here (paintEvent fills what it is asked for before it draws), so a
  // scroll can move the pixels drawn already and Qt need not clear anything first.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setSingleStep(1);
}

int LogLinesView::lineHeight() const {
  return std::max(1, fontMetrics().lineSpacing());
}

int LogLinesView::pageLines() const {
  return std::max(1, viewport()->height() / lineHeight());
}

std::size_t LogLinesView::firstVisibleLine() const {
  return static_cast<std::size_t>(std::max(0, verticalScrollBar()->value()));
}

std::size_t LogLinesView::lineAtY(int y) const {
  const int row = y < 0 ? -1 : y / lineHeight();
  if (row < 0) return firstVisibleLine() == 0 ? 0 : firstVisibleLine() - 1;
  return firstVisibleLine() + static_cast<std::size_t>(row);
}

void LogLinesView::setLineCount(std::size_t count) {
  count_ = count;
  if (count == 0) widestDrawn_ = 0;
  updateScrollBars();
  viewport()->update();
}

void LogLinesView::addLines(std::size_t count) {
  const std::size_t before = count_;
  count_ = count;
  updateScrollBars();
  // Only rows that were empty so far and are in sight need drawing.
  const std::size_t first = firstVisibleLine();
  const std::size_t end = first + static_cast<std::size_t>(pageLines()) + 1;
  if (before < end && count > before) {
    const std::size_t from = std::max(before, first);
    const int y = static_cast<int>(from - first) * lineHeight();
    viewport()->update(0, y, viewport()->width(), viewport()->height() - y);
  }
}

void LogLinesView::scrollContentsBy(int dx, int dy) {
  // Moves what is drawn already and draws only the strip that comes into sight.
  viewport()->scroll(dx, dy * lineHeight());
}

void LogLinesView::updateScrollBars() {
  const int page = pageLines();
  QScrollBar* vertical = verticalScrollBar();
  vertical->setPageStep(page);
  setRangeOf(vertical, std::max(0, clampToInt(count_) - page));
  // The widest line: guessed from its length until it has been drawn.
  const std::uint64_t longest = std::min<std::uint64_t>(presenter_.longestLine(), 100000);
  const int guessed = static_cast<int>(longest) * fontMetrics().averageCharWidth();
  const int width = std::max(widestDrawn_, guessed) + 2 * kMargin;
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setPageStep(viewport()->width());
  horizontal->setSingleStep(fontMetrics().averageCharWidth() * 4);
  setRangeOf(horizontal, std::max(0, width - viewport()->width()));
}

void LogLinesView::scrollToBottom() {
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogLinesView::scrollToLine(std::size_t line) {
  const std::size_t first = firstVisibleLine();
  const auto page = static_cast<std::size_t>(pageLines());
  if (line < first) {
    verticalScrollBar()->setValue(clampToInt(line));
  } else if (line >= first + page) {
    verticalScrollBar()->setValue(clampToInt(line - page + 1));
  }
  viewport()->update();
}

void LogLinesView::setNote(const QString& note) {
  if (note == note_) return;
  note_ = note;
  viewport()->update();
}

QStringList LogLinesView::visibleLines() const {
  QStringList lines;
  if (!note_.isEmpty()) return lines;
  const std::size_t first = firstVisibleLine();
  const std::size_t end = std::min(count_, first + static_cast<std::size_t>(pageLines()) + 1);
  for (std::size_t line = first; line < end; ++line) {
    lines << QString::fromStdString(presenter_.lineText(line));
  }
  return lines;
}

void LogLinesView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // The whole area asked for, rows below the last line and right of the text included: nothing
  // drawn before may show through.
  painter.fillRect(event->rect(), palette().color(QPalette::Base));
  if (!note_.isEmpty()) {
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, note_);
    return;
  }
  const int height = lineHeight();
  const int ascent = fontMetrics().ascent();
  const int x = kMargin - horizontalScrollBar()->value();
  // Only the rows the paint event asks for.
  const std::size_t top = firstVisibleLine();
  const std::size_t first = top + static_cast<std::size_t>(std::max(0, event->rect().top() / height));
  const std::size_t end =
      std::min(count_, top + static_cast<std::size_t>(event->rect().bottom() / height) + 1);
  const std::optional<std::size_t> current = presenter_.currentLine();
  int widest = widestDrawn_;
  for (std::size_t line = first; line < end; ++line) {
    const int y = static_cast<int>(line - top) * height;
    const QRect row(0, y, viewport()->width(), height);
    const QString text = QString::fromStdString(presenter_.lineText(line));
    if (presenter_.isSelected(line)) {
      painter.fillRect(row, palette().color(QPalette::Highlight));
      painter.setPen(palette().color(QPalette::HighlightedText));
    } else {
      painter.setPen(palette().color(QPalette::Text));
    }
    painter.drawText(x, y + ascent, text);
    if (current == line && hasFocus()) {
      painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
      painter.drawRect(row.adjusted(0, 0, -1, -1));
    }
    widest = std::max(widest, fontMetrics().horizontalAdvance(text));
  }
  if (widest > widestDrawn_) {
    widestDrawn_ = widest;
    updateScrollBars();
  }
}

void LogLinesView::resizeEvent(QResizeEvent* event) {
  // Showing the newest lines stays so when the window grows or shrinks.
  const bool atBottom = verticalScrollBar()->value() == verticalScrollBar()->maximum();
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
  if (atBottom) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void LogLinesView::selectAndShow(std::size_t line, bool extend) {
  if (count_ == 0) return;
  line = std::min(line, count_ - 1);
  presenter_.selectLine(line, extend);
  scrollToLine(line);
}

void LogLinesView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || count_ == 0 || !note_.isEmpty()) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const std::size_t line = lineAtY(event->position().toPoint().y());
  if (line >= count_) return;
  selectAndShow(line, event->modifiers().testFlag(Qt::ShiftModifier));
}

void LogLinesView::mouseMoveEvent(QMouseEvent* event) {
  if (!event->buttons().testFlag(Qt::LeftButton) || count_ == 0 || !note_.isEmpty()) return;
  // Dragging past the edge scrolls one line at a time.
  selectAndShow(lineAtY(event->position().toPoint().y()), true);
}

void LogLinesView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    presenter_.copySelection();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    presenter_.selectAll();
    viewport()->update();
    return;
  }
  if (count_ == 0) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  const bool extend = event->modifiers().testFlag(Qt::ShiftModifier);
  const std::size_t current = presenter_.currentLine().value_or(firstVisibleLine());
  const auto page = static_cast<std::size_t>(pageLines());
  switch (event->key()) {
    case Qt::Key_Up: selectAndShow(current == 0 ? 0 : current - 1, extend); break;
    case Qt::Key_Down: selectAndShow(current + 1, extend); break;
    case Qt::Key_PageUp: selectAndShow(current > page ? current - page : 0, extend); break;
    case Qt::Key_PageDown: selectAndShow(current + page, extend); break;
    case Qt::Key_Home: selectAndShow(0, extend); break;
    case Qt::Key_End: selectAndShow(count_ - 1, extend); break;
    default: QAbstractScrollArea::keyPressEvent(event); break;
  }
}

}  // namespace lumeno::log
