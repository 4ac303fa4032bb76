#pragma once

#include <memory>

#include <QLockFile>
#include <QString>

#include "common/AppContext.h"

namespace lumeno::app {

// The checks made before the main window exists.
enum class StartCheck { Go, AlreadyRunning, SettingsMissing, FilesFailed };

// The per-user lock that keeps a second copy from running. A copy that was killed leaves a
// lock whose owner is gone, and that lock is taken over; a running copy is never displaced.
class SingleInstance {
 public:
  explicit SingleInstance(const QString& lockFile);
  [[nodiscard]] bool acquired() const { return acquired_; }

  // Where this user's lock lives: the session's runtime folder.
  static QString defaultLockFile();

 private:
  QLockFile lock_;
  bool acquired_ = false;
};

// Another copy running: end silently. No Lumeno.ini (nor, installed, a packaged default to make
// the user's from): tell the user, then end; nothing is logged. The user's folders that cannot
// be made: tell the user, then end.
StartCheck checkBeforeStart(const AppContext& context, const SingleInstance& instance);

}  // namespace lumeno::app
