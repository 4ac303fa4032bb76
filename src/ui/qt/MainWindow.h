// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include <QColor>
#include <QIcon>
#include <QMainWindow>
#include <QPoint>
#include <QTimer>
#include <QUrl>

#include "app/MainPresenter.h"
#include "app/MainView.h"
#include "common/AppContext.h"
#include "settings/ConnectionOptions.h"
#include "ui/qt/ColorChooser.h"
#include "ui/qt/NetIpLookup.h"
#include "ui/qt/SharedWindow.h"

class QLabel;
class QLineEdit;
class QMenu;

namespace lumeno::settings {
class OptionsDialog;
}
namespace lumeno::log {
class LogMonitorWindow;
class HistoryWindow;
}  // namespace lumeno::log
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
// owner of the tray icon, the timers, the menus and every other window. What it shows and does
// is decided by its presenter.
class MainWindow : public QMainWindow, public MainView {
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

  // Builds the window and runs its part of start-up.
  MainWindow(const AppContext& context, Seams seams);
  explicit MainWindow(const AppContext& context) : MainWindow(context, Seams{}) {}
  ~MainWindow() override;

  // Shows the window, or takes it straight to the tray when "Minimize to sys-tray on load" is on.
  void showAtStartUp();

  [[nodiscard]] MainPresenter& presenter() { return presenter_; }
  [[nodiscard]] tray::SysTray& sysTray() { return *tray_; }
  [[nodiscard]] QMenu* trayMenu() const { return trayMenu_; }
  [[nodiscard]] QMenu* fileMenu() const { return fileMenu_; }
  [[nodiscard]] NetIpLookup& netIpLookup() { return netIp_; }
  [[nodiscard]] QLabel* infoLabel(InfoLabel which) const;
  settings::OptionsDialog& options();

  // MainView
  [[nodiscard]] std::string addressText() const override;
  void setAddressText(const std::string& text) override;
  void setAddressToolTip(const std::string& tip) override;
  void setAddressBackground(Rgb color) override;
  void setAddressForeground(Rgb color) override;
  void useDesktopBackground() override;
  void setStatus(const std::string& text, Rgb color) override;
  void setLamp(Rgb color) override;
  void setVersionText(const std::string& text) override;
  void setDateText(const std::string& text) override;
  void setTimeText(const std::string& text) override;
  void showInfoLabel(InfoLabel shown, const std::vector<InfoLabel>& hidden) override;
  void setTrayPicture(TrayPicture picture) override;
  void setTrayTip(const std::string& tip) override;
  void moveToTray() override;
  void removeFromTray() override;
  void showNotice(const std::string& text) override;
  void restoreWindow() override;
  void setCaption(const std::string& caption) override;
  void endProgram() override;
  void copyToClipboard(const std::string& text) override;
  std::optional<Rgb> chooseColor(Rgb current) override;
  void openWindow(OtherWindow window) override;
  void startNetIpLookup() override;
  void startSystemInfo() override;
  bool loggingSwitchOn() override;
  bool hostNamePopupOn() override;

 protected:
  void changeEvent(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Takes the minimised window into the tray; queued from its state change.
  Q_INVOKABLE void onMinimisedSettled();
  void buildControls();
  void buildMenus();
  void startTimers();
  void setWindowBackground(const QColor& color);
  void colourInfoLabels();

  AppContext context_;
  Seams seams_;
  std::unique_ptr<ColorChooser> ownColors_;
  std::unique_ptr<tray::SysTray> tray_;
  bool followDesktopBackground_ = false;
  std::optional<QPoint> placeBeforeHiding_;  // where it was when it went to the tray

  QLineEdit* addressBox_ = nullptr;
  QLabel* lamp_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* timeLabel_ = nullptr;
  QLabel* dateLabel_ = nullptr;
  Rgb statusColour_ = kBlue;  // the presenter's word; shown as a shade that reads on the strip
  QMenu* fileMenu_ = nullptr;
  QMenu* trayMenu_ = nullptr;
  QTimer clockTimer_{this};
  QTimer statusTimer_{this};
  QTimer alertTimer_{this};
  QIcon onlineIcon_;
  QIcon offlineIcon_;
  NetIpLookup netIp_;

  SharedWindow<settings::OptionsDialog> optionsDialog_;
  SharedWindow<log::LogMonitorWindow> logMonitor_;
  SharedWindow<iptools::IpToolsWindow> ipToolsWindow_;
  SharedWindow<about::AboutBox> aboutBox_;
  SharedWindow<log::HistoryWindow> historyWindow_;

  // Last, so that every control exists before it acts.
  MainPresenter presenter_;
};

}  // namespace lumeno::app
