// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace lumeno::test {

// An X server of the test's own: on the display named by LUMENO_TEST_DISPLAY where displays are
// shared out, else on the first free one. display() is empty when none could be started.
class PrivateXServer {
 public:
  PrivateXServer() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) return;
    const QString wanted = qEnvironmentVariable("LUMENO_TEST_DISPLAY");
    QStringList arguments = QStringLiteral("-displayfd 1 -nolisten tcp -screen 0 800x600x24").split(u' ');
    if (!wanted.isEmpty()) arguments.prepend(wanted);
    server_.start(xvfb, arguments);
    // Xvfb writes the display number once it accepts clients.
    while (!server_.canReadLine() && server_.waitForReadyRead(60000)) {
    }
    const QByteArray number = server_.readLine().trimmed();
    if (!number.isEmpty()) display_ = QStringLiteral(":") + QString::fromLatin1(number);
  }
  ~PrivateXServer() { stop(); }

  [[nodiscard]] const QString& display() const { return display_; }
  void stop() {
    if (server_.state() == QProcess::NotRunning) return;
    server_.terminate();
    if (!server_.waitForFinished(60000)) server_.kill();
    server_.waitForFinished(60000);
  }

 private:
  QProcess server_;
  QString display_;
};

}  // namespace lumeno::test
