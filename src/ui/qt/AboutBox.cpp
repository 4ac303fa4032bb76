// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/AboutBox.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

#include "ui/qt/ReadableColour.h"
#include "ui/qt/WindowGeometry.h"

// Resources of a static library are registered by hand, outside any namespace.
static void initAboutResources() {
  Q_INIT_RESOURCE(lumeno_about);
}

namespace lumeno::about {
namespace {

QString qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

AboutBox::AboutBox(const AppContext& context, QWidget* parent)
    : AboutBox(context, platform::systemInfoTool(), parent) {}

AboutBox::AboutBox(const AppContext& context, const platform::SystemInfoTool& sysInfoTool, QWidget* parent)
    : QDialog(parent), presenter_(*this, context, sysInfoTool) {
  initAboutResources();
  buildControls();
  presenter_.onLoaded();
  fitTextsToFont();  // once the title and version have their texts
}

void AboutBox::buildControls() {
  setObjectName(qt(design::kWindowName));
  setWindowTitle(QString());
  // A fixed dialog border: no minimise, no maximise, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(app::twipsX(*this, design::kClientWidth), app::twipsY(*this, design::kClientHeight));

  // Plain background in the desktop's menu colour, shared by the labels and buttons.
  QPalette background = palette();
  const QColor menuColour = QApplication::palette("QMenu").color(QPalette::Window);
  background.setColor(QPalette::Window, menuColour);
  background.setColor(QPalette::Button, menuColour);
  setPalette(background);
  setAutoFillBackground(true);

  pictureLabel_ = new QLabel(this);
  pictureLabel_->setObjectName(qt(design::kPicture.name));
  pictureLabel_->setTextFormat(Qt::PlainText);
  pictureLabel_->setPixmap(QPixmap(QStringLiteral(":/about/lumeno-about.png")));
  pictureLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  place(pictureLabel_, design::kPicture);

  titleLabel_ = new QLabel(qt(design::kTitle.text), this);
  titleLabel_->setObjectName(qt(design::kTitle.name));
  titleLabel_->setTextFormat(Qt::PlainText);
  place(titleLabel_, design::kTitle);

  versionLabel_ = new QLabel(qt(design::kVersion.text), this);
  versionLabel_->setObjectName(qt(design::kVersion.name));
  versionLabel_->setTextFormat(Qt::PlainText);
  place(versionLabel_, design::kVersion);

  webSiteLink_ = new QLabel(qt(design::kLink.text), this);
  webSiteLink_->setObjectName(qt(design::kLink.name));
  webSiteLink_->setTextFormat(Qt::PlainText);
  QFont linkFont(qt(design::kLinkFontName));
  linkFont.setPointSizeF(design::kLinkFontPoints);
  webSiteLink_->setFont(linkFont);
  QPalette link = webSiteLink_->palette();
  // Blue, or a shade of blue that can be read where the desktop's menu colour is dark.
  link.setColor(QPalette::WindowText, app::readableOn(QColor(0, 0, 255), menuColour));
  webSiteLink_->setPalette(link);
  webSiteLink_->setToolTip(qt(design::kLink.tip));
  webSiteLink_->setCursor(Qt::PointingHandCursor);
  webSiteLink_->installEventFilter(this);
  place(webSiteLink_, design::kLink);

  separatorLine_ = new QFrame(this);
  separatorLine_->setObjectName(qt(design::kLine.name));
  separatorLine_->setFrameShape(QFrame::HLine);
  separatorLine_->setFrameShadow(QFrame::Plain);
  QPalette frameColour = separatorLine_->palette();
  frameColour.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::Shadow));
  separatorLine_->setPalette(frameColour);
  place(separatorLine_, design::kLine);

  sysInfoButton_ = new QPushButton(qt(design::kSysInfo.text), this);
  sysInfoButton_->setObjectName(qt(design::kSysInfo.name));
  place(sysInfoButton_, design::kSysInfo);

  doneButton_ = new QPushButton(qt(design::kDone.text), this);
  doneButton_->setObjectName(qt(design::kDone.name));
  doneButton_->setDefault(true);
  place(doneButton_, design::kDone);
  // "Done" has the focus first, so Enter closes the box from the start.
  setTabOrder(doneButton_, sysInfoButton_);
  doneButton_->setFocus();

  connect(sysInfoButton_, &QPushButton::clicked, this, [this] { presenter_.onSysInfoClicked(); });
  connect(doneButton_, &QPushButton::clicked, this, [this] { presenter_.onDoneClicked(); });
}

void AboutBox::setTitle(const std::string& text) {
  titleLabel_->setText(QString::fromStdString(text));
}

void AboutBox::setVersionText(const std::string& text) {
  versionLabel_->setText(QString::fromStdString(text));
}

void AboutBox::unload() {
  QDialog::accept();
}

void AboutBox::reject() {
  presenter_.onCloseRequested();
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == webSiteLink_ && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && webSiteLink_->rect().contains(mouse->position().toPoint())) {
      presenter_.onLinkClicked();
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

void AboutBox::fitTextsToFont() {
  // The design's places were drawn for a small system font. A desktop whose font is larger (or a
  // font the design's does not exist for) would cut "Version 1.0.27" or "Sys Info" short: such a
  // text gets the width it needs, a button beside a wider one moves along, and the box grows to
  // hold them.
  const auto widen = [](QWidget* control, const QString& text, int padding) {
    const int needed =
        control->fontMetrics().horizontalAdvance(QString(text).remove(QLatin1Char('&'))) + padding;
    if (needed > control->width()) control->resize(needed, control->height());
  };
  for (QLabel* label : {titleLabel_, versionLabel_, webSiteLink_})
    widen(label, label->text(), 2 * label->margin());
  // A button's text needs its frame and a little air beside it, not the style's least button width.
  const int buttonPadding = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                            sysInfoButton_->fontMetrics().averageCharWidth();
  for (QPushButton* button : {sysInfoButton_, doneButton_}) widen(button, button->text(), buttonPadding);
  const int gap = app::twipsX(*this, 105);
  if (sysInfoButton_->geometry().right() + gap >= doneButton_->x())
    doneButton_->move(sysInfoButton_->geometry().right() + 1 + gap, doneButton_->y());
  int rightmost = width();
  for (const QWidget* text : {static_cast<QWidget*>(titleLabel_), static_cast<QWidget*>(versionLabel_),
                              static_cast<QWidget*>(webSiteLink_), static_cast<QWidget*>(doneButton_)})
    rightmost = std::max(rightmost, text->geometry().right() + 1 + app::twipsX(*this, 120));
  if (rightmost <= width()) return;
  separatorLine_->resize(separatorLine_->width() + rightmost - width(), separatorLine_->height());
  setFixedSize(rightmost, height());
}

void AboutBox::place(QWidget* widget, const design::ControlDesign& control) const {
  const Twips& at = control.place;
  widget->setGeometry(app::twipsRect(*this, at.left, at.top, at.width, at.height));
}

}  // namespace lumeno::about
