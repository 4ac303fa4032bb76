// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>

#include "common/AppContext.h"
#include "settings/OptionsPresenter.h"
#include "settings/OptionsView.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QTabWidget;

namespace lumeno::settings {

// The options dialog (objectName "frmoptions"): five check boxes, each the store of one key of
// Lumeno.ini; "Clear log" and "View log" for the activity log. Creating it loads it (see
// OptionsPresenter). Its owner makes it delete itself on close, so "Done" unloads it and the
// next use loads it afresh from the file.
class OptionsDialog : public QDialog, public OptionsView {
  Q_OBJECT

 public:
  // `showLogMonitor` opens the log monitor window ("View log"); `live`, when given, receives the
  // connection options and keeps them after the dialog is gone.
  OptionsDialog(const AppContext& context, std::function<void()> showLogMonitor,
                ConnectionOptions* live = nullptr, QWidget* parent = nullptr);

  // The logging switch: "Use log file" is ticked.
  [[nodiscard]] bool isLogOn() const { return presenter_.isLogOn(); }
  // "Show hostname in popup on request" is ticked.
  [[nodiscard]] bool isHostNamePopupOn() const { return presenter_.isHostNamePopupOn(); }
  [[nodiscard]] const ConnectionOptions& connectionOptions() const { return presenter_.connectionOptions(); }

  // OptionsView
  void setTicked(Option option, bool ticked) override;
  void showInterfaces(const std::vector<std::string>& entries, std::size_t selected) override;
  void openLogMonitor() override;
  void closeDialog() override;

 private:
  void buildControls();
  // The controls below the alert's frame on the "Connection" tab.
  QLayout* buildConnectionOptions(QWidget* tab, QVBoxLayout* layout);
  void keepOneSizeForEveryTab(QTabWidget* tabs);
  [[nodiscard]] QCheckBox* box(Option option) const;

  std::function<void()> showLogMonitor_;
  OptionsPresenter presenter_;

  QCheckBox* alertBox_ = nullptr;
  QCheckBox* trayAtStartBox_ = nullptr;
  QCheckBox* hostNamePopupBox_ = nullptr;
  QCheckBox* logBox_ = nullptr;
  QCheckBox* startupBox_ = nullptr;
  QCheckBox* followAddressBox_ = nullptr;
  QCheckBox* logConnectionChangesBox_ = nullptr;
  QComboBox* interfaceList_ = nullptr;
  QLabel* interfaceLabel_ = nullptr;
  QPushButton* doneButton_ = nullptr;
  QPushButton* clearLogButton_ = nullptr;
  QPushButton* viewLogButton_ = nullptr;
};

}  // namespace lumeno::settings
