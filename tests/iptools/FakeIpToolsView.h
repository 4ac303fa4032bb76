// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "iptools/IpToolsDesign.h"
#include "iptools/IpToolsView.h"
#include "iptools/ToolRunner.h"

namespace lumeno::iptools::test {

// An IP tools window that only remembers what it was told. Its boxes start with their designed
// texts, as the real window's do; the output box follows the live changes as the real box does.
struct FakeIpToolsView : IpToolsView {
  FakeIpToolsView() {
    for (const design::ControlDesign& control : design::kControls) {
      if (control.control) texts[*control.control] = std::string(control.text);
    }
  }

  [[nodiscard]] std::string text(Control box) const override { return texts.at(box); }
  void setText(Control control, const std::string& text) override {
    texts[control] = text;
    changes.emplace_back(control, text);
  }
  [[nodiscard]] bool isTicked(Control tick) const override { return ticked.count(tick) == 1; }
  void setTicked(Control tick, bool on) override {
    ticked.erase(tick);
    if (on) ticked.insert(tick);
    changes.emplace_back(tick, on ? "ticked" : "unticked");
  }
  void setEnabled(Control control, bool enabled) override {
    disabled.erase(control);
    if (!enabled) disabled.insert(control);
  }
  void selectMode(Mode mode) override { selectedMode = mode; }
  void appendOutput(const std::string& text) override {
    texts[Control::OutputBox] += text;
    appended.push_back(text);
  }
  void insertOutputAtStart(const std::string& text) override { texts[Control::OutputBox].insert(0, text); }
  void removeOutputLines(std::size_t first, std::size_t count) override {
    std::string& output = texts[Control::OutputBox];
    const auto lineStart = [&](std::size_t line) {
      std::size_t at = 0;
      for (std::size_t i = 0; i < line; ++i) {
        const std::size_t end = output.find('\n', at);
        if (end == std::string::npos) return output.size();
        at = end + 1;
      }
      return at;
    };
    const std::size_t from = lineStart(first);
    output.erase(from, lineStart(first + count) - from);
  }
  void setOutputReadOnly(bool on) override { outputReadOnly = on; }
  void moveCaretToEnd() override { caret = "end"; }
  void moveCaretToStart() override { caret = "start"; }
  void selectAll(Control) override {}
  void popUpOptionsMenu() override {}
  void showBusyPointer(bool on) override { busy = on; }
  void beep() override { ++beeps; }
  [[nodiscard]] int doubleClickInterval() const override { return 400; }
  void closeWindow() override { ++closes; }

  [[nodiscard]] bool enabled(Control control) const { return disabled.count(control) == 0; }
  [[nodiscard]] const std::string& status() const { return texts.at(Control::StatusLabel); }
  [[nodiscard]] const std::string& output() const { return texts.at(Control::OutputBox); }
  void type(Control box, const std::string& text) { texts[box] = text; }

  std::map<Control, std::string> texts;
  std::vector<std::pair<Control, std::string>> changes;  // every text and tick set, in order
  std::set<Control> ticked;
  std::set<Control> disabled;
  std::optional<Mode> selectedMode;
  std::vector<std::string> appended;
  bool outputReadOnly = false;
  std::string caret;
  bool busy = false;
  int beeps = 0;
  int closes = 0;
};

// A tool runner that remembers what it was asked; the test plays the tool's part by calling the
// presenter's onToolOutput and onToolFinished, as the window does with a real runner's reports.
struct FakeToolRunner : ToolRunner {
  void setHandlers(Handlers) override {}
  void start(const ToolRequest& request, const std::filesystem::path& folder) override {
    started.push_back(request);
    startedIn = folder;
  }
  void stop() override { ++stops; }
  void kill() override { ++kills; }
  [[nodiscard]] std::int64_t processId() const override { return started.empty() ? 0 : 4242; }

  std::vector<ToolRequest> started;
  std::filesystem::path startedIn;
  int stops = 0;
  int kills = 0;
};

}  // namespace lumeno::iptools::test
