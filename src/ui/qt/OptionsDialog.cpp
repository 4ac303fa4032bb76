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

  auto* SSTab1 = make<QTabWidget>(this, "SSTab1");
  SSTab1->setAccessibleName(QStringLiteral("Option pages"));

  // "Automation"
  auto* automation = new QWidget(SSTab1);
  auto* Frame1 = makeFrame(automation, "Frame1");
  startupBox_ = makeCheckBox(Frame1, "chkstartup");
  trayAtStartBox_ = makeCheckBox(Frame1, "trayatstartup");
  auto* frame1Layout = new QVBoxLayout(Frame1);
  frame1Layout->addWidget(startupBox_);
  frame1Layout->addWidget(trayAtStartBox_);
  frame1Layout->addStretch();
  (new QVBoxLayout(automation))->addWidget(Frame1);

  // "Extras"
  auto* extras = new QWidget(SSTab1);
  auto* Frame2 = makeFrame(extras, "Frame2");
  hostNamePopupBox_ = makeCheckBox(Frame2, "chkhostnamepopup");
  auto* frame2Layout = new QVBoxLayout(Frame2);
  frame2Layout->addWidget(hostNamePopupBox_);
  frame2Layout->addStretch();
  (new QVBoxLayout(extras))->addWidget(Frame2);

  // "Logs"
  auto* logs = new QWidget(SSTab1);
  logBox_ = makeCheckBox(logs, "chklog");
  auto* Frame3 = makeFrame(logs, "Frame3");
  viewLogButton_ = makeButton(Frame3, "Command2");
  clearLogButton_ = makeButton(Frame3, "Command1");
  auto* Label1 = make<QLabel>(Frame3, "Label1");
  Label1->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(viewLogButton_);
  buttons->addWidget(clearLogButton_);
  buttons->addStretch();
  auto* frame3Layout = new QVBoxLayout(Frame3);
  frame3Layout->addLayout(buttons);
  frame3Layout->addWidget(Label1);
  auto* logsLayout = new QVBoxLayout(logs);
  logsLayout->addWidget(logBox_);
  logsLayout->addWidget(Frame3);

  // "Connection"
  auto* connection = new QWidget(SSTab1);
  auto* Frame4 = makeFrame(connection, "Frame4");
  alertBox_ = makeCheckBox(Frame4, "alertifoffline");
  auto* frame4Layout = new QVBoxLayout(Frame4);
  frame4Layout->addWidget(alertBox_);
  frame4Layout->addStretch();
  auto* connectionLayout = new QVBoxLayout(connection);
  connectionLayout->addWidget(Frame4);
  QLayout* connectionOptions = buildConnectionOptions(connection, connectionLayout);

  for (QWidget* page : {automation, extras, logs, connection})
    SSTab1->addTab(page, latin1(design::kTabCaptions.at(static_cast<std::size_t>(SSTab1->count()))));
  SSTab1->setCurrentIndex(0);

  doneButton_ = makeButton(this, "exitoptions");
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(doneButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSTab1);
  layout->addLayout(bottom);
  // The connection options make their tab taller by their own height. Every other tab gets an
  // empty space of that height at its bottom, so each frame keeps the size and place it has
  // without them, the alert's too (it takes its tab's spare height), and the dialog grows.
  const int added = connectionOptions->sizeHint().height() + connectionLayout->spacing();
  for (QWidget* page : {automation, extras, logs}) {
    if (auto* pageLayout = qobject_cast<QBoxLayout*>(page->layout())) pageLayout->addSpacing(added);
  }
  keepOneSizeForEveryTab(SSTab1);

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
