#pragma once

#include "platform/Files.h"

// The log monitor's rule for keeping its view of log.txt current without reading the whole file
// at every tick: what changed since the last look.
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

}  // namespace lumeno::log
