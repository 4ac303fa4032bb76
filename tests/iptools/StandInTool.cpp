// Stands in for ping, traceroute and netstat: prints each argument in brackets, then its working
// folder on standard error; built with STAND_IN_BLOCKS, prints one line and waits until killed.
#include <unistd.h>

#include <cstdio>

int main([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef STAND_IN_BLOCKS
  std::fputs("started\n", stdout);
  std::fflush(stdout);
  for (;;) ::pause();
#else
  for (int i = 1; i < argc; ++i) std::printf("[%s]\n", argv[i]);
  std::fflush(stdout);
  char folder[4096];
  if (::getcwd(folder, sizeof folder) != nullptr) std::fprintf(stderr, "cwd: %s\n", folder);
  return 3;
#endif
}
