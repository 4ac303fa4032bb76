#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumeno::iptools {

// A result file holds at most this much, its last line included.
inline constexpr std::uint64_t kResultFileLimit = std::uint64_t{64} * 1024 * 1024;

// The last line of a result file whose tool printed more than the file may hold.
inline constexpr std::string_view kOutputCutNote = "[Output cut here: a result file keeps at most 64 MB.]\n";

// Decides how much of a tool's output still goes into its result file. Once the output reaches
// the limit, the rest is left out and kOutputCutNote closes the file as a line of its own.
class ResultCap {
 public:
  explicit ResultCap(std::uint64_t limitBytes = kResultFileLimit);

  struct Piece {
    std::string_view keep;  // the part of the bytes that goes into the file
    std::string note;       // then this, once, when the file has just become full
  };
  Piece take(std::string_view bytes);

  [[nodiscard]] bool full() const { return full_; }

 private:
  std::uint64_t room_;  // for output, the note's line kept aside
  bool full_ = false;
  bool atLineStart_ = true;
};

}  // namespace lumeno::iptools
