// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/IpToolsWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <chrono>
#include <string>

#include "common/MessageBoxes.h"
#include "common/WindowGeometry.h"
#include "iptools/Address.h"
#include "platform/Memory.h"
#include "platform/RegularFile.h"

namespace lumeno::iptools {
namespace {

// The designed client area, in twips.
constexpr int kClientWidth = 5655;
constexpr int kClientHeight = 4830;
constexpr int kMinimumOuterWidth = 5000;
constexpr int kMinimumOuterHeight = 3000;
constexpr int kRowsBelowOutput = 2400;

constexpr const char* kDefaultHost = "www.debian.org";
constexpr const char* kStopCaption = "Stop";

QString qtext(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::int64_t steadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

QString decodeWhole(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QFont verdana() {
  QFont font(QStringLiteral("Verdana"));
  font.setPointSizeF(8.25);
  return font;
}

}  // namespace

IpToolsWindow::IpToolsWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      context_(context),
      runner_(new ToolRunner(this)),
      clock_(&steadyMilliseconds) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("IP Tools"));

  buildControls();
  buildMenus();

  // A fixed single border: the designed client area below the menu bar, not resizable by dragging.
  client_->resize(xPixels(kClientWidth), yPixels(kClientHeight));
  setFixedSize(xPixels(kClientWidth), yPixels(kClientHeight) + menuBar()->sizeHint().height());

  connect(runner_, &ToolRunner::outputArrived, this, &IpToolsWindow::showOutput);
  connect(runner_, &ToolRunner::finished, this, &IpToolsWindow::toolEnded);

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, &IpToolsWindow::stopTool);

  load();
  txtIP_->setFocus();
}

IpToolsWindow::~IpToolsWindow() {
  runner_->abandon();
  // What a long output took goes back to the system with the window, not only to the heap.
  liveOutput_.reset();
  txtOutPut_->document()->clear();
  platform::releaseFreedMemory();
}

void IpToolsWindow::buildControls() {
  client_ = new QWidget(this);
  setCentralWidget(client_);
  const QFont font = verdana();

  const auto label = [&](const char* name, const QString& caption, QRect place, const QString& tip) {
    auto* widget = new QLabel(caption, client_);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    widget->setFont(font);
    if (!tip.isEmpty()) widget->setToolTip(tip);
    return widget;
  };
  const auto lineEdit = [&](const char* name, const QString& text, QRect place, int maxLength,
                            const QString& tip, bool withVerdana) {
    auto* widget = new QLineEdit(text, client_);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    if (maxLength > 0) widget->setMaxLength(maxLength);
    if (withVerdana) widget->setFont(font);
    if (!tip.isEmpty()) widget->setToolTip(tip);
    return widget;
  };
  const auto option = [&](const char* name, const QString& caption, QRect place) {
    auto* widget = new QRadioButton(caption, client_);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);  // as narrow as the button, so a caption is cut off
    return widget;
  };
  const auto button = [&](const char* name, const QString& caption, QRect place, const QString& tip) {
    auto* widget = new QPushButton(caption, client_);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    widget->setFont(font);
    widget->setToolTip(tip);
    widget->setAutoDefault(false);
    return widget;
  };
  const auto checkBox = [&](const char* name, const QString& caption, QRect place, const QString& tip) {
    auto* widget = new QCheckBox(caption, client_);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(place);
    widget->setFont(font);
    widget->setToolTip(tip);
    return widget;
  };
  const auto separator = [&](int index, QRect place) {
    auto* widget = new QLabel(client_);
    widget->setObjectName(QStringLiteral("Label6"));
    widget->setProperty("index", index);
    widget->setFrameShape(QFrame::Box);
    widget->setLineWidth(1);
    widget->setGeometry(place);
  };

  txtOutPut_ = new QPlainTextEdit(client_);
  txtOutPut_->setObjectName(QStringLiteral("txtOutPut"));
  txtOutPut_->setGeometry(twips(0, 0, 5655, 2415));
  txtOutPut_->setFont(font);
  txtOutPut_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Live output is added piece by piece; an undo record of every piece would keep it all.
  txtOutPut_->setUndoRedoEnabled(false);
  QPalette white = txtOutPut_->palette();
  white.setColor(QPalette::Base, Qt::white);
  white.setColor(QPalette::Text, Qt::black);
  txtOutPut_->setPalette(white);

  pingopt_ = option("pingopt", QStringLiteral("Option1"), twips(120, 2580, 255, 255));
  txtIP_ = lineEdit("txtIP", QString::fromLatin1(kDefaultHost), twips(480, 2565, 1935, 285), 128,
                    QStringLiteral("Insert Ip or Domain address here to test..."), true);
  label("Label5", QStringLiteral("pings:"), twips(2520, 2580, 615, 255),
        QStringLiteral("Amount of true pings"));
  amountping_ = label("amountping", QStringLiteral("0"), twips(3120, 2580, 255, 255),
                      QStringLiteral("Amount of true pings"));
  label("lblMain", QStringLiteral("Value :"), twips(3480, 2580, 735, 255),
        QStringLiteral("How many times to ping IP/Domain"));
  txtNumber_ = lineEdit("txtNumber", QStringLiteral("4"), twips(4200, 2580, 375, 255), 2,
                        QStringLiteral("Amount of times to ping."), true);
  cmdPing_ =
      button("cmdPing", QStringLiteral("Ping"), twips(4680, 2520, 855, 375), QStringLiteral("Start ping"));
  separator(0, twips(120, 3000, 5415, 15));

  ipopt_ = option("ipopt", QString(), twips(120, 3120, 255, 255));
  const QString octetTip =
      QStringLiteral("Enter the IP to do a trace route on. Class type will be displayed in status.");
  const std::array<const char*, 4> octetNames{"iptxt1", "iptxt2", "iptxt3", "iptxt4"};
  for (int i = 0; i < 4; ++i) {
    iptxt_[i] = lineEdit(octetNames[static_cast<std::size_t>(i)], QString(),
                         twips(480 + 480 * i, 3105, 495, 285), 3, octetTip, false);
  }
  label("Label1", QStringLiteral("Hops :"), twips(2520, 3120, 615, 255), QString());
  hops_ = lineEdit("hops", QStringLiteral("30"), twips(3120, 3150, 375, 195), 3,
                   QStringLiteral("Limit the amount of hops."), true);
  label("Label2", QStringLiteral("Time out :"), twips(3600, 3120, 975, 255), QString());
  timeout_ = lineEdit("timeout", QStringLiteral("3000"), twips(4560, 3150, 615, 195), 6,
                      QStringLiteral("Time in 'ms' before trace route gives up."), true);
  label("Label3", QStringLiteral("ms"), twips(5280, 3120, 255, 255), QString());

  urlopt_ = option("urlopt", QString(), twips(120, 3540, 255, 255));
  urltxt_ = lineEdit("urltxt", QStringLiteral("www."), twips(480, 3525, 1935, 285), 0,
                     QStringLiteral("Enter your domain address to do a trace route on."), true);
  chkgethostnames_ =
      checkBox("chkgethostnames", QStringLiteral("Get host names"), twips(2520, 3480, 1695, 375),
               QStringLiteral("Display detail on server names if able to.."));
  tracmd_ = button("tracmd", QStringLiteral("Trace"), twips(4680, 3480, 855, 375),
                   QStringLiteral("Start trace route"));
  separator(1, twips(120, 3960, 5415, 15));

  netstatopt_ = option("netstatopt", QStringLiteral("Option1"), twips(120, 4140, 255, 255));
  chknetstatall_ = checkBox("chknetstatall", QStringLiteral("Show all"), twips(480, 4140, 1095, 255),
                            QStringLiteral("Displays all connections and listening ports."));
  netstatbutton_ = button("netstatbutton", QStringLiteral("Netstat"), twips(4680, 4080, 855, 375),
                          QStringLiteral("Get status on connections to and from this computer."));

  classlbl_ = label("classlbl", QString(), twips(0, 4560, 1575, 255), QStringLiteral("status"));
  classlbl_->setFrameShape(QFrame::Box);
  auto* label4 = label("Label4", QString(), twips(1560, 4560, 4095, 255), QString());
  label4->setFrameShape(QFrame::Box);

  // Tab order; the host box comes first.
  const std::array<QWidget*, 19> focusOrder{
      txtIP_,      txtNumber_,     cmdPing_,   ipopt_,   iptxt_[0],     iptxt_[1],        iptxt_[2],
      iptxt_[3],   hops_,          timeout_,   urlopt_,  urltxt_,       chkgethostnames_, tracmd_,
      netstatopt_, netstatbutton_, txtOutPut_, pingopt_, chknetstatall_};
  for (std::size_t i = 1; i < focusOrder.size(); ++i) setTabOrder(focusOrder[i - 1], focusOrder[i]);

  connect(pingopt_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) applyMode(Mode::Ping);
  });
  connect(ipopt_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) applyMode(Mode::AddressTrace);
  });
  connect(urlopt_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) applyMode(Mode::DomainTrace);
  });
  connect(netstatopt_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) applyMode(Mode::Netstat);
  });
  connect(cmdPing_, &QPushButton::clicked, this, &IpToolsWindow::pingClicked);
  connect(tracmd_, &QPushButton::clicked, this, &IpToolsWindow::traceClicked);
  connect(netstatbutton_, &QPushButton::clicked, this, &IpToolsWindow::netstatClicked);

  // A click selects the whole text of these boxes, so that typing replaces it.
  txtIP_->installEventFilter(this);
  txtNumber_->installEventFilter(this);
  txtOutPut_->viewport()->installEventFilter(this);
}

void IpToolsWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
  file->setObjectName(QStringLiteral("mnufile"));
  QAction* exit = file->addAction(QStringLiteral("Exit"));
  exit->setObjectName(QStringLiteral("mnuexit"));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  mnuoptions_ = menuBar()->addMenu(QStringLiteral("Options"));
  mnuoptions_->setObjectName(QStringLiteral("mnuoptions"));
  QMenu* view = mnuoptions_->addMenu(QStringLiteral("View"));
  view->setObjectName(QStringLiteral("mnuview"));
  mnulastping_ = view->addAction(QStringLiteral("Last ping"));
  mnulastping_->setObjectName(QStringLiteral("mnulastping"));
  mnulasttrace_ = view->addAction(QStringLiteral("Last trace route"));
  mnulasttrace_->setObjectName(QStringLiteral("mnulasttrace"));
  mnunetstat_ = view->addAction(QStringLiteral("Last netstat"));
  mnunetstat_->setObjectName(QStringLiteral("mnunetstat"));
  mnuclearall_ = mnuoptions_->addAction(QStringLiteral("Clear all"));
  mnuclearall_->setObjectName(QStringLiteral("mnuclearall"));

  connect(mnulastping_, &QAction::triggered, this, &IpToolsWindow::showLastPing);
  connect(mnulasttrace_, &QAction::triggered, this, &IpToolsWindow::showLastTrace);
  connect(mnunetstat_, &QAction::triggered, this, &IpToolsWindow::showLastNetstat);
  connect(mnuclearall_, &QAction::triggered, this, &IpToolsWindow::clearAll);
}

void IpToolsWindow::load() {
  // A result file that is not a regular file keeps its place untouched; its tool will say so.
  for (const FileText& placeholder : kPlaceholders) {
    platform::writeRegularFile(resultPath(placeholder.file), placeholder.text);
  }
  netstatbutton_->setEnabled(false);
  ipopt_->setChecked(false);
  urlopt_->setChecked(false);
  pingopt_->setChecked(true);
  netstatbutton_->setEnabled(false);
  tracmd_->setEnabled(false);
  setStatus(kStatusReady);
}

void IpToolsWindow::setProgramFinder(ToolRunner::ProgramFinder finder) {
  runner_->setProgramFinder(std::move(finder));
}

void IpToolsWindow::setMonotonicClock(MonotonicClock clock) {
  clock_ = std::move(clock);
}

void IpToolsWindow::setOutputLimits(OutputLimits limits) {
  outputLimits_ = limits;
}

void IpToolsWindow::setResultFileLimit(std::uint64_t bytes) {
  runner_->setResultFileLimit(bytes);
}

void IpToolsWindow::setStopGrace(std::chrono::milliseconds grace) {
  runner_->setStopGrace(grace);
}

bool IpToolsWindow::isToolRunning() const {
  return runningTool_.has_value();
}

qint64 IpToolsWindow::toolProcessId() const {
  return runner_->processId();
}

// ---- modes -------------------------------------------------------------------------------------

void IpToolsWindow::applyMode(Mode mode) {
  mode_ = mode;
  refreshEnabledStates();
}

void IpToolsWindow::refreshEnabledStates() {
  for (const std::string_view name : kModeControls) {
    if (auto* widget = client_->findChild<QWidget*>(qtext(name), Qt::FindDirectChildrenOnly)) {
      widget->setEnabled(enabledInMode(mode_, name));
    }
  }
  if (runningTool_) {
    // Only the running tool's "Stop" takes a click until the tool has ended.
    for (const Tool tool : {Tool::Ping, Tool::Trace, Tool::Netstat})
      toolButton(tool)->setEnabled(tool == *runningTool_);
  }
  for (QAction* action : {mnulastping_, mnulasttrace_, mnunetstat_, mnuclearall_})
    action->setEnabled(!runningTool_);
}

// ---- layout ------------------------------------------------------------------------------------

int IpToolsWindow::xPixels(int twips) const {
  return app::twipsX(*this, twips);
}
int IpToolsWindow::yPixels(int twips) const {
  return app::twipsY(*this, twips);
}

QRect IpToolsWindow::twips(int left, int top, int width, int height) const {
  return app::twipsRect(*this, left, top, width, height);
}

void IpToolsWindow::applyLayoutRule() {
  const int frameWidth = frameGeometry().width() - width();
  const int frameHeight = frameGeometry().height() - height();
  if (frameGeometry().width() < xPixels(kMinimumOuterWidth)) {
    resize(xPixels(kMinimumOuterWidth) - frameWidth, height());
  }
  if (frameGeometry().height() < yPixels(kMinimumOuterHeight)) {
    resize(width(), yPixels(kMinimumOuterHeight) - frameHeight);
  }
  txtOutPut_->move(0, 0);
  const int outputHeight = client_->height() - yPixels(kRowsBelowOutput);
  if (outputHeight >= 0) txtOutPut_->resize(txtOutPut_->width(), outputHeight);
  txtOutPut_->resize(client_->width(), txtOutPut_->height());
}

void IpToolsWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  applyLayoutRule();
}

void IpToolsWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  applyLayoutRule();
  if (!centred_) {
    centred_ = true;
    app::centreOnScreen(*this);
  }
}

// ---- select all on a click ---------------------------------------------------------------------

void IpToolsWindow::selectall(QWidget* box) {
  if (auto* line = qobject_cast<QLineEdit*>(box)) {
    line->setSelection(0, static_cast<int>(line->text().size()));
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(box)) {
    text->selectAll();
  }
}

bool IpToolsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == txtIP_ || watched == txtNumber_) {
      selectall(static_cast<QWidget*>(watched));
      return true;  // the line edit's own release handling must not move the selection again
    }
    if (watched == txtOutPut_->viewport()) {
      selectall(txtOutPut_);
      mnuoptions_->popup(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- running the tools -------------------------------------------------------------------------

QPushButton* IpToolsWindow::toolButton(Tool tool) const {
  switch (tool) {
    case Tool::Ping: return cmdPing_;
    case Tool::Trace: return tracmd_;
    case Tool::Netstat: return netstatbutton_;
  }
  return cmdPing_;
}

void IpToolsWindow::pingClicked() {
  if (runningTool_) {
    toolButtonClickedWhileRunning(Tool::Ping);
    return;
  }
  setStatus(kStatusWorking);
  if (txtIP_->text().isEmpty()) {
    unsetCursor();
    setStatus(kStatusError);
    showMessage(kEmptyHostMessage);
    return;
  }
  ToolRequest request;
  request.tool = Tool::Ping;
  request.count = txtNumber_->text().toStdString();
  request.host = txtIP_->text().toStdString();
  setCursor(Qt::WaitCursor);
  startTool(request);
}

void IpToolsWindow::traceClicked() {
  if (runningTool_) {
    toolButtonClickedWhileRunning(Tool::Trace);
    return;
  }
  if (urlopt_->isChecked() && isMissingDomain(urltxt_->text().toStdString())) {
    showMessage(kMissingDomainMessage);
    return;
  }
  setCursor(Qt::WaitCursor);
  ToolRequest request;
  request.tool = Tool::Trace;
  request.target = obtainip().toStdString();
  request.resolveNames = chkgethostnames_->isChecked();
  request.hops = hops_->text().toStdString();
  request.timeout = timeout_->text().toStdString();
  startTool(request);
}

void IpToolsWindow::netstatClicked() {
  if (runningTool_) {
    toolButtonClickedWhileRunning(Tool::Netstat);
    return;
  }
  setStatus(kStatusNetstatWorking);
  setCursor(Qt::WaitCursor);
  ToolRequest request;
  request.tool = Tool::Netstat;
  request.showAll = chknetstatall_->isChecked();
  startTool(request);
}

QString IpToolsWindow::obtainip() {
  if (!ipopt_->isChecked()) return urltxt_->text();
  const std::array<std::string, 4> texts{iptxt_[0]->text().toStdString(), iptxt_[1]->text().toStdString(),
                                         iptxt_[2]->text().toStdString(), iptxt_[3]->text().toStdString()};
  const std::optional<TypedAddress> address = addressFromOctets({texts[0], texts[1], texts[2], texts[3]});
  if (!address) {
    showMessage(kWrongInputMessage);
    return {};
  }
  if (address->classText) setStatus(*address->classText);
  return QString::fromStdString(address->target);
}

void IpToolsWindow::toolButtonClickedWhileRunning(Tool tool) {
  // The running tool's button reads "Stop"; a click on it within a double-click of the start is
  // the second half of the click that started it.
  if (tool != *runningTool_) return;
  if (stopGuard_.acceptsStopAt(clock_(), QApplication::doubleClickInterval())) stopTool();
}

void IpToolsWindow::startTool(const ToolRequest& request) {
  runningTool_ = request.tool;
  stopGuard_.started(clock_());
  toolButton(request.tool)->setText(QString::fromLatin1(kStopCaption));
  refreshEnabledStates();
  txtOutPut_->clear();
  txtOutPut_->setReadOnly(true);  // the box follows the tool's output line by line meanwhile
  liveOutput_ = std::make_unique<OutputTail>(outputLimits_);
  liveDecoder_.resetState();
  Q_EMIT toolStarted();
  runner_->start(request, QString::fromStdString(context_.resultFolder().string()));
}

void IpToolsWindow::showOutput(const QByteArray& bytes) {
  if (!liveOutput_) return;
  liveOutput_->append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  mirror(*liveOutput_);
  caretToEnd();
  Q_EMIT toolOutputShown();
}

// Brings the box in line with the kept output without laying out again what it already shows.
void IpToolsWindow::mirror(OutputTail& tail) {
  OutputTail::Change change = tail.takeChange();
  if (change.rebuild) {
    liveDecoder_.resetState();
    txtOutPut_->setPlainText(decodeWhole(tail.text()));
    return;
  }
  QTextDocument* document = txtOutPut_->document();
  if (change.addNote) {
    QTextCursor top(document);
    top.insertText(qtext(kEarlierOutputLeftOut) + QLatin1Char('\n'));
  }
  if (change.dropLines > 0) {
    const int first = tail.leftOutEarlierOutput() ? 1 : 0;
    QTextCursor lines(document->findBlockByNumber(first));
    const QTextBlock after = document->findBlockByNumber(first + static_cast<int>(change.dropLines));
    if (after.isValid()) {
      lines.setPosition(after.position(), QTextCursor::KeepAnchor);
    } else {
      lines.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    lines.removeSelectedText();
  }
  if (!change.appended.empty()) {
    QTextCursor end(document);
    end.movePosition(QTextCursor::End);
    end.insertText(liveDecoder_.decode(
        QByteArrayView(change.appended.data(), static_cast<qsizetype>(change.appended.size()))));
  }
}

void IpToolsWindow::leaveRunState() {
  if (!runningTool_) return;
  liveOutput_.reset();
  txtOutPut_->setReadOnly(false);
  switch (*runningTool_) {
    case Tool::Ping: cmdPing_->setText(QStringLiteral("Ping")); break;
    case Tool::Trace: tracmd_->setText(QStringLiteral("Trace")); break;
    case Tool::Netstat: netstatbutton_->setText(QStringLiteral("Netstat")); break;
  }
  runningTool_.reset();
  refreshEnabledStates();
}

void IpToolsWindow::stopTool() {
  if (runningTool_) runner_->stop();
}

void IpToolsWindow::toolEnded(RunEnd end) {
  if (!runningTool_) return;
  const Tool tool = *runningTool_;
  leaveRunState();
  const bool started = startedTheTool(end);
  const bool ended = end == RunEnd::Stopped || end == RunEnd::Cut;

  switch (tool) {
    case Tool::Ping:
      if (started) QApplication::beep();
      unsetCursor();
      showResultFile(tool, end);
      setStatus(!started ? kStatusError : ended ? kStatusStopped : kStatusDone);
      // It counts pings that ran, stopped ones too; a ping that never started is not one.
      if (started)
        amountping_->setText(QString::fromStdString(nextPingCount(amountping_->text().toStdString())));
      break;
    case Tool::Trace:
      showResultFile(tool, end);
      unsetCursor();
      if (ended) setStatus(kStatusStopped);
      break;
    case Tool::Netstat:
      showResultFile(tool, end);
      unsetCursor();
      setStatus(!started ? kStatusError : ended ? kStatusStopped : kStatusNetstatDone);
      break;
  }
  Q_EMIT toolFinished();
}

void IpToolsWindow::showResultFile(Tool tool, RunEnd end) {
  const std::string_view name = resultFileName(tool);
  switch (end) {
    case RunEnd::ResultUnwritable:
      txtOutPut_->setPlainText(QString::fromStdString(unwritableResultNote(name)));
      break;
    case RunEnd::ResultNotRegular:
      txtOutPut_->setPlainText(QString::fromStdString(notRegularResultNote(name)));
      break;
    default:
      if (showStoredFile(name) && startedTheTool(end)) {
        caretToEnd();
        return;
      }
  }
  // A note why nothing ran is read from its first character.
  caretToStart();
}

void IpToolsWindow::caretToStart() {
  txtOutPut_->moveCursor(QTextCursor::Start);
  txtOutPut_->horizontalScrollBar()->setValue(txtOutPut_->horizontalScrollBar()->minimum());
  txtOutPut_->verticalScrollBar()->setValue(txtOutPut_->verticalScrollBar()->minimum());
}

void IpToolsWindow::caretToEnd() {
  QTextCursor cursor = txtOutPut_->textCursor();
  cursor.movePosition(QTextCursor::End);
  txtOutPut_->setTextCursor(cursor);
  txtOutPut_->ensureCursorVisible();
}

// ---- stored results and "Clear all" ------------------------------------------------------------

bool IpToolsWindow::showStoredFile(std::string_view fileName) {
  // Read piece by piece into the kept tail, so that a huge file never sits in memory whole.
  OutputTail tail(outputLimits_);
  const platform::FileAccess read = platform::readRegularFile(
      resultPath(fileName), [&tail](std::string_view bytes) { tail.append(bytes); });
  switch (read) {
    case platform::FileAccess::Ok: txtOutPut_->setPlainText(decodeWhole(tail.text())); return true;
    case platform::FileAccess::Missing:
      txtOutPut_->setPlainText(QString::fromStdString(missingResultNote(fileName)));
      break;
    case platform::FileAccess::NotRegular:
      txtOutPut_->setPlainText(QString::fromStdString(notRegularStoredNote(fileName)));
      break;
    case platform::FileAccess::Failed:
      txtOutPut_->setPlainText(QString::fromStdString(unreadableResultNote(fileName)));
      break;
  }
  return false;
}

void IpToolsWindow::showLastPing() {
  if (runningTool_) return;
  setStatus(kStatusWorking);
  showStoredFile(resultFileName(Tool::Ping));
  setStatus(kStatusDone);
}

void IpToolsWindow::showLastNetstat() {
  if (runningTool_) return;
  setStatus(kStatusWorking);
  showStoredFile(resultFileName(Tool::Netstat));
  setStatus(kStatusDone);
}

void IpToolsWindow::showLastTrace() {
  if (runningTool_) return;
  setStatus(kStatusWorking);
  const std::string_view name = resultFileName(Tool::Trace);
  std::error_code error;
  const bool exists = std::filesystem::exists(resultPath(name), error);
  if (!exists && !error) platform::writeRegularFile(resultPath(name), kTraceRecoveryText);
  showStoredFile(name);
  setStatus(kStatusDone);
}

void IpToolsWindow::clearAll() {
  if (runningTool_) return;
  BoxRequest question;
  question.text = std::string(kClearAllQuestion);
  question.title = "Lumeno";
  question.icon = BoxIcon::Exclamation;
  question.buttons = BoxButtons::YesNo;
  if (context_.boxes == nullptr || context_.boxes->show(question) != BoxAnswer::Yes) return;

  for (const ResetStep& step : kClearAllSteps) {
    QObject* control = client_->findChild<QObject*>(qtext(step.control), Qt::FindDirectChildrenOnly);
    const QString value = qtext(step.value);
    if (auto* label = qobject_cast<QLabel*>(control)) {
      label->setText(value);
    } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
      line->setText(value);
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
      check->setChecked(value == QLatin1String("1"));
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
      text->setPlainText(value);
    }
  }
}

// ---- small helpers -----------------------------------------------------------------------------

void IpToolsWindow::setStatus(std::string_view text) {
  classlbl_->setText(qtext(text));
}

void IpToolsWindow::showMessage(std::string_view text) {
  if (context_.boxes == nullptr) return;
  BoxRequest request;
  request.text = std::string(text);
  request.title = "Lumeno";
  context_.boxes->show(request);
}

std::filesystem::path IpToolsWindow::resultPath(std::string_view fileName) const {
  return context_.file(fileName);
}

void IpToolsWindow::keyPressEvent(QKeyEvent* event) {
  // Esc that no control has used stops the running tool (the shortcut covers the active window).
  if (event->key() == Qt::Key_Escape && runningTool_) {
    stopTool();
    event->accept();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void IpToolsWindow::closeEvent(QCloseEvent* event) {
  // Closing the window ends the running tool; nothing of that run is shown any more.
  if (runningTool_) {
    runner_->abandon();
    leaveRunState();
    unsetCursor();
  }
  QMainWindow::closeEvent(event);
}

}  // namespace lumeno::iptools
