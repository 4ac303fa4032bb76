#pragma once

#include <memory>
#include <optional>

#include <QColor>
#include <QIcon>
#include <QString>

#include "FakeAutostart.h"
#include "FakeClock.h"
#include "FakeLauncher.h"
#include "FakeNetworkInfo.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "app/AppContext.h"
#include "app/ColorChooser.h"
#include "app/MainWindow.h"
#include "tray/TrayBackend.h"

namespace lumeno::test {

// A notification area that only remembers what it was told.
class RecordingTray : public tray::TrayBackend {
 public:
  struct State {
    bool available = true;
    bool shown = false;
    QString tip;
    qint64 iconKey = 0;
    int iconChanges = 0;
  };
  explicit RecordingTray(std::shared_ptr<State> state) : state_(std::move(state)) {}
  [[nodiscard]] bool available() const override { return state_->available; }
  void show() override { state_->shown = true; }
  void hide() override { state_->shown = false; }
  void setIcon(const QIcon& icon) override {
    state_->iconKey = icon.cacheKey();
    ++state_->iconChanges;
  }
  void setToolTip(const QString& tip) override { state_->tip = tip; }
  void click(QSystemTrayIcon::ActivationReason reason) const { activate(reason); }

 private:
  std::shared_ptr<State> state_;
};

// Picks the queued colours; an empty entry is a Cancel.
class ScriptedColors : public app::ColorChooser {
 public:
  std::optional<QColor> choose() override {
    ++opened;
    if (picks.empty()) return std::nullopt;
    auto pick = picks.front();
    picks.erase(picks.begin());
    return pick;
  }
  std::vector<std::optional<QColor>> picks;
  int opened = 0;
};

// A program folder with a settings file, fake platform services and a main window on them.
class MainWindowFixture {
 public:
  explicit MainWindowFixture(const std::string& ini = allOff()) {
    folder.write("Lumeno.ini", ini);
    context.programFolder = folder.path();
    context.executable = folder / "lumeno";
    context.boxes = &boxes;
    context.clock = &clock;
    context.network = &network;
    context.launcher = &launcher;
    context.autostart = &autostart;
    seams.colors = &colors;
    seams.endProgram = [this] { ++programEnds; };
    seams.trayBackend = [this] { return std::make_unique<RecordingTray>(tray); };
  }

  static std::string allOff() {
    return "[Options]\r\nalertifoffline=0\r\nhostnameintext1.text=0\r\nuselog=0\r\n\r\n[Automation]\r\n"
           "trayatstartup=0\r\nautostartup=0\r\n";
  }
  static std::string withKeys(const std::string& alert, const std::string& popup, const std::string& log,
                              const std::string& trayAtStart = "0") {
    return "[Options]\r\nalertifoffline=" + alert + "\r\nhostnameintext1.text=" + popup +
           "\r\nuselog=" + log + "\r\n\r\n[Automation]\r\ntrayatstartup=" + trayAtStart +
           "\r\nautostartup=0\r\n";
  }

  app::MainWindow& window() {
    if (!window_) window_ = std::make_unique<app::MainWindow>(context, seams);
    return *window_;
  }
  [[nodiscard]] std::string log() const { return folder.read("log.txt"); }

  TempFolder folder;
  platform::FakeClock clock;
  platform::FakeNetworkInfo network;
  platform::FakeLauncher launcher;
  platform::FakeAutostart autostart;
  ScriptedMessageBoxes boxes;
  ScriptedColors colors;
  std::shared_ptr<RecordingTray::State> tray = std::make_shared<RecordingTray::State>();
  AppContext context;
  app::MainWindow::Seams seams;
  int programEnds = 0;

 private:
  std::unique_ptr<app::MainWindow> window_;
};

}  // namespace lumeno::test
