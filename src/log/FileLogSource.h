// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "common/PathText.h"
#include "log/LogSource.h"

namespace lumeno::log {

// log.txt on disk. Every call opens and closes the file, never blocks, and reads only a
// regular file.
class FileLogSource final : public LogSource {
 public:
  explicit FileLogSource(std::filesystem::path file) : file_(std::move(file)) {}

  [[nodiscard]] platform::FileIdentity look() const override;
  std::optional<std::size_t> read(const platform::FileIdentity& file, std::uint64_t offset,
                                  std::span<char> buffer) const override;
  bool clear() override;
  [[nodiscard]] std::string name() const override { return pathText(file_); }

 private:
  std::filesystem::path file_;
};

}  // namespace lumeno::log
