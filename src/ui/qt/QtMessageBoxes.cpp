// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>

namespace lumeno {
namespace {

QMessageBox::Icon toQt(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Exclamation: return QMessageBox::Warning;
    case BoxIcon::Critical: return QMessageBox::Critical;
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::Question: return QMessageBox::Question;
    case BoxIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

BoxAnswer QtMessageBoxes::show(const BoxRequest& request) {
  QMessageBox box(toQt(request.icon), QString::fromUtf8(request.title), QString::fromUtf8(request.text));
  // Texts carry file names, host names and what a server said: shown as written, never as markup.
  box.setTextFormat(Qt::PlainText);
  if (request.buttons == BoxButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  box.exec();
  // Esc and the close box answer like the box's escape button; only a quit leaves no button.
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == nullptr) return BoxAnswer::Unanswered;
  if (request.buttons == BoxButtons::Ok) return BoxAnswer::Ok;
  return box.standardButton(clicked) == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace lumeno
