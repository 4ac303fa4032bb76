// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/NamedMutexInstance.h"

namespace lumeno::platform {

NamedMutexInstance::NamedMutexInstance(const std::wstring& name)
    : mutex_(::CreateMutexW(nullptr, FALSE, name.c_str())) {
  // Another copy made it first: we hold a handle to its mutex, which says so.
  acquired_ = mutex_.valid() && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

std::unique_ptr<SingleInstance> claimSingleInstance() {
  return std::make_unique<NamedMutexInstance>();
}

}  // namespace lumeno::platform
