// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/RunState.h"

#include <utility>

namespace lumeno::iptools {
namespace {

class RegularResultFile final : public ResultFile {
 public:
  platform::FileAccess open(const std::filesystem::path& file) override { return writer_.open(file); }
  bool write(std::string_view bytes) override { return writer_.write(bytes); }
  bool close() override { return writer_.close(); }
  [[nodiscard]] bool isOpen() const override { return writer_.isOpen(); }

 private:
  platform::RegularFileWriter writer_;
};

}  // namespace

RunState::RunState(RunHost& host, std::unique_ptr<ResultFile> file)
    : host_(host), result_(file ? std::move(file) : std::make_unique<RegularResultFile>()) {}

bool RunState::begin(Tool tool, const std::filesystem::path& folder) {
  if (running_) return false;
  running_ = true;
  stopping_ = false;
  stored_ = true;
  cap_ = ResultCap(resultLimit_);
  switch (result_->open(folder / std::string(resultFileName(tool)))) {
    case platform::FileAccess::Ok: return true;
    case platform::FileAccess::NotRegular: finishLater(RunEnd::ResultNotRegular); return false;
    default: finishLater(RunEnd::ResultUnwritable); return false;
  }
}

void RunState::notStarted(std::string_view note) {
  result_->write(note);
  result_->close();
  finishLater(RunEnd::NotStarted);
}

void RunState::failedToStart(std::string_view note) {
  result_->write(note);
  if (handlers_.output) handlers_.output(note);
  finishNow(RunEnd::NotStarted);
}

void RunState::onOutput(std::string_view bytes) {
  // The face reads everything, also after the file is full: a tool blocked on a full pipe could
  // not end.
  if (bytes.empty() || cap_.full()) return;
  const ResultCap::Piece piece = cap_.take(bytes);
  if (!piece.keep.empty()) {
    store(piece.keep);
    if (handlers_.output) handlers_.output(piece.keep);
  }
  if (!piece.note.empty()) {
    store(piece.note);
    closeResult();
    if (handlers_.output) handlers_.output(piece.note);
    endTool();
  }
}

void RunState::onToolEnded() {
  cancelKillTimer();
  closeResult();
  finishNow(!stored_      ? RunEnd::NotStored
            : cap_.full() ? RunEnd::Cut
            : stopping_   ? RunEnd::Stopped
                          : RunEnd::Ran);
}

void RunState::onFinishPosted() {
  if (!finishPending()) return;
  const RunEnd end = *pendingEnd_;
  pendingEnd_.reset();
  finishNow(end);
}

void RunState::onKillTimer() {
  killTimerArmed_ = false;
  if (host_.toolRunning()) host_.endToolNow();  // the tool did not end when asked
}

void RunState::stop() {
  if (!running_ || !host_.toolRunning()) return;
  stopping_ = true;
  endTool();
}

void RunState::abandon() {
  cancelKillTimer();
  pendingEnd_.reset();
  result_->close();
  running_ = false;
}

void RunState::store(std::string_view bytes) {
  // After a failed write (a full disk) nothing more goes in: the file would have a hole.
  if (stored_ && !result_->write(bytes)) stored_ = false;
}

void RunState::closeResult() {
  // A write the system had delayed may fail only here.
  if (result_->isOpen() && !result_->close()) stored_ = false;
}

void RunState::endTool() {
  if (!host_.toolRunning() || killTimerArmed_) return;
  // Where the tool cannot be asked, it is ended at once.
  if (!host_.interruptTool()) {
    host_.endToolNow();
    return;
  }
  killTimerArmed_ = true;
  host_.armKillTimer(stopGrace_);
}

void RunState::finishLater(RunEnd end) {
  // Reported from the event loop, like the end of a real process, so the caller has always
  // finished starting the run before it hears of its end.
  pendingEnd_ = end;
  host_.postFinish();
}

void RunState::finishNow(RunEnd end) {
  result_->close();
  running_ = false;  // begin() starts the next run afresh
  if (handlers_.finished) handlers_.finished(end);
}

void RunState::cancelKillTimer() {
  if (!killTimerArmed_) return;
  killTimerArmed_ = false;
  host_.cancelKillTimer();
}

}  // namespace lumeno::iptools
