#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QColor>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>
#include <QUrl>

#include "common/AppContext.h"
#include "app/ColorChooser.h"
#include "app/InfoLabelRing.h"
#include "common/MessageBoxes.h"
#include "app/NetIpLookup.h"
#include "common/SharedWindow.h"
#include "log/ActivityLog.h"
#include "settings/SettingsAccess.h"

class QLabel;
class QLineEdit;
class QMenu;

namespace lumeno::settings {
class OptionsDialog;
}
namespace lumeno::log {
class LogMonitorWindow;
}
namespace lumeno::about {
class AboutBox;
}
namespace lumeno::iptools {
class IpToolsWindow;
}
namespace lumeno::tray {
class SysTray;
class TrayBackend;
}  // namespace lumeno::tray

namespace lumeno::app {

// The main window, frmIP: the local address, the status lamp and the four info labels; the
// owner of the tray icon, the timers, the menus and every other window.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // What tests replace; the defaults are the real things.
  struct Seams {
    ColorChooser* colors = nullptr;    // the standard colour dialog when null
    std::function<void()> endProgram;  // leaves the event loop when empty
    QUrl netIpService = QUrl(QString::fromLatin1(NetIpLookup::kServiceUrl));
    std::chrono::milliseconds netIpTimeout = NetIpLookup::kTimeout;
    std::function<std::unique_ptr<tray::TrayBackend>()> trayBackend;  // the desktop's tray when empty
  };

  // Runs the window's part of start-up: the tray-at-start setting, the address, the version,
  // the tray icon and the start entry of the activity log.
  MainWindow(const AppContext& context, Seams seams);
  explicit MainWindow(const AppContext& context) : MainWindow(context, Seams{}) {}
  ~MainWindow() override;

  // Shows the window, or takes it straight to the tray when "Minimize to sys-tray on load" is on.
  void showAtStartUp();
  [[nodiscard]] bool startsInTray() const { return startInTray_; }

  // The periodic work; the timers call these, and so can tests.
  void onClockTick();   // Timer1
  void onStatusTick();  // Timer2
  void onAlertTick();   // alertifoffline
  void CheckConnection();
  void refreshLocalIp();  // "Refresh Local IP"

  // Commands of the menus.
  void exitLumeno();    // "Exit" of the File menu: asks first
  void exitFromTray();  // "Exit" of the tray menu: no question
  void showLumeno();    // "Show Lumeno": back from the tray
  void copyIp();
  void getHostName();
  void chooseIpBackground();
  void chooseIpForeground();
  void resetColor();
  void showOptions();
  void showLogMonitor();
  void showIpTools();
  void showAbout();
  void showSystemInfo();
  void openTextEditor();
  void openHelp();
  void checkForUpdates();
  void emailReport();
  void refreshNetIp();
  void clickInfoLabel(InfoLabel clicked);

  // The logging switch: the options dialog's "Use log file" box (loads the dialog hidden).
  bool loggingOn();
  settings::OptionsDialog& options();

  [[nodiscard]] tray::SysTray& sysTray() { return *gSysTray_; }
  [[nodiscard]] QMenu* trayMenu() const { return mnusystray_; }
  [[nodiscard]] QMenu* fileMenu() const { return mnufile_; }
  [[nodiscard]] NetIpLookup& netIpLookup() { return netIp_; }
  [[nodiscard]] QLabel* infoLabel(InfoLabel which) const;

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Takes the minimised window into the tray; queued from its state change.
  Q_INVOKABLE void moveToTray();
  void buildControls();
  void buildMenus();
  void startTimers();
  bool ReadSetting();
  void applyTrayTip(const std::string& tip);
  void applyColorToText1(bool background);
  void setWindowBackground(const QColor& color);
  void endProgram();
  QIcon image(const char* key) const;
  std::string pageUrl(const char* anchor) const;

  AppContext context_;
  Seams seams_;
  std::unique_ptr<ColorChooser> ownColors_;
  settings::SettingFields fields_;
  log::ActivityLog log_;
  std::unique_ptr<tray::SysTray> gSysTray_;
  bool startInTray_ = false;
  bool alertOpen_ = false;
  bool followDesktopBackground_ = false;
  QColor heldColor_{Qt::black};  // the colour chooser keeps its colour for the whole run

  QLineEdit* Text1_ = nullptr;
  QLabel* lblled_ = nullptr;
  QLabel* Labelonline_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* lbltime_ = nullptr;
  QLabel* lbldate_ = nullptr;
  QMenu* mnufile_ = nullptr;
  QMenu* mnusystray_ = nullptr;
  QTimer Timer1_{this};
  QTimer Timer2_{this};
  QTimer alertifoffline_{this};
  QIcon mainIcon_;
  QIcon offlineIcon_;
  NetIpLookup netIp_;

  SharedWindow<settings::OptionsDialog> frmoptions_;
  SharedWindow<log::LogMonitorWindow> logfrm_;
  SharedWindow<iptools::IpToolsWindow> frmMain_;
  SharedWindow<about::AboutBox> frmAbout_;
};

}  // namespace lumeno::app
