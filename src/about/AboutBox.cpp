#include "about/AboutBox.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

#include "about/SysInfo.h"
#include "common/Version.h"
#include "common/WindowGeometry.h"
#include "platform/Launcher.h"

// Resources of a static library are registered by hand, outside any namespace.
static void initAboutResources() {
  Q_INIT_RESOURCE(lumeno_about);
}

namespace lumeno::about {
namespace {

constexpr const char* kApplicationTitle = "Lumeno";

}  // namespace

AboutBox::AboutBox(const AppContext& context, QWidget* parent)
    : AboutBox(context, platform::systemRegistry(), parent) {}

AboutBox::AboutBox(const AppContext& context, const platform::Registry& registry, QWidget* parent)
    : QDialog(parent), context_(context), registry_(registry) {
  initAboutResources();
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QString());
  // A fixed dialog border: no minimise, no maximise, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(app::twipsX(*this, 3615), app::twipsY(*this, 1680));

  // Plain background in the desktop's menu colour, shared by the labels and buttons.
  QPalette background = palette();
  const QColor menuColour = QApplication::palette("QMenu").color(QPalette::Window);
  background.setColor(QPalette::Window, menuColour);
  background.setColor(QPalette::Button, menuColour);
  setPalette(background);
  setAutoFillBackground(true);

  Picture1_ = new QLabel(this);
  Picture1_->setObjectName(QStringLiteral("Picture1"));
  Picture1_->setPixmap(QPixmap(QStringLiteral(":/about/lumeno-about.png")));
  Picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(Picture1_, 240, 120, 1455, 855);

  lblTitle_ = new QLabel(QStringLiteral("app"), this);
  lblTitle_->setObjectName(QStringLiteral("lblTitle"));
  place(lblTitle_, 1920, 120, 1455, 255);

  lblVersion_ = new QLabel(QStringLiteral("Ver"), this);
  lblVersion_->setObjectName(QStringLiteral("lblVersion"));
  place(lblVersion_, 2100, 360, 1455, 255);

  Label5_ = new QLabel(QStringLiteral("WebSite"), this);
  Label5_->setObjectName(QStringLiteral("Label5"));
  QFont linkFont(QStringLiteral("Verdana"));
  linkFont.setPointSizeF(9.75);
  Label5_->setFont(linkFont);
  QPalette link = Label5_->palette();
  link.setColor(QPalette::WindowText, QColor(0, 0, 255));
  Label5_->setPalette(link);
  Label5_->setToolTip(QStringLiteral("Visit us!"));
  Label5_->setCursor(Qt::PointingHandCursor);
  Label5_->installEventFilter(this);
  place(Label5_, 2160, 720, 975, 255);

  Line1_ = new QFrame(this);
  Line1_->setObjectName(QStringLiteral("Line1"));
  Line1_->setFrameShape(QFrame::HLine);
  Line1_->setFrameShadow(QFrame::Plain);
  QPalette frameColour = Line1_->palette();
  frameColour.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::Shadow));
  Line1_->setPalette(frameColour);
  place(Line1_, 120, 1080, 3480 - 120, 15);

  cmdSysInfo_ = new QPushButton(QStringLiteral("&Sys Info"), this);
  cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
  place(cmdSysInfo_, 1680, 1200, 855, 375);

  cmdOK_ = new QPushButton(QStringLiteral("Done"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setDefault(true);
  place(cmdOK_, 2640, 1200, 855, 375);
  // "Done" has the focus first, so Enter closes the box from the start.
  setTabOrder(cmdOK_, cmdSysInfo_);
  cmdOK_->setFocus();

  connect(cmdSysInfo_, &QPushButton::clicked, this, &AboutBox::cmdSysInfo_Click);
  connect(cmdOK_, &QPushButton::clicked, this, &AboutBox::cmdOK_Click);

  lblVersion_->setText(QStringLiteral("Version ") + QString::fromLatin1(version::text));
  lblTitle_->setText(QString::fromLatin1(kApplicationTitle));
}

std::string AboutBox::helpPageUrl(const AppContext& context) {
  const QString page = QString::fromStdString(context.file("help.html").string());
  return QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded).toStdString();
}

void AboutBox::cmdSysInfo_Click() {
  StartSysInfo(context_, registry_);
}

void AboutBox::cmdOK_Click() {
  accept();
}

void AboutBox::Label5_Click() {
  context_.launcher->openUrl(helpPageUrl(context_));
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Label5_ && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && Label5_->rect().contains(mouse->position().toPoint())) {
      Label5_Click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void AboutBox::showEvent(QShowEvent* event) {
  if (!centred_) {
    centred_ = true;
    app::centreOnScreen(*this);
  }
  QDialog::showEvent(event);
}

void AboutBox::place(QWidget* widget, int left, int top, int width, int height) const {
  widget->setGeometry(app::twipsRect(*this, left, top, width, height));
}

}  // namespace lumeno::about
