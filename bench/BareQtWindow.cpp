// The smallest window the start-up time of Lumeno is compared with: a Qt main window with a
// menu bar and a line edit, started the same way.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
  window.setCentralWidget(new QLineEdit(QStringLiteral("127.0.0.1")));
  window.show();
  return QApplication::exec();
}
