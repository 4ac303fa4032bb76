// Stands in for ping, traceroute and netstat in the tests.
//
// Built plain, it writes each argument it was given on a line of its own, in brackets, to
// standard output, then its working folder to standard error, and ends with status 3.
// Built with STAND_IN_BLOCKS, it writes one line and then waits, doing nothing, until it is
// killed: a tool that never ends on its own.
#include <unistd.h>

#include <climits>
#include <cstdio>

int main(int argc, char** argv) {
#ifdef STAND_IN_BLOCKS
  (void)argc;
  (void)argv;
  std::fputs("started\n", stdout);
  std::fflush(stdout);
  for (;;) ::pause();
#else
  for (int i = 1; i < argc; ++i) std::printf("[%s]\n", argv[i]);
  std::fflush(stdout);
  char folder[PATH_MAX];
  if (::getcwd(folder, sizeof folder) != nullptr) std::fprintf(stderr, "cwd: %s\n", folder);
  return 3;
#endif
}
