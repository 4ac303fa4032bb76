// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "common/AppContext.h"
#include "platform/posix/InstanceLock.h"

namespace lumeno::app {

// The checks made before the main window exists.
enum class StartCheck { Go, AlreadyRunning, SettingsMissing, FilesFailed };

// The per-user lock that keeps a second copy from running. Only a live copy holding the lock
// stops a start: whatever a killed copy left in the lock file is taken over, and a lock that
// cannot be made at all lets the program run rather than end unseen.
class SingleInstance {
 public:
  explicit SingleInstance(const QString& lockFile);
  [[nodiscard]] bool acquired() const {
    return lock_.outcome() != platform::InstanceLock::Outcome::HeldByAnother;
  }

  // Where this user's lock lives: the session's runtime folder, or this user's own folder in the
  // temporary folder; empty (no lock) when neither can be had safely.
  static QString defaultLockFile();

 private:
  platform::InstanceLock lock_;
};

// Another copy running: end silently. No Lumeno.ini (nor, installed, a packaged default to make
// the user's from): tell the user, then end; nothing is logged. The user's folders that cannot
// be made: tell the user, then end.
StartCheck checkBeforeStart(const AppContext& context, const SingleInstance& instance);

}  // namespace lumeno::app
