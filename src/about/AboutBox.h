#pragma once

#include <string>

#include <QDialog>

#include "common/AppContext.h"
#include "platform/Registry.h"

class QFrame;
class QLabel;
class QPushButton;

namespace lumeno::about {

// The about box "frmAbout": title, version, the product picture, a link to the product's help
// page, and a button that starts the system-information tool. "Done", Enter and Esc close it.
class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(const AppContext& context, QWidget* parent = nullptr);
  // With another registry than the system's, for finding the system-information tool.
  AboutBox(const AppContext& context, const platform::Registry& registry, QWidget* parent = nullptr);

  // The product's help page, help.html where the context keeps it, as a file: URL.
  [[nodiscard]] static std::string helpPageUrl(const AppContext& context);

 public Q_SLOTS:
  void cmdSysInfo_Click();
  void cmdOK_Click();
  void Label5_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void place(QWidget* widget, int left, int top, int width, int height) const;

  const AppContext& context_;
  const platform::Registry& registry_;
  bool centred_ = false;

  QLabel* Picture1_ = nullptr;
  QLabel* lblTitle_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* Label5_ = nullptr;
  QFrame* Line1_ = nullptr;
  QPushButton* cmdSysInfo_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
};

}  // namespace lumeno::about
