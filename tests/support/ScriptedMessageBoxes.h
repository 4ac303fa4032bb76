// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/MessageBoxes.h"

namespace lumeno::test {

// Answers message boxes from a queue and remembers every box that was shown.
// With an empty queue an OK box answers Ok and a Yes/No box answers No.
class ScriptedMessageBoxes : public MessageBoxes {
 public:
  BoxAnswer show(const BoxRequest& request) override {
    shown.push_back(request);
    if (onShow) onShow(request);
    if (!answers.empty()) {
      const BoxAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return request.buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
  }
  // The texts of the boxes shown since the last call.
  std::vector<std::string> takeTexts() {
    std::vector<std::string> texts;
    for (const BoxRequest& box : shown) texts.push_back(box.text);
    shown.clear();
    return texts;
  }

  std::deque<BoxAnswer> answers;
  std::vector<BoxRequest> shown;
  // Runs while the box is "open", so a test can check what happens meanwhile.
  std::function<void(const BoxRequest&)> onShow;
};

}  // namespace lumeno::test
