#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Files.h"

// The log monitor's rules for keeping its view of log.txt current without reading the whole file
// at every tick: what changed since the last look, and how the file's line ends are shown.
namespace lumeno::log {

// How the file on disk relates to the bytes the monitor shows.
enum class LogChange {
  Unchanged,  // same file, same size, same modification time: nothing to read
  Grew,       // same file, larger: only the new bytes need reading
  Replaced,   // shrunk, rewritten, or another file under the name: read it whole
  Missing,    // no file (or it cannot be looked at): show nothing, look again next time
};

// `shown` describes the file as it was when its bytes were last read (exists == false when
// nothing has been read yet); `current` is the file now.
LogChange classifyLogChange(const platform::FileIdentity& shown, const platform::FileIdentity& current);

// What to remember about a file after reading `bytesShown` bytes of it, given its identity
// looked up just before the read. The read may return more or fewer bytes than `before` said
// (a writer or a clear can slip in between); keeping the earlier modification time with the
// size actually shown makes the next tick re-read rather than miss such a change.
platform::FileIdentity identityOfShown(const platform::FileIdentity& before, std::uint64_t bytesShown);

// The log's lines end with CR LF. The view wants one line break per line and no stray CR, the
// same whether the file was read in one piece or in appended pieces, even when a CR LF pair is
// split across two reads. A lone CR or a lone LF also counts as one line break.
class LineEndFolder {
 public:
  // The bytes with every CR LF, CR and LF turned into one LF.
  std::string fold(std::string_view bytes);
  // Forgets the previous piece (before reading a file from its start).
  void reset() { afterCr_ = false; }

 private:
  bool afterCr_ = false;  // the previous piece ended with a CR already shown as a line break
};

}  // namespace lumeno::log
