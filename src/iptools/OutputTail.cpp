// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/OutputTail.h"

#include <utility>

namespace lumeno::iptools {
namespace {

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

}  // namespace

OutputTail::OutputTail(OutputLimits limits) : limits_(limits) {}

void OutputTail::append(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t used = lastOpen_ ? lines_.back().size() : 0;
    const std::size_t room = limits_.maxLineBytes > used ? limits_.maxLineBytes - used : 0;
    const std::size_t lineEnd = bytes.find('\n');
    if (lineEnd != std::string_view::npos && lineEnd <= room) {
      addPiece(bytes.substr(0, lineEnd + 1), true);
      bytes.remove_prefix(lineEnd + 1);
    } else if (bytes.size() <= room) {
      addPiece(bytes, false);
      bytes = {};
    } else {
      // Too long for one line: break it where no character is split.
      std::size_t cut = room;
      while (cut > 0 && isContinuationByte(bytes[cut])) --cut;
      if (cut == 0 && used == 0) cut = room;  // not text at all; any place will do
      addPiece(bytes.substr(0, cut), false);
      addPiece("\n", true);
      bytes.remove_prefix(cut);
    }
  }
  keepWithinLimits();
}

void OutputTail::addPiece(std::string_view piece, bool endsLine) {
  if (piece.empty()) return;
  if (!lastOpen_) lines_.emplace_back();
  lines_.back().append(piece);
  lastOpen_ = !endsLine;
  bytes_ += piece.size();
  if (rebuild_) return;
  pendingBytes_ += piece.size();
  if (pendingBytes_ > limits_.maxBytes) {
    // The view has not kept up with this much: it is cheaper to give it the text anew.
    rebuild_ = true;
    pendingBytes_ = 0;
  }
}

void OutputTail::keepWithinLimits() {
  while (lines_.size() > 1 && (lines_.size() > limits_.maxLines || bytes_ > limits_.maxBytes)) {
    const std::size_t size = lines_.front().size();
    if (!rebuild_) {
      if (shownLines_ == 1 && shownOpen_) {
        // The view holds the start of this line; its end is still waiting.
        pendingBytes_ -= size - shownOpenBytes_;
      } else if (shownLines_ == 0) {
        pendingBytes_ -= size;
      }
    }
    if (shownLines_ > 0) {
      --shownLines_;
      ++pendingDrop_;
      shownOpen_ = shownOpen_ && shownLines_ > 0;
    }
    bytes_ -= size;
    lines_.pop_front();
    leftOut_ = true;
  }
}

std::string OutputTail::text() const {
  std::string text;
  text.reserve(bytes_ + (leftOut_ ? kEarlierOutputLeftOut.size() + 1 : 0));
  if (leftOut_) {
    text.append(kEarlierOutputLeftOut);
    text.push_back('\n');
  }
  for (const std::string& line : lines_) text.append(line);
  return text;
}

OutputTail::Change OutputTail::takeChange() {
  Change change;
  if (rebuild_) {
    change.rebuild = true;
  } else {
    change.addNote = leftOut_ && !shownNote_;
    change.dropLines = pendingDrop_;
    change.appended.reserve(pendingBytes_);
    // The rest of the line the view holds the start of, then the lines it has not seen.
    if (shownOpen_) change.appended.append(lines_[shownLines_ - 1], shownOpenBytes_);
    for (std::size_t line = shownLines_; line < lines_.size(); ++line) change.appended.append(lines_[line]);
  }
  pendingBytes_ = 0;
  pendingDrop_ = 0;
  rebuild_ = false;
  shownLines_ = lines_.size();
  shownOpen_ = lastOpen_;
  shownOpenBytes_ = lastOpen_ ? lines_.back().size() : 0;
  shownNote_ = leftOut_;
  return change;
}

}  // namespace lumeno::iptools
