// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

#include <QStringList>

#include "FakeProgram.h"
#include "MainPresenterFixture.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/TrayBackend.h"

namespace lumeno::test {

// A notification area that records what it is asked to show, and clicks on its icon.
struct FakeTrayBackend final : tray::TrayBackend {
  [[nodiscard]] bool available() const override { return true; }
  void show() override { visible = true; }
  void hide() override { visible = false; }
  void setIcon(const QIcon& newIcon) override { icon = newIcon; }
  void setToolTip(const QString& newTip) override { tip = newTip; }
  void showMessage(const QString& title, const QString& text) override { balloons << title + ": " + text; }
  [[nodiscard]] bool clickActivates() const override { return false; }  // an X tray's icon
  void click(QSystemTrayIcon::ActivationReason reason) const { activate(reason); }
  bool visible = false;
  QIcon icon;
  QString tip;
  QStringList balloons;
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
    seams.endProgram = [] {};  // the tests go on
    seams.trayBackend = [this] {
      auto backend = std::make_unique<FakeTrayBackend>();
      tray = backend.get();
      return backend;
    };
  }
  app::MainWindow& window() {
    if (!window_) window_ = std::make_unique<app::MainWindow>(context, seams);
    return *window_;
  }
  ScriptedColors colors;
  FakeTrayBackend* tray = nullptr;  // owned by the window's tray icon
  app::MainWindow::Seams seams;

 private:
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace lumeno::test
