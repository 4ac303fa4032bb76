// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

#include "FakeProgram.h"
#include "MainPresenterFixture.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/TrayBackend.h"

namespace lumeno::test {

// A notification area that only remembers whether the icon is shown.
struct RecordingTray : tray::TrayBackend {
  explicit RecordingTray(std::shared_ptr<bool> s) : shown(std::move(s)) {}
  [[nodiscard]] bool available() const override { return true; }
  void show() override { *shown = true; }
  void hide() override { *shown = false; }
  void setIcon(const QIcon&) override {}
  void setToolTip(const QString&) override {}
  void showMessage(const QString&, const QString&) override {}
  std::shared_ptr<bool> shown;
};

// Picks the queued colours; an empty entry is a Cancel.
struct ScriptedColors : app::ColorChooser {
  std::optional<QColor> choose(const QColor& current) override {
    openedOn.push_back(current);
    if (picks.empty()) return std::nullopt;
    const auto pick = picks.front();
    picks.erase(picks.begin());
    return pick;
  }
  std::vector<std::optional<QColor>> picks;
  std::vector<QColor> openedOn;
};

// A program folder with a settings file, fake platform services and a main window on them.
struct MainWindowFixture : FakeProgram {
  explicit MainWindowFixture(const std::string& ini = settingsWith("0", "0", "0", "0")) : FakeProgram(ini) {
    seams.colors = &colors;
    seams.endProgram = [this] { ++programEnds; };
    seams.trayBackend = [this] { return std::make_unique<RecordingTray>(trayShown); };
  }
  app::MainWindow& window() {
    if (!window_) window_ = std::make_unique<app::MainWindow>(context, seams);
    return *window_;
  }
  ScriptedColors colors;
  std::shared_ptr<bool> trayShown = std::make_shared<bool>(false);
  app::MainWindow::Seams seams;
  int programEnds = 0;

 private:
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace lumeno::test
