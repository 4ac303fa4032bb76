#pragma once

#include "tray/TrayBackend.h"

namespace lumeno::tray::test {

// A notification area in memory. Like the real one, it keeps icon and tip while the icon is
// not shown, and the screen shows them only while it is.
class FakeTrayBackend final : public TrayBackend {
 public:
  bool trayAvailable = true;
  bool visible = false;
  QIcon icon;
  QString tip;

  [[nodiscard]] bool available() const override { return trayAvailable; }
  void show() override { visible = true; }
  void hide() override { visible = false; }
  void setIcon(const QIcon& newIcon) override { icon = newIcon; }
  void setToolTip(const QString& newTip) override { tip = newTip; }

  // What a user sees in the notification area now.
  [[nodiscard]] QIcon iconOnScreen() const { return visible ? icon : QIcon(); }
  [[nodiscard]] QString tipOnScreen() const { return visible ? tip : QString(); }

  // The user clicks the icon.
  void click(QSystemTrayIcon::ActivationReason reason) const { activate(reason); }
};

}  // namespace lumeno::tray::test
