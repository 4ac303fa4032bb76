// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include <QAbstractScrollArea>
#include <QString>
#include <QStringList>

namespace lumeno::log {

class LogMonitorPresenter;

// The log's lines, drawn straight from the presenter: only the lines in sight are asked for, so
// the cost of a frame does not grow with the log. Lines are selected with the mouse (Shift
// extends) and the arrow, page and Home/End keys; Ctrl+A selects all, Ctrl+C copies.
class LogLinesView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  LogLinesView(LogMonitorPresenter& presenter, QWidget* parent);

  void setLineCount(std::size_t count);
  // Lines added at the end; the lines drawn already are not drawn again.
  void addLines(std::size_t count);
  void scrollToBottom();
  void scrollToLine(std::size_t line);
  // A note in place of the lines; empty: the lines.
  void setNote(const QString& note);

  [[nodiscard]] std::size_t lineCount() const { return count_; }
  [[nodiscard]] std::size_t firstVisibleLine() const;
  // The lines in sight, as drawn.
  [[nodiscard]] QStringList visibleLines() const;
  [[nodiscard]] const QString& note() const { return note_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  [[nodiscard]] int lineHeight() const;
  [[nodiscard]] int pageLines() const;  // whole lines that fit in the viewport
  [[nodiscard]] std::size_t lineAtY(int y) const;
  void selectAndShow(std::size_t line, bool extend);
  void updateScrollBars();

  LogMonitorPresenter& presenter_;
  std::size_t count_ = 0;
  QString note_;
  int widestDrawn_ = 0;
};

}  // namespace lumeno::log
