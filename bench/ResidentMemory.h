// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

#include <unistd.h>

namespace lumeno::bench {

// The memory this process holds in RAM now, in KB, as the kernel counts it.
inline long residentKb() {
  long pages = 0;
  long resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace lumeno::bench
