// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/LogMonitorWindow.h"

#include <algorithm>

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

#include "ui/qt/WindowGeometry.h"
#include "ui/qt/LogLinesView.h"

namespace lumeno::log {
namespace {

constexpr int kReloadIntervalMs = 3000;

QString qs(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LogMonitorWindow::LogMonitorWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent),
      context_(context),
      source_(context.file("log.txt")),
      presenter_(source_, *this, *context.boxes) {
  setObjectName(QStringLiteral("logfrm"));
  setWindowTitle(QStringLiteral("Log monitor"));
  QFont verdana(QStringLiteral("Verdana"));
  verdana.setPointSizeF(8.25);
  setFont(verdana);

  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  RichTextBox1_ = new LogLinesView(presenter_, client);
  RichTextBox1_->setObjectName(QStringLiteral("RichTextBox1"));
  RichTextBox1_->setAccessibleName(QStringLiteral("Log"));
  column->addWidget(RichTextBox1_);
  buildSearchBar(client);
  column->addWidget(searchBar_);
  setCentralWidget(client);

  StatusBar1_ = new QStatusBar(this);
  StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1_->setFixedHeight(app::twipsY(*this, 255));
  setStatusBar(StatusBar1_);

  mnufile_ = menuBar()->addMenu(QStringLiteral("File"));
  mnufile_->setObjectName(QStringLiteral("mnufile"));
  mnuclearlog_ = mnufile_->addAction(QStringLiteral("Clear log"));
  mnuclearlog_->setObjectName(QStringLiteral("mnuclearlog"));
  mnupausescreen_ = mnufile_->addAction(QStringLiteral("Pause screen"));
  mnupausescreen_->setObjectName(QStringLiteral("mnupausescreen"));
  mnuresume_ = mnufile_->addAction(QStringLiteral("Resume"));
  mnuresume_->setObjectName(QStringLiteral("mnuresume"));
  mnuexit_ = mnufile_->addAction(QStringLiteral("Exit"));
  mnuexit_->setObjectName(QStringLiteral("mnuexit"));
  connect(mnuclearlog_, &QAction::triggered, this, &LogMonitorWindow::mnuclearlog_Click);
  connect(mnupausescreen_, &QAction::triggered, this, &LogMonitorWindow::mnupausescreen_Click);
  connect(mnuresume_, &QAction::triggered, this, &LogMonitorWindow::mnuresume_Click);
  connect(mnuexit_, &QAction::triggered, this, &LogMonitorWindow::mnuexit_Click);

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

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(kReloadIntervalMs);
  connect(Timer1_, &QTimer::timeout, this, &LogMonitorWindow::Timer1_Timer);
  // Slices of indexing and searching run between the window's events.
  work_ = new QTimer(this);
  work_->setSingleShot(true);
  work_->setInterval(0);
  connect(work_, &QTimer::timeout, this, [this] { presenter_.doWork(); });

  // The designed client area lies below the menu bar.
  resize(app::twipsX(*this, 7005), app::twipsY(*this, 5355) + menuBar()->sizeHint().height());
  load();
}

LogMonitorWindow::~LogMonitorWindow() = default;

void LogMonitorWindow::buildSearchBar(QWidget* parent) {
  searchBar_ = new QWidget(parent);
  searchBar_->setObjectName(QStringLiteral("searchbar"));
  auto* row = new QHBoxLayout(searchBar_);
  row->setContentsMargins(2, 2, 2, 2);
  txtfind_ = new QLineEdit(searchBar_);
  txtfind_->setObjectName(QStringLiteral("txtfind"));
  txtfind_->setPlaceholderText(QStringLiteral("Find"));
  txtfind_->setAccessibleName(QStringLiteral("Find"));
  txtfind_->installEventFilter(this);
  cmdfindprevious_ = new QPushButton(QStringLiteral("Previous"), searchBar_);
  cmdfindprevious_->setObjectName(QStringLiteral("cmdfindprevious"));
  cmdfindnext_ = new QPushButton(QStringLiteral("Next"), searchBar_);
  cmdfindnext_->setObjectName(QStringLiteral("cmdfindnext"));
  lblfindstate_ = new QLabel(searchBar_);
  lblfindstate_->setObjectName(QStringLiteral("lblfindstate"));
  lblfindstate_->setTextFormat(Qt::PlainText);
  row->addWidget(txtfind_, 1);
  row->addWidget(cmdfindprevious_);
  row->addWidget(cmdfindnext_);
  row->addWidget(lblfindstate_);
  connect(txtfind_, &QLineEdit::returnPressed, this, &LogMonitorWindow::findNext);
  connect(cmdfindnext_, &QPushButton::clicked, this, &LogMonitorWindow::findNext);
  connect(cmdfindprevious_, &QPushButton::clicked, this, &LogMonitorWindow::findPrevious);
  searchBar_->hide();
}

void LogMonitorWindow::load() {
  loaded_ = true;
  centred_ = false;
  presenter_.load();
}

void LogMonitorWindow::Timer1_Timer() {
  presenter_.tick();
}

void LogMonitorWindow::mnuclearlog_Click() {
  presenter_.clearLog();
}

void LogMonitorWindow::mnupausescreen_Click() {
  presenter_.pause();
}

void LogMonitorWindow::mnuresume_Click() {
  presenter_.resume();
}

void LogMonitorWindow::mnuexit_Click() {
  close();
}

void LogMonitorWindow::openSearch() {
  searchBar_->show();
  txtfind_->setFocus();
  txtfind_->selectAll();
}

void LogMonitorWindow::findNext() {
  if (!searchBar_->isVisible()) openSearch();
  presenter_.find(txtfind_->text().toStdString(), true);
}

void LogMonitorWindow::findPrevious() {
  if (!searchBar_->isVisible()) openSearch();
  presenter_.find(txtfind_->text().toStdString(), false);
}

void LogMonitorWindow::closeSearch() {
  searchBar_->hide();
  RichTextBox1_->setFocus();
}

bool LogMonitorWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtfind_ && event->type() == QEvent::KeyPress) {
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
  RichTextBox1_->setLineCount(count);
}

void LogMonitorWindow::showMoreLines(std::size_t count) {
  RichTextBox1_->addLines(count);
}

void LogMonitorWindow::scrollToBottom() {
  RichTextBox1_->scrollToBottom();
}

void LogMonitorWindow::scrollToLine(std::size_t line) {
  RichTextBox1_->scrollToLine(line);
}

void LogMonitorWindow::showNote(const std::string& note) {
  RichTextBox1_->setNote(qs(note));
}

void LogMonitorWindow::showSearchState(const std::string& text) {
  lblfindstate_->setText(qs(text));
}

void LogMonitorWindow::showStatus(const std::string& text) {
  StatusBar1_->showMessage(qs(text));
}

void LogMonitorWindow::setReloading(bool on) {
  if (on) {
    Timer1_->start();
  } else {
    Timer1_->stop();
  }
}

void LogMonitorWindow::setPauseResume(bool pauseEnabled, bool resumeEnabled) {
  mnupausescreen_->setEnabled(pauseEnabled);
  mnuresume_->setEnabled(resumeEnabled);
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
  const QSize minimum(std::max(0, app::twipsX(*this, 5000) - decoration.width()),
                      std::max(0, app::twipsY(*this, 3000) - decoration.height()));
  if (minimumSize() != minimum) setMinimumSize(minimum);
}

}  // namespace lumeno::log
