// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/OptionsDialog.h"

#include <algorithm>
#include <string_view>
#include <type_traits>
#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "settings/OptionsDesign.h"

namespace lumeno::settings {
namespace {

QString latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A control of the design by its name, with its caption and tip.
template <typename Widget>
Widget* make(QWidget* parent, std::string_view name) {
  const design::ControlDesign& control = design::control(name);
  auto* widget = new Widget(parent);
  widget->setObjectName(latin1(control.name));
  if (!control.tip.empty()) widget->setToolTip(latin1(control.tip));
  if constexpr (std::is_same_v<Widget, QLabel>) {
    widget->setTextFormat(Qt::PlainText);
    widget->setText(latin1(control.text));
  } else if constexpr (std::is_same_v<Widget, QCheckBox> || std::is_same_v<Widget, QPushButton>) {
    widget->setText(latin1(control.text));
  }
  return widget;
}

QCheckBox* makeCheckBox(QWidget* parent, std::string_view name) {
  return make<QCheckBox>(parent, name);
}

QPushButton* makeButton(QWidget* parent, std::string_view name) {
  auto* button = make<QPushButton>(parent, name);
  button->setAutoDefault(false);
  return button;
}

// A frame without a caption, as the dialog draws around its groups of controls.
QGroupBox* makeFrame(QWidget* parent, std::string_view name) {
  return make<QGroupBox>(parent, name);
}

}  // namespace

OptionsDialog::OptionsDialog(const AppContext& context, std::function<void()> showLogMonitor,
                             ConnectionOptions* live, QWidget* parent)
    : QDialog(parent), showLogMonitor_(std::move(showLogMonitor)), presenter_(context, *this, live) {
  buildControls();
  presenter_.load();
}

void OptionsDialog::buildControls() {
  setObjectName(latin1(design::kWindowName));
  setWindowTitle(latin1(design::kCaption));
  // A fixed single border: a title and a close button, no minimise or maximise, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  auto* pages = make<QTabWidget>(this, "SSTab1");
  pages->setAccessibleName(QStringLiteral("Option pages"));

  // "Automation"
  auto* automation = new QWidget(pages);
  auto* automationFrame = makeFrame(automation, "Frame1");
  startupBox_ = makeCheckBox(automationFrame, "chkstartup");
  trayAtStartBox_ = makeCheckBox(automationFrame, "trayatstartup");
  auto* automationFrameLayout = new QVBoxLayout(automationFrame);
  automationFrameLayout->addWidget(startupBox_);
  automationFrameLayout->addWidget(trayAtStartBox_);
  automationFrameLayout->addStretch();
  (new QVBoxLayout(automation))->addWidget(automationFrame);

  // "Extras"
  auto* extras = new QWidget(pages);
  auto* extrasFrame = makeFrame(extras, "Frame2");
  hostNamePopupBox_ = makeCheckBox(extrasFrame, "chkhostnamepopup");
  auto* extrasFrameLayout = new QVBoxLayout(extrasFrame);
  extrasFrameLayout->addWidget(hostNamePopupBox_);
  extrasFrameLayout->addStretch();
  (new QVBoxLayout(extras))->addWidget(extrasFrame);

  // "Logs"
  auto* logs = new QWidget(pages);
  logBox_ = makeCheckBox(logs, "chklog");
  auto* logFrame = makeFrame(logs, "Frame3");
  viewLogButton_ = makeButton(logFrame, "Command2");
  clearLogButton_ = makeButton(logFrame, "Command1");
  auto* logContentsLabel = make<QLabel>(logFrame, "Label1");
  logContentsLabel->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(viewLogButton_);
  buttons->addWidget(clearLogButton_);
  buttons->addStretch();
  auto* logFrameLayout = new QVBoxLayout(logFrame);
  logFrameLayout->addLayout(buttons);
  logFrameLayout->addWidget(logContentsLabel);
  auto* logsLayout = new QVBoxLayout(logs);
  logsLayout->addWidget(logBox_);
  logsLayout->addWidget(logFrame);

  // "Connection"
  auto* connection = new QWidget(pages);
  auto* connectionFrame = makeFrame(connection, "Frame4");
  alertBox_ = makeCheckBox(connectionFrame, "alertifoffline");
  auto* connectionFrameLayout = new QVBoxLayout(connectionFrame);
  connectionFrameLayout->addWidget(alertBox_);
  connectionFrameLayout->addStretch();
  auto* connectionLayout = new QVBoxLayout(connection);
  connectionLayout->addWidget(connectionFrame);
  QLayout* connectionOptions = buildConnectionOptions(connection, connectionLayout);

  for (QWidget* page : {automation, extras, logs, connection})
    pages->addTab(page, latin1(design::kTabCaptions.at(static_cast<std::size_t>(pages->count()))));
  pages->setCurrentIndex(0);

  doneButton_ = makeButton(this, "exitoptions");
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(doneButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages);
  layout->addLayout(bottom);
  // The connection options make their tab taller by their own height. Every other tab gets an
  // empty space of that height at its bottom, so each frame keeps the size and place it has
  // without them, the alert's too (it takes its tab's spare height), and the dialog grows.
  const int added = connectionOptions->sizeHint().height() + connectionLayout->spacing();
  for (QWidget* page : {automation, extras, logs}) {
    if (auto* pageLayout = qobject_cast<QBoxLayout*>(page->layout())) pageLayout->addSpacing(added);
  }
  keepOneSizeForEveryTab(pages);

  // `clicked` comes from the user (mouse or keyboard) only, never from setChecked, so loading
  // runs each click behaviour exactly once, itself.
  for (const Option option :
       {Option::AlertIfOffline, Option::TrayAtStartup, Option::HostNamePopup, Option::UseLog,
        Option::AutoStartup, Option::FollowAddress, Option::LogConnectionChanges}) {
    connect(box(option), &QCheckBox::clicked, this,
            [this, option](bool ticked) { presenter_.onBoxClicked(option, ticked); });
  }
  // `activated` comes from the user only, never from filling or selecting in code.
  connect(interfaceList_, &QComboBox::activated, this,
          [this](int entry) { presenter_.onInterfaceChosen(static_cast<std::size_t>(entry)); });
  connect(clearLogButton_, &QPushButton::clicked, this, [this] { presenter_.onClearLogClicked(); });
  connect(viewLogButton_, &QPushButton::clicked, this, [this] { presenter_.onViewLogClicked(); });
  connect(doneButton_, &QPushButton::clicked, this, [this] { presenter_.onDoneClicked(); });
}

QLayout* OptionsDialog::buildConnectionOptions(QWidget* tab, QVBoxLayout* layout) {
  followAddressBox_ = makeCheckBox(tab, "chkfollowip");
  logConnectionChangesBox_ = makeCheckBox(tab, "chklogoutages");
  interfaceLabel_ = make<QLabel>(tab, "lblinterface");
  interfaceList_ = make<QComboBox>(tab, "cmbinterface");
  interfaceLabel_->setBuddy(interfaceList_);
  auto* interfaceRow = new QHBoxLayout;
  interfaceRow->addWidget(interfaceLabel_);
  interfaceRow->addWidget(interfaceList_, 1);
  auto* options = new QVBoxLayout;
  options->addWidget(followAddressBox_);
  options->addWidget(logConnectionChangesBox_);
  options->addLayout(interfaceRow);
  layout->addLayout(options);
  return options;
}

void OptionsDialog::keepOneSizeForEveryTab(QTabWidget* tabs) {
  // Each tab asks for a height of its own (the wrapped note on "Logs" most of all); sized to the
  // largest, the window never changes and "Done" stays where the user saw it.
  ensurePolished();
  QSize largest;
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    layout()->activate();
    QSize needed = sizeHint().expandedTo(minimumSizeHint());
    if (hasHeightForWidth()) needed.setHeight(std::max(needed.height(), heightForWidth(needed.width())));
    largest = largest.expandedTo(needed);
  }
  tabs->setCurrentIndex(0);
  setFixedSize(largest);
}

QCheckBox* OptionsDialog::box(Option option) const {
  switch (option) {
    case Option::FollowAddress: return followAddressBox_;
    case Option::LogConnectionChanges: return logConnectionChangesBox_;
    case Option::AlertIfOffline: return alertBox_;
    case Option::TrayAtStartup: return trayAtStartBox_;
    case Option::HostNamePopup: return hostNamePopupBox_;
    case Option::UseLog: return logBox_;
    case Option::AutoStartup: break;
  }
  return startupBox_;
}

void OptionsDialog::setTicked(Option option, bool ticked) {
  box(option)->setChecked(ticked);
}

void OptionsDialog::showInterfaces(const std::vector<std::string>& entries, std::size_t selected) {
  interfaceList_->clear();
  for (const std::string& entry : entries) interfaceList_->addItem(QString::fromStdString(entry));
  interfaceList_->setCurrentIndex(static_cast<int>(selected));
}

void OptionsDialog::openLogMonitor() {
  if (showLogMonitor_) showLogMonitor_();
}

void OptionsDialog::closeDialog() {
  close();
}

}  // namespace lumeno::settings
