// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumeno::test {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder();

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  [[nodiscard]] std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
  // Writes a file byte for byte.
  void write(std::string_view name, std::string_view bytes) const;
  // The file's bytes, or "<missing>" when it does not exist.
  [[nodiscard]] std::string read(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

}  // namespace lumeno::test
