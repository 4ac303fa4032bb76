#include "log/LogMonitorWindow.h"

#include <algorithm>
#include <string_view>

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTextCursor>
#include <QTimer>

#include "common/MessageBoxes.h"
#include "common/WindowGeometry.h"

namespace lumeno::log {
namespace {

constexpr int kReloadIntervalMs = 3000;
// How many of the last bytes shown are read again with the growth, to be sure the file still
// begins with what the box shows (a clear followed by enough new entries also "grows").
constexpr std::size_t kTailBytes = 1024;

}  // namespace

LogMonitorWindow::LogMonitorWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), file_(context.file("log.txt")) {
  setObjectName(QStringLiteral("logfrm"));
  setWindowTitle(QStringLiteral("Log monitor"));
  QFont verdana(QStringLiteral("Verdana"));
  verdana.setPointSizeF(8.25);
  setFont(verdana);

  RichTextBox1_ = new QPlainTextEdit(this);
  RichTextBox1_->setObjectName(QStringLiteral("RichTextBox1"));
  RichTextBox1_->setReadOnly(true);
  // Read-only, yet with a caret the user can move and select with.
  RichTextBox1_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  RichTextBox1_->setUndoRedoEnabled(false);
  setCentralWidget(RichTextBox1_);

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

  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setInterval(kReloadIntervalMs);
  connect(Timer1_, &QTimer::timeout, this, &LogMonitorWindow::Timer1_Timer);

  // The designed client area lies below the menu bar.
  resize(app::twipsX(*this, 7005), app::twipsY(*this, 5355) + menuBar()->sizeHint().height());
  load();
}

LogMonitorWindow::~LogMonitorWindow() = default;

void LogMonitorWindow::load() {
  mnupausescreen_->setEnabled(true);
  mnuresume_->setEnabled(false);
  showNothing();
  centred_ = false;
  loaded_ = true;
  // The box fills at the first tick, one interval after loading.
  Timer1_->start();
}

void LogMonitorWindow::Timer1_Timer() {
  // Paused or closed: the view stays exactly as the user left it.
  if (!Timer1_->isActive()) return;
  refresh();
  RichTextBox1_->moveCursor(QTextCursor::End);
}

void LogMonitorWindow::refresh() {
  const platform::FileIdentity current = platform::identifyFile(file_);
  switch (classifyLogChange(shown_, current)) {
    case LogChange::Missing: showNothing(); break;
    case LogChange::Unchanged:
      // A file that ends inside a multi-byte character and then stays as it is: show the
      // broken character rather than hide its bytes for good.
      if (decoder_.holdsIncompleteCharacter()) {
        decoder_.resetState();
        appendText(QString(QChar::ReplacementCharacter));
      }
      break;
    case LogChange::Grew: appendGrowth(current); break;
    case LogChange::Replaced: showWholeFile(current); break;
  }
}

void LogMonitorWindow::showWholeFile(const platform::FileIdentity& before) {
  const std::optional<std::string> bytes = platform::readFile(file_);
  if (!bytes) {
    showNothing();
    return;
  }
  ++reads_.whole;
  lineEnds_.reset();
  decoder_.resetState();
  RichTextBox1_->setPlainText(toText(*bytes));
  shown_ = identityOfShown(before, bytes->size());
  tail_.clear();
  rememberTail(*bytes);
}

void LogMonitorWindow::appendGrowth(const platform::FileIdentity& before) {
  const std::uint64_t from = shown_.size - tail_.size();
  const std::optional<std::string> bytes = platform::readFileFrom(file_, from);
  if (!bytes) {
    showNothing();
    return;
  }
  ++reads_.appended;
  if (!std::string_view(*bytes).starts_with(tail_)) {
    // Not a continuation of what the box shows: emptied and refilled since the last look.
    showWholeFile(before);
    return;
  }
  const std::string_view fresh = std::string_view(*bytes).substr(tail_.size());
  appendText(toText(fresh));
  shown_ = identityOfShown(before, from + bytes->size());
  rememberTail(fresh);
}

void LogMonitorWindow::showNothing() {
  if (!RichTextBox1_->document()->isEmpty()) RichTextBox1_->clear();
  shown_ = {};
  tail_.clear();
  lineEnds_.reset();
  decoder_.resetState();
}

void LogMonitorWindow::appendText(const QString& text) {
  if (text.isEmpty()) return;
  // At the very end, without the paragraph break appendPlainText would add.
  QTextCursor cursor(RichTextBox1_->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);
}

QString LogMonitorWindow::toText(std::string_view bytes) {
  const std::string folded = lineEnds_.fold(bytes);
  return decoder_.decode(QByteArrayView(folded.data(), static_cast<qsizetype>(folded.size())));
}

void LogMonitorWindow::rememberTail(std::string_view bytes) {
  if (bytes.size() >= kTailBytes) {
    tail_.assign(bytes.substr(bytes.size() - kTailBytes));
    return;
  }
  tail_.append(bytes);
  if (tail_.size() > kTailBytes) tail_.erase(0, tail_.size() - kTailBytes);
}

void LogMonitorWindow::mnuclearlog_Click() {
  const BoxRequest ask{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo};
  if (context_.boxes->show(ask) != BoxAnswer::Yes) return;
  if (!platform::writeFile(file_, {})) {
    context_.boxes->show({"The log file could not be cleared: " + file_.string(), "Lumeno",
                          BoxIcon::Exclamation, BoxButtons::Ok});
  }
  // Show the file as it is now, paused or not; the caret stays where it is.
  refresh();
}

void LogMonitorWindow::mnupausescreen_Click() {
  Timer1_->stop();
  mnupausescreen_->setEnabled(false);
  mnuresume_->setEnabled(true);
}

void LogMonitorWindow::mnuresume_Click() {
  Timer1_->start();
  mnupausescreen_->setEnabled(true);
  mnuresume_->setEnabled(false);
}

void LogMonitorWindow::mnuexit_Click() {
  close();
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
  Timer1_->stop();
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
