#pragma once

namespace lumeno::platform {

// Hands memory that the program has freed back to the system, where the C library keeps it for
// later use otherwise. Worth it after a window that held much has gone.
void releaseFreedMemory();

}  // namespace lumeno::platform
