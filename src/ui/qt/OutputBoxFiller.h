// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QObject>
#include <QString>
#include <QTimer>

class QPlainTextEdit;

namespace lumeno::iptools {

// Puts a long text into the output box a piece at a time between the window's events, so that
// showing a large result never holds up the program: the box takes a hundred thousand lines
// at a pace of its own. A short text goes in at once.
class OutputBoxFiller : public QObject {
  Q_OBJECT

 public:
  // Characters put in at once; a piece ends at the first line break after this many.
  static constexpr qsizetype kPiece = qsizetype{256} * 1024;

  explicit OutputBoxFiller(QPlainTextEdit* box);

  // Replaces the box's text; what an earlier call had still to put in is dropped.
  void setText(const QString& text);
  // Puts the rest in at once, for whatever needs the box's whole text now.
  void finish();
  [[nodiscard]] bool filling() const { return !rest_.isEmpty(); }
  // Moves the caret now and, while the box is being filled, once more when it is full.
  void placeCaret(std::function<void()> place);

 private:
  void putNextPiece();
  void done();

  QPlainTextEdit* box_;
  QString rest_;
  qsizetype at_ = 0;
  bool undoWasOn_ = true;
  std::function<void()> caret_;
  QTimer next_;
};

}  // namespace lumeno::iptools
