// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Memory.h"

#include <malloc.h>

#include <windows.h>

namespace lumeno::platform {

void releaseFreedMemory() {
  // The C library's heap first (it lies on the process heap), then the process heap itself.
  ::_heapmin();
  ::HeapCompact(::GetProcessHeap(), 0);
}

}  // namespace lumeno::platform
