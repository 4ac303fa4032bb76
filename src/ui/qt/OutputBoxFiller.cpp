// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/OutputBoxFiller.h"

#include <utility>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace lumeno::iptools {
namespace {

// Where the piece that starts at `from` ends: after the first line break past kPiece characters.
qsizetype pieceEnd(const QString& text, qsizetype from) {
  if (text.size() - from <= OutputBoxFiller::kPiece) return text.size();
  const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), from + OutputBoxFiller::kPiece);
  return lineBreak < 0 ? text.size() : lineBreak + 1;
}

}  // namespace

OutputBoxFiller::OutputBoxFiller(QPlainTextEdit* box) : QObject(box), box_(box) {
  next_.setSingleShot(true);
  next_.setInterval(0);
  connect(&next_, &QTimer::timeout, this, &OutputBoxFiller::putNextPiece);
}

void OutputBoxFiller::setText(const QString& text) {
  if (filling()) done();
  caret_ = nullptr;
  const qsizetype end = pieceEnd(text, 0);
  box_->setPlainText(end == text.size() ? text : text.left(end));
  if (end == text.size()) return;
  rest_ = text;
  at_ = end;
  // Like setPlainText: the pieces are not steps the user could undo.
  undoWasOn_ = box_->document()->isUndoRedoEnabled();
  box_->document()->setUndoRedoEnabled(false);
  next_.start();
}

void OutputBoxFiller::finish() {
  if (!filling()) return;
  QTextCursor end(box_->document());
  end.movePosition(QTextCursor::End);
  end.insertText(rest_.mid(at_));
  done();
  if (caret_) std::exchange(caret_, nullptr)();
}

void OutputBoxFiller::placeCaret(std::function<void()> place) {
  place();
  if (filling()) caret_ = std::move(place);
}

void OutputBoxFiller::putNextPiece() {
  if (!filling()) return;
  const qsizetype end = pieceEnd(rest_, at_);
  QTextCursor atEnd(box_->document());
  atEnd.movePosition(QTextCursor::End);
  atEnd.insertText(rest_.mid(at_, end - at_));
  at_ = end;
  if (at_ < rest_.size()) {
    next_.start();
    return;
  }
  done();
  if (caret_) std::exchange(caret_, nullptr)();
}

void OutputBoxFiller::done() {
  next_.stop();
  rest_.clear();
  rest_.squeeze();
  at_ = 0;
  box_->document()->setUndoRedoEnabled(undoWasOn_);
}

}  // namespace lumeno::iptools
