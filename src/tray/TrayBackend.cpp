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
  void setIcon(const QIcon& icon) override { icon_.setIcon(icon); }
  void setToolTip(const QString& tip) override { icon_.setToolTip(tip); }

 private:
  QSystemTrayIcon icon_;
};

}  // namespace

std::unique_ptr<TrayBackend> makeSystemTrayBackend() {
  return std::make_unique<SystemTrayBackend>();
}

}  // namespace lumeno::tray
