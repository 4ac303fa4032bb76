#include "log/LogMonitorReload.h"

namespace lumeno::log {

LogChange classifyLogChange(const platform::FileIdentity& shown, const platform::FileIdentity& current) {
  if (!current.exists) return LogChange::Missing;
  if (!shown.exists) return LogChange::Replaced;
  if (current.device != shown.device || current.inode != shown.inode) return LogChange::Replaced;
  if (current.size < shown.size) return LogChange::Replaced;
  if (current.size > shown.size) return LogChange::Grew;
  // Same size: a different time stamp means the file was rewritten in place.
  return current.modifiedNs == shown.modifiedNs ? LogChange::Unchanged : LogChange::Replaced;
}

platform::FileIdentity identityOfShown(const platform::FileIdentity& before, std::uint64_t bytesShown) {
  platform::FileIdentity shown = before;
  shown.exists = true;
  shown.size = bytesShown;
  return shown;
}

std::string LineEndFolder::fold(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    if (c == '\n' && afterCr_) {
      afterCr_ = false;  // the LF of a CR LF pair whose CR already made the break
      continue;
    }
    afterCr_ = c == '\r';
    out.push_back(afterCr_ ? '\n' : c);
  }
  return out;
}

}  // namespace lumeno::log
