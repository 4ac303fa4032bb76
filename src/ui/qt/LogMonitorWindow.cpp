// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/LogMonitorWindow.h"

#include <algorithm>
#include <string_view>

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt/LogLinesView.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::log {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LogMonitorWindow::LogMonitorWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      source_(context.file("log.txt")),
      presenter_(source_, *this, *context.boxes) {
  setObjectName(qs(design::kWindowName));
  setWindowTitle(qs(design::kCaption));
  QFont verdana(qs(design::kFontName));
  verdana.setPointSizeF(design::kFontPoints);
  setFont(verdana);

  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  logLines_ = new LogLinesView(presenter_, client);
  logLines_->setObjectName(qs(design::kLines.name));
  logLines_->setAccessibleName(qs(design::kLines.spoken));
  column->addWidget(logLines_);
  buildSearchBar(client);
  column->addWidget(searchBar_);
  setCentralWidget(client);

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(qs(design::kStatusBar.name));
  statusBar_->setFixedHeight(app::twipsY(*this, design::kStatusBarHeight));
  setStatusBar(statusBar_);

  fileMenu_ = menuBar()->addMenu(qs(design::kFileMenuCaption));
  fileMenu_->setObjectName(qs(design::kFileMenuName));
  for (const design::MenuItemDesign& item : design::kFileMenu) {
    QAction* action = fileMenu_->addAction(qs(item.caption));
    action->setObjectName(qs(item.name));
    connect(action, &QAction::triggered, this, [this, command = item.command] { onMenuCommand(command); });
    if (item.command == design::MenuCommand::PauseScreen) pauseAction_ = action;
    if (item.command == design::MenuCommand::Resume) resumeAction_ = action;
  }

  // The search keys belong to the window, not to the menu.
  auto* search = new QAction(this);
  search->setObjectName(QStringLiteral("findaction"));
  search->setShortcut(QKeySequence::Find);
  connect(search, &QAction::triggered, this, &LogMonitorWindow::openSearch);
  auto* next = new QAction(this);
  next->setShortcut(QKeySequence::FindNext);
  connect(next, &QAction::triggered, this, &LogMonitorWindow::findNext);
  auto* previous = new QAction(this);
  previous->setShortcut(QKeySequence::FindPrevious);
  connect(previous, &QAction::triggered, this, &LogMonitorWindow::findPrevious);
  addActions({search, next, previous});

  reloadTimer_ = new QTimer(this);
  reloadTimer_->setObjectName(qs(design::kReloadTimerName));
  reloadTimer_->setInterval(design::kReloadIntervalMs);
  connect(reloadTimer_, &QTimer::timeout, this, &LogMonitorWindow::onReloadTick);
  // Slices of indexing and searching run between the window's events.
  work_ = new QTimer(this);
  work_->setSingleShot(true);
  work_->setInterval(0);
  connect(work_, &QTimer::timeout, this, [this] { presenter_.doWork(); });

  // The designed client area lies below the menu bar.
  resize(app::twipsX(*this, design::kClientWidth),
         app::twipsY(*this, design::kClientHeight) + menuBar()->sizeHint().height());
  load();
}

LogMonitorWindow::~LogMonitorWindow() = default;

void LogMonitorWindow::buildSearchBar(QWidget* parent) {
  searchBar_ = new QWidget(parent);
  searchBar_->setObjectName(QStringLiteral("searchbar"));
  auto* row = new QHBoxLayout(searchBar_);
  row->setContentsMargins(2, 2, 2, 2);
  findBox_ = new QLineEdit(searchBar_);
  findBox_->setObjectName(qs(design::kFindBox.name));
  findBox_->setPlaceholderText(qs(design::kFindBox.text));
  findBox_->setAccessibleName(qs(design::kFindBox.spoken));
  findBox_->installEventFilter(this);
  findPreviousButton_ = new QPushButton(qs(design::kFindPrevious.text), searchBar_);
  findPreviousButton_->setObjectName(qs(design::kFindPrevious.name));
  findNextButton_ = new QPushButton(qs(design::kFindNext.text), searchBar_);
  findNextButton_->setObjectName(qs(design::kFindNext.name));
  findStateLabel_ = new QLabel(searchBar_);
  findStateLabel_->setObjectName(qs(design::kFindState.name));
  findStateLabel_->setTextFormat(Qt::PlainText);
  row->addWidget(findBox_, 1);
  row->addWidget(findPreviousButton_);
  row->addWidget(findNextButton_);
  row->addWidget(findStateLabel_);
  connect(findBox_, &QLineEdit::returnPressed, this, &LogMonitorWindow::findNext);
  connect(findNextButton_, &QPushButton::clicked, this, &LogMonitorWindow::findNext);
  connect(findPreviousButton_, &QPushButton::clicked, this, &LogMonitorWindow::findPrevious);
  searchBar_->hide();
}

void LogMonitorWindow::load() {
  loaded_ = true;
  centred_ = false;
  presenter_.load();
}

void LogMonitorWindow::onReloadTick() {
  presenter_.tick();
}

void LogMonitorWindow::onMenuCommand(design::MenuCommand command) {
  switch (command) {
    case design::MenuCommand::ClearLog: presenter_.clearLog(); break;
    case design::MenuCommand::PauseScreen: presenter_.pause(); break;
    case design::MenuCommand::Resume: presenter_.resume(); break;
    case design::MenuCommand::Exit: close(); break;
  }
}

void LogMonitorWindow::openSearch() {
  searchBar_->show();
  findBox_->setFocus();
  findBox_->selectAll();
}

void LogMonitorWindow::findNext() {
  if (!searchBar_->isVisible()) openSearch();
  presenter_.find(findBox_->text().toStdString(), true);
}

void LogMonitorWindow::findPrevious() {
  if (!searchBar_->isVisible()) openSearch();
  presenter_.find(findBox_->text().toStdString(), false);
}

void LogMonitorWindow::closeSearch() {
  searchBar_->hide();
  logLines_->setFocus();
}

bool LogMonitorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == findBox_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      closeSearch();
      return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers().testFlag(Qt::ShiftModifier)) {
      findPrevious();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void LogMonitorWindow::showLineCount(std::size_t count) {
  logLines_->setLineCount(count);
}

void LogMonitorWindow::showMoreLines(std::size_t count) {
  logLines_->addLines(count);
}

void LogMonitorWindow::scrollToBottom() {
  logLines_->scrollToBottom();
}

void LogMonitorWindow::scrollToLine(std::size_t line) {
  logLines_->scrollToLine(line);
}

void LogMonitorWindow::showNote(const std::string& note) {
  logLines_->setNote(qs(note));
}

void LogMonitorWindow::showSearchState(const std::string& text) {
  findStateLabel_->setText(qs(text));
}

void LogMonitorWindow::showStatus(const std::string& text) {
  statusBar_->showMessage(qs(text));
}

void LogMonitorWindow::setReloading(bool on) {
  if (on) {
    reloadTimer_->start();
  } else {
    reloadTimer_->stop();
  }
}

void LogMonitorWindow::setPauseResume(bool pauseEnabled, bool resumeEnabled) {
  pauseAction_->setEnabled(pauseEnabled);
  resumeAction_->setEnabled(resumeEnabled);
}

void LogMonitorWindow::requestWork() {
  work_->start();
}

void LogMonitorWindow::putOnClipboard(const std::string& text) {
  QGuiApplication::clipboard()->setText(qs(text));
}

void LogMonitorWindow::showEvent(QShowEvent* event) {
  // Shown again after it was closed: a fresh, running monitor.
  if (!loaded_) load();
  if (!centred_) {
    centred_ = true;
    app::centreOnScreen(*this);
  }
  keepMinimumOuterSize();
  QMainWindow::showEvent(event);
}

void LogMonitorWindow::resizeEvent(QResizeEvent* event) {
  keepMinimumOuterSize();
  QMainWindow::resizeEvent(event);
}

void LogMonitorWindow::closeEvent(QCloseEvent* event) {
  presenter_.unload();
  work_->stop();
  loaded_ = false;
  event->accept();
}

void LogMonitorWindow::keepMinimumOuterSize() {
  // The smallest size is that of the whole window, title bar and borders included.
  const QSize decoration = frameGeometry().size() - geometry().size();
  const QSize minimum(std::max(0, app::twipsX(*this, design::kMinimumOuterWidth) - decoration.width()),
                      std::max(0, app::twipsY(*this, design::kMinimumOuterHeight) - decoration.height()));
  if (minimumSize() != minimum) setMinimumSize(minimum);
}

}  // namespace lumeno::log
