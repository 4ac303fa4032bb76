// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/WindowSystemStart.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace lumeno::app {
namespace {

struct HeldMessage {
  QtMsgType type;
  std::string category;
  QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> held;

// Why the window system could not come up: what Qt said first (the platform plugin names the
// display it could not reach), or that no display is named at all.
QString reasonFor(const QString& fatal) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    return QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
  }
  const QString first = held.empty() ? fatal : held.front().text;
  return first.section(QLatin1Char('\n'), 0, 0).trimmed();
}

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    held.push_back({type, context.category != nullptr ? context.category : "", text});
    return;
  }
  const QByteArray line = (QStringLiteral("Lumeno cannot start: no display to show its window on (") +
                           reasonFor(text) + QStringLiteral(").\n"))
                              .toLocal8Bit();
  std::fputs(line.constData(), stderr);
  std::fflush(stderr);
  // Nothing has been written yet, and nothing half-made may run its destructors now.
  std::_Exit(1);
}

}  // namespace

WindowSystemStart::WindowSystemStart() {
  previousHandler = qInstallMessageHandler(holdBack);
}

WindowSystemStart::~WindowSystemStart() {
  qInstallMessageHandler(previousHandler);
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.c_str());
    previousHandler(message.type, context, message.text);
  }
  held.clear();
}

}  // namespace lumeno::app
