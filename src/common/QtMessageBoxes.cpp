#include "common/QtMessageBoxes.h"

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
  if (request.buttons == BoxButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return BoxAnswer::Ok;
}

}  // namespace lumeno
