// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPoint>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/AppContext.h"
#include "iptools/IpToolsPresenter.h"
#include "iptools/IpToolsView.h"
#include "ui/qt/QtToolRunner.h"

class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QWidget;

namespace lumeno::iptools {

class OutputBoxFiller;

// The "IP Tools" window (objectName "frmMain"), built as designed, every control carrying its
// objectName. It shows what its presenter says and hands it every click, key and tool report;
// its tools run through a QtToolRunner.
//
// Constructing the window loads it: the result files get their placeholder texts and the window
// starts in Ping mode with " Ready...".
class IpToolsWindow : public QMainWindow, public IpToolsView {
  Q_OBJECT

 public:
  explicit IpToolsWindow(const AppContext& context, QWidget* parent = nullptr,
                         IpToolsPresenter::MonotonicClock clock = &IpToolsPresenter::steadyMilliseconds);
  IpToolsWindow(const IpToolsWindow&) = delete;
  IpToolsWindow& operator=(const IpToolsWindow&) = delete;
  ~IpToolsWindow() override;

  // The runner and the presenter, for the tests that try other limits and tools.
  [[nodiscard]] QtToolRunner& runner() { return runner_; }
  [[nodiscard]] IpToolsPresenter& presenter() { return *presenter_; }
  [[nodiscard]] bool isToolRunning() const { return presenter_->isToolRunning(); }
  // Process id of the running tool, 0 when none runs.
  [[nodiscard]] std::int64_t toolProcessId() const { return runner_.processId(); }

  // IpToolsView
  [[nodiscard]] std::string text(Control box) const override;
  void setText(Control control, const std::string& text) override;
  [[nodiscard]] bool isTicked(Control tick) const override;
  void setTicked(Control tick, bool ticked) override;
  void setEnabled(Control control, bool enabled) override;
  void selectMode(Mode mode) override;
  void appendOutput(const std::string& text) override;
  void insertOutputAtStart(const std::string& text) override;
  void removeOutputLines(std::size_t first, std::size_t count) override;
  void setOutputReadOnly(bool readOnly) override;
  void moveCaretToEnd() override;
  void moveCaretToStart() override;
  void selectAll(Control box) override;
  void popUpOptionsMenu() override;
  void showBusyPointer(bool busy) override;
  void beep() override;
  [[nodiscard]] int doubleClickInterval() const override;
  void closeWindow() override;

 Q_SIGNALS:
  // More of the running tool's output is in the output box.
  void toolOutputShown();
  // The tool has ended and the window shows its whole result file.
  void toolFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  void connectControls();
  void applyLayoutRule();
  [[nodiscard]] QWidget* widget(Control control) const;
  [[nodiscard]] int xPixels(int twips) const;
  [[nodiscard]] int yPixels(int twips) const;

  AppContext context_;
  QtToolRunner runner_;
  std::unique_ptr<IpToolsPresenter> presenter_;
  bool centred_ = false;

  // The controls the presenter knows, by what it calls them; menu items are kept as actions.
  std::array<QObject*, static_cast<std::size_t>(Control::ClearAllItem) + 1> controls_{};
  std::array<QRadioButton*, 4> modeButtons_{};
  QWidget* client_ = nullptr;
  QPlainTextEdit* outputBox_ = nullptr;
  OutputBoxFiller* outputFiller_ = nullptr;  // owned by the box
  QWidget* hostBox_ = nullptr;
  QWidget* countBox_ = nullptr;
  QMenu* optionsMenu_ = nullptr;
  QPoint popUpAt_;  // where the last click on the output box was
};

}  // namespace lumeno::iptools
