#pragma once

#include <array>
#include <filesystem>
#include <functional>

#include <QDialog>

#include "app/AppContext.h"
#include "settings/SettingsAccess.h"

class QCheckBox;
class QPushButton;
class QTabWidget;

namespace lumeno::settings {

// The options dialog (objectName "frmoptions"): five check boxes, each the store of one key of
// Lumeno.ini, written as soon as it is clicked; "Clear log" and "View log" for the activity log.
// While the program runs, "Use log file" (chklog) and "Show hostname in popup on request"
// (chkhostnamepopup) are the live state of those two options.
//
// Creating the dialog loads it: the five keys are read in order and every box whose key reads as
// on is ticked, which runs that box's click behaviour (its key is written back as "1", and
// "Start when computer loads" writes the start-up entry again). Its owner makes it delete itself
// on close, so "Done" unloads it and the next use loads it afresh from the file.
class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // `showLogMonitor` opens the log monitor window ("View log").
  OptionsDialog(const AppContext& context, std::function<void()> showLogMonitor, QWidget* parent = nullptr);

  // The logging switch: "Use log file" is ticked.
  [[nodiscard]] bool isLogOn() const;
  // "Show hostname in popup on request" is ticked.
  [[nodiscard]] bool isHostNamePopupOn() const;

 private:
  struct Option {
    QCheckBox* box;
    const char* section;
    const char* key;
  };

  [[nodiscard]] std::array<Option, 5> options() const;
  void buildControls();
  void keepOneSizeForEveryTab(QTabWidget* tabs);
  void load();
  // What a click on one of the five boxes does (also run by loading when it ticks a box).
  void boxClicked(const Option& option);
  void clearLogClicked();

  bool ReadSetting();
  bool WriteSetting();

  AppContext context_;
  std::function<void()> showLogMonitor_;
  SettingFields fields_;

  QCheckBox* alertifoffline_ = nullptr;
  QCheckBox* trayatstartup_ = nullptr;
  QCheckBox* chkhostnamepopup_ = nullptr;
  QCheckBox* chklog_ = nullptr;
  QCheckBox* chkstartup_ = nullptr;
  QPushButton* exitoptions_ = nullptr;
  QPushButton* Command1_ = nullptr;
  QPushButton* Command2_ = nullptr;
};

// Empties the log file (creating it empty when missing). False when that did not happen: a
// read-only file, a folder in its place, a folder where it cannot be created.
bool clearLogFile(const std::filesystem::path& file);

}  // namespace lumeno::settings
