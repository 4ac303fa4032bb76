// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include <QMainWindow>

#include "common/AppContext.h"
#include "log/FileLogSource.h"
#include "log/LogMonitorDesign.h"
#include "log/LogMonitorPresenter.h"
#include "log/LogMonitorView.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTimer;
class QWidget;

namespace lumeno::log {

class LogLinesView;

// The log monitor "logfrm": the whole activity log, kept current every 3 seconds. The presenter
// decides everything; this window draws its lines and forwards the menu, the keys and the
// timers to it. Ctrl+F opens a search box under the lines (Enter or F3: next, Shift+Enter or
// Shift+F3: previous, Esc: close).
class LogMonitorWindow : public QMainWindow, private LogMonitorView {
  Q_OBJECT

 public:
  explicit LogMonitorWindow(const AppContext& context, QWidget* parent = nullptr);
  ~LogMonitorWindow() override;

  [[nodiscard]] LogMonitorPresenter& presenter() { return presenter_; }
  [[nodiscard]] const LogMonitorPresenter::Reads& reads() const { return presenter_.reads(); }
  // An item of the File menu was chosen.
  void onMenuCommand(design::MenuCommand command);

 public Q_SLOTS:
  // One tick of Timer1.
  void onReloadTick();
  void openSearch();
  void findNext();
  void findPrevious();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // LogMonitorView
  void showLineCount(std::size_t count) override;
  void showMoreLines(std::size_t count) override;
  void scrollToBottom() override;
  void scrollToLine(std::size_t line) override;
  void showNote(const std::string& note) override;
  void showSearchState(const std::string& text) override;
  void showStatus(const std::string& text) override;
  void setReloading(bool on) override;
  void setPauseResume(bool pauseEnabled, bool resumeEnabled) override;
  void requestWork() override;
  void putOnClipboard(const std::string& text) override;

  void buildSearchBar(QWidget* parent);
  void load();
  void closeSearch();
  void keepMinimumOuterSize();

  const AppContext& context_;
  FileLogSource source_;
  LogMonitorPresenter presenter_;

  LogLinesView* logLines_ = nullptr;
  QWidget* searchBar_ = nullptr;
  QLineEdit* findBox_ = nullptr;
  QPushButton* findNextButton_ = nullptr;
  QPushButton* findPreviousButton_ = nullptr;
  QLabel* findStateLabel_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  QTimer* reloadTimer_ = nullptr;
  QTimer* work_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* pauseAction_ = nullptr;
  QAction* resumeAction_ = nullptr;

  bool loaded_ = false;
  bool centred_ = false;
};

}  // namespace lumeno::log
