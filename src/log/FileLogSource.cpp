#include "log/FileLogSource.h"

namespace lumeno::log {

platform::FileIdentity FileLogSource::look() const {
  return platform::identifyFile(file_);
}

std::optional<std::size_t> FileLogSource::read(const platform::FileIdentity& file, std::uint64_t offset,
                                               std::span<char> buffer) const {
  return platform::readFileAt(file_, file, offset, buffer);
}

bool FileLogSource::clear() {
  return platform::writeFile(file_, {});
}

}  // namespace lumeno::log
