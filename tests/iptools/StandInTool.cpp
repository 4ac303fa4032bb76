// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for ping, traceroute and netstat. Built in several kinds:
// - plain: prints each argument in brackets, then its working folder on standard error;
// - STAND_IN_STUBBORN: prints one line and ignores Ctrl+C (SIGINT), so only a kill ends it;
// - STAND_IN_FLOOD: prints LUMENO_STAND_IN_BYTES bytes of numbered lines of exactly 100 bytes.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#if defined(STAND_IN_STUBBORN)
  std::signal(SIGINT, SIG_IGN);
  std::fputs("started\n", stdout);
  std::fflush(stdout);
  for (;;) ::pause();
#elif defined(STAND_IN_FLOOD)
  const char* wanted = std::getenv("LUMENO_STAND_IN_BYTES");
  const unsigned long bytes = wanted != nullptr ? std::strtoul(wanted, nullptr, 10) : 0;
  for (unsigned long line = 1; line * 100 <= bytes; ++line) std::printf("line %010lu %083d\n", line, 0);
  return 0;
#else
  for (int i = 1; i < argc; ++i) std::printf("[%s]\n", argv[i]);
  std::fflush(stdout);
  char folder[4096];
  if (::getcwd(folder, sizeof folder) != nullptr) std::fprintf(stderr, "cwd: %s\n", folder);
  return 3;
#endif
}
