// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>

#include <QWidget>

#include "common/AppContext.h"
#include "log/FileLogSource.h"
#include "log/HistoryPresenter.h"
#include "log/HistoryView.h"
#include "platform/StampLayout.h"

class QLabel;
class QPushButton;
class QTimer;

namespace lumeno::log {

class HistoryStripView;

// "Connection history": the last 24 hours and the last 7 days as strips (online green, offline
// red, grey where nothing was watched) with their figures, kept current while it is open.
class HistoryWindow : public QWidget, private HistoryView {
  Q_OBJECT

 public:
  // `historyLogged`: whether logging and "Log connection changes" are on; `openOptions` shows
  // the options dialog.
  HistoryWindow(const AppContext& context, std::function<bool()> historyLogged,
                std::function<void()> openOptions,
                platform::StampLayout layout = platform::regionalStampLayout(), QWidget* parent = nullptr);
  ~HistoryWindow() override;

  [[nodiscard]] HistoryPresenter& presenter() { return presenter_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // HistoryView
  void showHistory() override;
  void showLoggingNote(const std::string& note) override;
  void setFollowing(bool on) override;

  FileLogSource source_;
  HistoryPresenter presenter_;
  QLabel* note_ = nullptr;
  QPushButton* options_ = nullptr;
  std::array<HistoryStripView*, 2> strips_{};
  std::array<QLabel*, 2> startTexts_{};
  std::array<std::array<QLabel*, 4>, 2> figures_{};
  QLabel* status_ = nullptr;
  QTimer* follow_ = nullptr;
};

}  // namespace lumeno::log
