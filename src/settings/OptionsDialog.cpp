#include "settings/OptionsDialog.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <utility>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/MessageBoxes.h"
#include "platform/Files.h"
#include "settings/StartupEntry.h"

namespace lumeno::settings {
namespace {

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const char* caption) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  return button;
}

// A frame without a caption, as the dialog draws around its groups of controls.
QGroupBox* makeFrame(QWidget* parent, const char* name) {
  auto* frame = new QGroupBox(parent);
  frame->setObjectName(QLatin1String(name));
  return frame;
}

}  // namespace

bool clearLogFile(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (std::filesystem::is_regular_file(status)) {
    using std::filesystem::perms;
    // A read-only log stays as the user made it, whoever runs the program.
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
        perms::none) {
      return false;
    }
  }
  return platform::writeFile(file, {});
}

OptionsDialog::OptionsDialog(const AppContext& context, std::function<void()> showLogMonitor, QWidget* parent)
    : QDialog(parent), context_(context), showLogMonitor_(std::move(showLogMonitor)) {
  buildControls();
  load();
}

void OptionsDialog::buildControls() {
  setObjectName(QStringLiteral("frmoptions"));
  setWindowTitle(QStringLiteral("Options"));
  // A fixed single border: a title and a close button, no minimise or maximise, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  auto* SSTab1 = new QTabWidget(this);
  SSTab1->setObjectName(QStringLiteral("SSTab1"));

  // "Automation"
  auto* automation = new QWidget(SSTab1);
  auto* Frame1 = makeFrame(automation, "Frame1");
  chkstartup_ = makeCheckBox(Frame1, "chkstartup", "Start when computer loads");
  trayatstartup_ = makeCheckBox(Frame1, "trayatstartup", "Minimize to sys-tray on load");
  auto* frame1Layout = new QVBoxLayout(Frame1);
  frame1Layout->addWidget(chkstartup_);
  frame1Layout->addWidget(trayatstartup_);
  frame1Layout->addStretch();
  (new QVBoxLayout(automation))->addWidget(Frame1);

  // "Extras"
  auto* extras = new QWidget(SSTab1);
  auto* Frame2 = makeFrame(extras, "Frame2");
  chkhostnamepopup_ = makeCheckBox(Frame2, "chkhostnamepopup", "Show hostname in popup on request");
  auto* frame2Layout = new QVBoxLayout(Frame2);
  frame2Layout->addWidget(chkhostnamepopup_);
  frame2Layout->addStretch();
  (new QVBoxLayout(extras))->addWidget(Frame2);

  // "Logs"
  auto* logs = new QWidget(SSTab1);
  chklog_ = makeCheckBox(logs, "chklog", "Use log file");
  chklog_->setToolTip(QStringLiteral("Monitor Lumeno actions"));
  auto* Frame3 = makeFrame(logs, "Frame3");
  Command2_ = makeButton(Frame3, "Command2", "View log");
  Command1_ = makeButton(Frame3, "Command1", "Clear log");
  auto* Label1 = new QLabel(
      QStringLiteral("Log contains program load/exit, error stat, IP, hostname, time and date stamps."),
      Frame3);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Command2_);
  buttons->addWidget(Command1_);
  buttons->addStretch();
  auto* frame3Layout = new QVBoxLayout(Frame3);
  frame3Layout->addLayout(buttons);
  frame3Layout->addWidget(Label1);
  auto* logsLayout = new QVBoxLayout(logs);
  logsLayout->addWidget(chklog_);
  logsLayout->addWidget(Frame3);

  // "Connection"
  auto* connection = new QWidget(SSTab1);
  auto* Frame4 = makeFrame(connection, "Frame4");
  alertifoffline_ = makeCheckBox(Frame4, "alertifoffline", "Alert using popup if i loose my connection");
  auto* frame4Layout = new QVBoxLayout(Frame4);
  frame4Layout->addWidget(alertifoffline_);
  frame4Layout->addStretch();
  (new QVBoxLayout(connection))->addWidget(Frame4);

  SSTab1->addTab(automation, QStringLiteral("Automation"));
  SSTab1->addTab(extras, QStringLiteral("Extras"));
  SSTab1->addTab(logs, QStringLiteral("Logs"));
  SSTab1->addTab(connection, QStringLiteral("Connection"));
  SSTab1->setCurrentIndex(0);

  exitoptions_ = makeButton(this, "exitoptions", "Done");
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(exitoptions_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSTab1);
  layout->addLayout(bottom);
  keepOneSizeForEveryTab(SSTab1);

  // `clicked` comes from the user (mouse or keyboard) only, never from setChecked, so loading
  // runs each click behaviour exactly once, itself.
  for (const Option& option : options()) {
    connect(option.box, &QCheckBox::clicked, this, [this, option] { boxClicked(option); });
  }
  connect(Command1_, &QPushButton::clicked, this, &OptionsDialog::clearLogClicked);
  connect(Command2_, &QPushButton::clicked, this, [this] {
    if (showLogMonitor_) showLogMonitor_();
  });
  connect(exitoptions_, &QPushButton::clicked, this, &QDialog::close);
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

std::array<OptionsDialog::Option, 5> OptionsDialog::options() const {
  // In the order loading reads them.
  return {{{alertifoffline_, "Options", "alertifoffline"},
           {trayatstartup_, "Automation", "trayatstartup"},
           {chkhostnamepopup_, "Options", "hostnameintext1.text"},
           {chklog_, "Options", "uselog"},
           {chkstartup_, "Automation", "autostartup"}}};
}

void OptionsDialog::load() {
  for (const Option& option : options()) {
    fields_.currentSection = option.section;
    fields_.currentKey = option.key;
    // A key that cannot be read leaves its box unticked: the value of another key must not
    // switch this option on and be written into it.
    if (!ReadSetting() || !readsAsOn(fields_.currentValue)) continue;
    option.box->setChecked(true);
    boxClicked(option);
  }
}

void OptionsDialog::boxClicked(const Option& option) {
  fields_.currentSection = option.section;
  fields_.currentKey = option.key;
  fields_.currentValue = option.box->isChecked() ? "1" : "0";
  WriteSetting();
  if (option.box != chkstartup_) return;
  // The key is written first, so the file records the choice even when the entry cannot be.
  if (chkstartup_->isChecked()) {
    AddStartupEntry(context_, std::string(kStartupValueName));
  } else {
    RemoveStartupEntry(context_, std::string(kStartupValueName));
  }
}

void OptionsDialog::clearLogClicked() {
  if (context_.boxes == nullptr) return;
  const BoxAnswer answer =
      context_.boxes->show({"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo});
  if (answer != BoxAnswer::Yes) return;
  const std::filesystem::path file = context_.file("log.txt");
  if (!clearLogFile(file)) {
    context_.boxes->show({"The log file could not be cleared: " + file.string(), "Lumeno",
                          BoxIcon::Exclamation, BoxButtons::Ok});
  }
}

bool OptionsDialog::isLogOn() const {
  return chklog_->isChecked();
}

bool OptionsDialog::isHostNamePopupOn() const {
  return chkhostnamepopup_->isChecked();
}

bool OptionsDialog::ReadSetting() {
  return settings::ReadSetting(context_, fields_);
}

bool OptionsDialog::WriteSetting() {
  return settings::WriteSetting(context_, fields_);
}

}  // namespace lumeno::settings
