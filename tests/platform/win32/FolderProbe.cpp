// SPDX-License-Identifier: GPL-3.0-or-later
// Run from a copy in a folder of the test's choosing: prints, one per line in UTF-8, what the
// program makes of the folder it was started from.
#include <filesystem>
#include <string>

#include <windows.h>

#include "common/AppContext.h"
#include "common/PathText.h"
#include "platform/Files.h"
#include "platform/win32/ModulePath.h"
#include "platform/win32/RunKeyAutostart.h"
#include "platform/win32/Text.h"

int main() {
  const std::filesystem::path program = lumeno::platform::modulePath();
  lumeno::AppContext context;
  context.programFolder = program.parent_path();
  const std::string lines =
      lumeno::pathText(context.programFolder) + "\n" +
      (lumeno::platform::fileExists(context.file("Lumeno.ini")) ? "ini found" : "no ini") + "\n" +
      lumeno::platform::toUtf8(lumeno::platform::runValueData(program)) + "\n";
  // Straight to the handle: the C runtime's text mode would turn each line end into CR LF.
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), lines.data(), static_cast<DWORD>(lines.size()), &written,
              nullptr);
  return 0;
}
