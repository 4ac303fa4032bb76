#include "tray/TrayBackend.h"

namespace lumeno::tray {
namespace {

class SystemTrayBackend final : public TrayBackend {
 public:
  SystemTrayBackend() {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &icon_,
                     [this](QSystemTrayIcon::ActivationReason reason) { activate(reason); });
  }

  [[nodiscard]] bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
  void show() override { icon_.show(); }
  void hide() override { icon_.hide(); }
  // The owner refreshes icon and tip every few seconds whether or not they changed; only a
  // real change goes to the desktop, which would otherwise redraw the icon every time.
  void setIcon(const QIcon& icon) override {
    if (icon.cacheKey() == iconKey_) return;
    iconKey_ = icon.cacheKey();
    icon_.setIcon(icon);
  }
  void setToolTip(const QString& tip) override {
    if (tip == icon_.toolTip()) return;
    icon_.setToolTip(tip);
  }
  void showMessage(const QString& title, const QString& text) override {
    icon_.showMessage(title, text, QSystemTrayIcon::Information);
  }

 private:
  QSystemTrayIcon icon_;
  qint64 iconKey_ = 0;
};

}  // namespace

std::unique_ptr<TrayBackend> makeSystemTrayBackend() {
  return std::make_unique<SystemTrayBackend>();
}

}  // namespace lumeno::tray
