#include "iptools/ResultCap.h"

namespace lumeno::iptools {

ResultCap::ResultCap(std::uint64_t limitBytes) {
  const std::uint64_t noteRoom = kOutputCutNote.size() + 1;  // its own line break before it
  room_ = limitBytes > noteRoom ? limitBytes - noteRoom : 0;
}

ResultCap::Piece ResultCap::take(std::string_view bytes) {
  Piece piece;
  if (full_ || bytes.empty()) return piece;
  if (bytes.size() <= room_) {
    room_ -= bytes.size();
    piece.keep = bytes;
    atLineStart_ = bytes.back() == '\n';
    return piece;
  }
  piece.keep = bytes.substr(0, static_cast<std::size_t>(room_));
  if (!piece.keep.empty()) atLineStart_ = piece.keep.back() == '\n';
  room_ = 0;
  full_ = true;
  if (!atLineStart_) piece.note = "\n";
  piece.note.append(kOutputCutNote);
  return piece;
}

}  // namespace lumeno::iptools
