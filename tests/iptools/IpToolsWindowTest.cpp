#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <filesystem>
#include <map>
#include <vector>

#include "IpToolsFixture.h"

namespace lumeno::iptools::test {
namespace {

using WindowTest = IpToolsFixture;

std::string str(const QString& text) {
  return text.toStdString();
}

const std::vector<const char*> kAlwaysEnabled{"txtNumber",     "hops",      "timeout", "chkgethostnames",
                                              "chknetstatall", "txtOutPut", "pingopt", "ipopt",
                                              "urlopt",        "netstatopt"};

TEST_F(WindowTest, OpensLoadedInPingModeWithItsDefaults) {
  EXPECT_EQ(str(window->objectName()), "frmMain");
  EXPECT_EQ(str(window->windowTitle()), "IP Tools");
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->minimumSize(), window->maximumSize());  // not resizable by dragging

  EXPECT_EQ(status(), " Ready...");
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(str(box("txtNumber")->text()), "4");
  EXPECT_EQ(str(box("urltxt")->text()), "www.");
  EXPECT_EQ(str(box("hops")->text()), "30");
  EXPECT_EQ(str(box("timeout")->text()), "3000");
  EXPECT_TRUE(box("txtIP")->text().contains(QLatin1Char('.')));
  for (const char* octet : {"iptxt1", "iptxt2", "iptxt3", "iptxt4"})
    EXPECT_TRUE(box(octet)->text().isEmpty());
  EXPECT_EQ(output(), "");
  EXPECT_FALSE(button("chkgethostnames")->isChecked());
  EXPECT_FALSE(button("chknetstatall")->isChecked());
  EXPECT_TRUE(button("pingopt")->isChecked());
  EXPECT_EQ(window->focusWidget(), box("txtIP"));

  EXPECT_EQ(folder.read("traceroute.txt"), "No trace route has been done yet");
  EXPECT_EQ(folder.read("ping.txt"), "No ping has been done yet");
  EXPECT_EQ(folder.read("netstat.txt"), "No net status has been done yet");
}

TEST_F(WindowTest, TypingBeyondABoxLimitIsRefused) {
  button("ipopt")->click();
  box("iptxt1")->clear();
  QTest::keyClicks(box("iptxt1"), QStringLiteral("1234"));
  EXPECT_EQ(str(box("iptxt1")->text()), "123");
  box("hops")->clear();
  QTest::keyClicks(box("hops"), QStringLiteral("1234"));
  EXPECT_EQ(str(box("hops")->text()), "123");
  box("timeout")->clear();
  QTest::keyClicks(box("timeout"), QStringLiteral("1234567"));
  EXPECT_EQ(str(box("timeout")->text()), "123456");
  box("txtNumber")->clear();
  QTest::keyClicks(box("txtNumber"), QStringLiteral("123"));
  EXPECT_EQ(str(box("txtNumber")->text()), "12");
}

TEST_F(WindowTest, TheOutputBoxTakesTheClientAreaAboveTheToolRows) {
  const auto x = [&](int twips) { return qRound(twips * window->logicalDpiX() / 1440.0); };
  const auto y = [&](int twips) { return qRound(twips * window->logicalDpiY() / 1440.0); };
  window->show();
  auto* out = find<QPlainTextEdit>("txtOutPut");
  EXPECT_EQ(out->pos(), QPoint(0, 0));
  EXPECT_EQ(out->width(), x(5655));
  EXPECT_EQ(out->height(), y(4830) - y(2400));  // 2430 twips with the designed client area
  EXPECT_EQ(window->centralWidget()->size(), QSize(x(5655), y(4830)));
  // The tool rows stay where they were designed, below the output box.
  EXPECT_EQ(button("cmdPing")->geometry(), QRect(x(4680), y(2520), x(855), y(375)));
  EXPECT_GE(button("cmdPing")->y(), out->geometry().bottom());
}

TEST_F(WindowTest, TabGoesThroughTheControlsInTheirOrder) {
  const std::vector<const char*> order{
      "txtIP",      "txtNumber",     "cmdPing",   "ipopt",   "iptxt1",       "iptxt2",          "iptxt3",
      "iptxt4",     "hops",          "timeout",   "urlopt",  "urltxt",       "chkgethostnames", "tracmd",
      "netstatopt", "netstatbutton", "txtOutPut", "pingopt", "chknetstatall"};
  std::map<QWidget*, const char*> names;
  for (const char* name : order) names[find<QWidget>(name)] = name;

  std::vector<std::string> seen;
  QWidget* widget = find<QWidget>("txtIP");
  do {
    if (names.count(widget) != 0) seen.emplace_back(names[widget]);
    widget = widget->nextInFocusChain();
  } while (widget != find<QWidget>("txtIP") && seen.size() < 50);
  EXPECT_EQ(seen, std::vector<std::string>(order.begin(), order.end()));
}

TEST_F(WindowTest, EachModeEnablesItsOwnControlsAndChangesNothingElse) {
  struct ModeCase {
    const char* option;
    std::vector<const char*> enabled;
  };
  const std::vector<ModeCase> modes{
      {"ipopt", {"tracmd", "iptxt1", "iptxt2", "iptxt3", "iptxt4"}},
      {"urlopt", {"tracmd", "urltxt"}},
      {"netstatopt", {"netstatbutton"}},
      {"pingopt", {"cmdPing", "txtIP"}},
  };
  const std::vector<const char*> modeControls{"cmdPing", "txtIP",  "tracmd", "netstatbutton", "iptxt1",
                                              "iptxt2",  "iptxt3", "iptxt4", "urltxt"};
  box("iptxt1")->setText(QStringLiteral("10"));
  box("txtIP")->setText(QStringLiteral("typed.example"));
  find<QPlainTextEdit>("txtOutPut")->setPlainText(QStringLiteral("kept"));
  button("chknetstatall")->setChecked(true);

  for (const ModeCase& mode : modes) {
    SCOPED_TRACE(mode.option);
    button(mode.option)->click();
    for (const char* name : modeControls) {
      const bool expected = std::find_if(mode.enabled.begin(), mode.enabled.end(), [&](const char* on) {
                              return std::string(on) == name;
                            }) != mode.enabled.end();
      EXPECT_EQ(find<QWidget>(name)->isEnabled(), expected) << name;
    }
    for (const char* name : kAlwaysEnabled) EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << name;
    int selected = 0;
    for (const char* option : {"pingopt", "ipopt", "urlopt", "netstatopt"})
      selected += button(option)->isChecked();
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(str(box("iptxt1")->text()), "10");
    EXPECT_EQ(str(box("txtIP")->text()), "typed.example");
    EXPECT_EQ(output(), "kept");
    EXPECT_TRUE(button("chknetstatall")->isChecked());
    EXPECT_EQ(status(), " Ready...");
  }
}

TEST_F(WindowTest, MenusHoldTheirItemsWithoutAccessKeys) {
  QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_EQ(bar.size(), 2);
  EXPECT_EQ(str(bar[0]->text()), "File");
  EXPECT_EQ(str(bar[1]->text()), "Options");
  auto* file = find<QMenu>("mnufile");
  ASSERT_EQ(file->actions().size(), 1);
  EXPECT_EQ(str(file->actions()[0]->objectName()), "mnuexit");
  EXPECT_EQ(str(file->actions()[0]->text()), "Exit");

  auto* options = find<QMenu>("mnuoptions");
  ASSERT_EQ(options->actions().size(), 2);
  EXPECT_EQ(options->actions()[0]->menu(), find<QMenu>("mnuview"));
  EXPECT_EQ(str(options->actions()[0]->text()), "View");
  EXPECT_EQ(str(options->actions()[1]->objectName()), "mnuclearall");
  EXPECT_EQ(str(options->actions()[1]->text()), "Clear all");

  std::vector<std::string> view;
  for (QAction* item : find<QMenu>("mnuview")->actions()) view.push_back(item->text().toStdString());
  EXPECT_EQ(view, (std::vector<std::string>{"Last ping", "Last trace route", "Last netstat"}));
  for (QAction* item : window->findChildren<QAction*>()) {
    EXPECT_FALSE(item->text().contains(QLatin1Char('&'))) << item->text().toStdString();
    EXPECT_TRUE(item->shortcut().isEmpty());
  }
}

TEST_F(WindowTest, ExitClosesOnlyThisWindow) {
  window->show();
  trigger("mnuexit");
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WindowTest, AClickSelectsTheWholeHostAndCountText) {
  window->show();
  for (const char* name : {"txtIP", "txtNumber"}) {
    QLineEdit* line = box(name);
    line->setText(QStringLiteral("12"));
    line->deselect();
    QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(2, line->height() / 2));
    EXPECT_EQ(str(line->selectedText()), "12") << name;
    EXPECT_EQ(line->selectionStart(), 0) << name;
  }
}

TEST_F(WindowTest, AClickOnTheOutputSelectsItAllAndPopsUpTheOptionsMenu) {
  window->show();
  auto* out = find<QPlainTextEdit>("txtOutPut");
  out->setPlainText(QStringLiteral("line one\nline two"));
  QTest::mouseClick(out->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(out->textCursor().selectedText(),
            QStringLiteral("line one") + QChar(0x2029) + QStringLiteral("line two"));
  auto* options = find<QMenu>("mnuoptions");
  EXPECT_TRUE(options->isVisible());
  options->close();  // choosing nothing changes nothing
  EXPECT_EQ(output(), "line one\nline two");
  EXPECT_EQ(status(), " Ready...");
}

TEST_F(WindowTest, StoredResultViewsShowThePlaceholdersAfterLoading) {
  trigger("mnulastping");
  EXPECT_EQ(output(), "No ping has been done yet");
  EXPECT_EQ(status(), " Done...");
  trigger("mnulasttrace");
  EXPECT_EQ(output(), "No trace route has been done yet");
  trigger("mnunetstat");
  EXPECT_EQ(output(), "No net status has been done yet");
  EXPECT_EQ(status(), " Done...");
}

TEST_F(WindowTest, AMissingTraceFileIsRecreatedWithTheRecoveryText) {
  const std::string recovery =
      "No last trace route to show, due to file being moved or deleted. Your next trace route will be "
      "monitored.";
  std::filesystem::remove(folder / "traceroute.txt");
  trigger("mnulasttrace");
  EXPECT_EQ(output(), recovery);
  EXPECT_EQ(status(), " Done...");
  EXPECT_EQ(folder.read("traceroute.txt"), recovery);
}

TEST_F(WindowTest, AMissingPingOrNetstatFileIsSaidInOneLine) {
  std::filesystem::remove(folder / "ping.txt");
  std::filesystem::remove(folder / "netstat.txt");
  trigger("mnulastping");
  EXPECT_EQ(output(), "No result to show: ping.txt is missing from the program's folder.");
  EXPECT_EQ(status(), " Done...");
  trigger("mnunetstat");
  EXPECT_EQ(output(), "No result to show: netstat.txt is missing from the program's folder.");
  EXPECT_EQ(folder.read("ping.txt"), "<missing>");  // a view never makes a file up
}

TEST_F(WindowTest, ClearAllAskedAndAnsweredNoChangesNothing) {
  box("hops")->setText(QStringLiteral("9"));
  boxes.answers.push_back(BoxAnswer::No);
  trigger("mnuclearall");
  ASSERT_EQ(boxes.shown.size(), 1U);
  const BoxRequest& asked = boxes.shown[0];
  EXPECT_EQ(
      asked.text,
      "This will clear output window, input areas, tic boxes and reset all number boxes to default settings");
  EXPECT_EQ(asked.title, "Lumeno");
  EXPECT_EQ(asked.icon, BoxIcon::Exclamation);
  EXPECT_EQ(asked.buttons, BoxButtons::YesNo);
  EXPECT_EQ(str(box("hops")->text()), "9");
  EXPECT_EQ(status(), " Ready...");
}

TEST_F(WindowTest, ClearAllResetsInputsButKeepsTheModeAndTheResultFiles) {
  folder.write("ping.txt", "an earlier ping");
  button("ipopt")->click();
  for (const char* octet : {"iptxt1", "iptxt2", "iptxt3", "iptxt4"}) box(octet)->setText(QStringLiteral("1"));
  box("txtIP")->setText(QStringLiteral("host"));
  box("txtNumber")->setText(QStringLiteral("9"));
  box("urltxt")->setText(QStringLiteral("www.example.org"));
  box("hops")->setText(QStringLiteral("5"));
  box("timeout")->setText(QStringLiteral("100"));
  button("chkgethostnames")->setChecked(true);
  button("chknetstatall")->setChecked(true);
  find<QLabel>("amountping")->setText(QStringLiteral("7"));
  find<QPlainTextEdit>("txtOutPut")->setPlainText(QStringLiteral("old output"));

  boxes.answers.push_back(BoxAnswer::Yes);
  trigger("mnuclearall");

  EXPECT_EQ(status(), " All Cleared");
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(str(box("txtIP")->text()), "");
  EXPECT_EQ(str(box("txtNumber")->text()), "4");
  EXPECT_EQ(output(), "");
  for (const char* octet : {"iptxt1", "iptxt2", "iptxt3", "iptxt4"}) {
    EXPECT_EQ(str(box(octet)->text()), "");
    EXPECT_TRUE(box(octet)->isEnabled());
  }
  EXPECT_EQ(str(box("urltxt")->text()), "www.");
  EXPECT_EQ(str(box("hops")->text()), "30");
  EXPECT_EQ(str(box("timeout")->text()), "3000");
  EXPECT_FALSE(button("chkgethostnames")->isChecked());
  EXPECT_FALSE(button("chknetstatall")->isChecked());
  EXPECT_TRUE(button("ipopt")->isChecked());
  EXPECT_TRUE(button("tracmd")->isEnabled());
  trigger("mnulastping");
  EXPECT_EQ(output(), "an earlier ping");
}

TEST_F(WindowTest, ReopeningRestoresEveryDefaultAndThePlaceholderFiles) {
  button("netstatopt")->click();
  box("hops")->setText(QStringLiteral("7"));
  find<QLabel>("amountping")->setText(QStringLiteral("3"));
  folder.write("ping.txt", "output of a ping");
  std::filesystem::remove(folder / "netstat.txt");

  open();
  EXPECT_TRUE(button("pingopt")->isChecked());
  EXPECT_TRUE(button("cmdPing")->isEnabled());
  EXPECT_FALSE(button("netstatbutton")->isEnabled());
  EXPECT_EQ(str(box("hops")->text()), "30");
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(folder.read("ping.txt"), "No ping has been done yet");
  EXPECT_EQ(folder.read("netstat.txt"), "No net status has been done yet");
}

TEST_F(WindowTest, PingWithAnEmptyHostOnlyComplains) {
  QSignalSpy started(window.get(), &IpToolsWindow::toolStarted);
  box("txtIP")->clear();
  button("cmdPing")->click();
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0],
            (BoxRequest{"Please enter IP or Domain name to ping", "Lumeno", BoxIcon::None, BoxButtons::Ok}));
  EXPECT_EQ(status(), " Error...");
  EXPECT_EQ(counter(), "0");
  EXPECT_EQ(started.count(), 0);
  EXPECT_FALSE(window->isToolRunning());
  EXPECT_EQ(folder.read("ping.txt"), "No ping has been done yet");
}

TEST_F(WindowTest, TraceToTheBareDomainStartOnlyComplains) {
  QSignalSpy started(window.get(), &IpToolsWindow::toolStarted);
  button("urlopt")->click();
  for (const QString& typed : {QStringLiteral("www."), QString()}) {
    boxes.shown.clear();
    box("urltxt")->setText(typed);
    button("tracmd")->click();
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0], (BoxRequest{"You must enter a Domain Address to trace", "Lumeno", BoxIcon::None,
                                          BoxButtons::Ok}));
  }
  EXPECT_EQ(started.count(), 0);
  EXPECT_EQ(status(), " Ready...");
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowTest, TheTypedAddressIsClassifiedInTheStatusLabel) {
  button("ipopt")->click();
  const auto typeOctets = [&](const char* a, const char* b, const char* c, const char* d) {
    box("iptxt1")->setText(QString::fromLatin1(a));
    box("iptxt2")->setText(QString::fromLatin1(b));
    box("iptxt3")->setText(QString::fromLatin1(c));
    box("iptxt4")->setText(QString::fromLatin1(d));
    return window->obtainip().toStdString();
  };
  EXPECT_EQ(typeOctets("192", "168", "1", "1"), "192.168.1.1");
  EXPECT_EQ(status(), "Class C Address");
  EXPECT_EQ(typeOctets("127", "0", "0", "1"), "127.0.0.1");
  EXPECT_EQ(status(), "Loopback Address");
  EXPECT_EQ(typeOctets("224", "0", "0", "1"), "224.0.0.1");
  EXPECT_EQ(status(), "Loopback Address");  // kept
  EXPECT_EQ(typeOctets("010", "001", "1", "1"), "10.1.1.1");
  EXPECT_EQ(status(), "Class A Address");
  EXPECT_TRUE(boxes.shown.empty());

  window->findChild<QLabel*>(QStringLiteral("classlbl"))->setText(QStringLiteral("before"));
  EXPECT_EQ(typeOctets("192", "168", "", "1"), "");
  EXPECT_EQ(status(), "before");
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0], (BoxRequest{"Error, Wrong input.", "Lumeno", BoxIcon::None, BoxButtons::Ok}));

  // In domain trace mode the domain box's text is the target, as typed.
  button("urlopt")->click();
  box("urltxt")->setText(QStringLiteral(" WWW. "));
  EXPECT_EQ(window->obtainip().toStdString(), " WWW. ");
}

}  // namespace
}  // namespace lumeno::iptools::test
