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

}  // namespace lumeno::log
