// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QDialog>

#include "about/AboutDesign.h"
#include "about/AboutPresenter.h"
#include "about/AboutView.h"
#include "about/SysInfo.h"
#include "common/AppContext.h"
#include "platform/SystemInfoTool.h"

class QFrame;
class QLabel;
class QPushButton;

namespace lumeno::about {

// The about box "frmAbout": title, version, the product picture, a link to the product's help
// page, and a button that starts the system-information tool. It shows what its presenter says
// and hands it every click and key.
class AboutBox : public QDialog, public AboutView {
  Q_OBJECT

 public:
  explicit AboutBox(const AppContext& context, QWidget* parent = nullptr);
  // With another system-information tool than this system's.
  AboutBox(const AppContext& context, const platform::SystemInfoTool& sysInfoTool, QWidget* parent = nullptr);

  // AboutView
  void setTitle(const std::string& text) override;
  void setVersionText(const std::string& text) override;
  void unload() override;

 public Q_SLOTS:
  // Esc and the title bar's close come here.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void fitTextsToFont();
  void place(QWidget* widget, const design::ControlDesign& control) const;

  AboutPresenter presenter_;
  bool centred_ = false;

  QLabel* pictureLabel_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* webSiteLink_ = nullptr;
  QFrame* separatorLine_ = nullptr;
  QPushButton* sysInfoButton_ = nullptr;
  QPushButton* doneButton_ = nullptr;
};

}  // namespace lumeno::about
