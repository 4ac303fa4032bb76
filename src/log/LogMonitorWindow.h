#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <QMainWindow>
#include <QStringDecoder>

#include "common/AppContext.h"
#include "log/LogMonitorReload.h"
#include "platform/Files.h"

class QAction;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QTimer;

namespace lumeno::log {

// The log monitor "logfrm": shows the whole activity log and keeps it current every 3 seconds.
// It only reads log.txt, except for "Clear log", which empties it after asking.
//
// A tick reads only what changed: nothing when the file is unchanged, the new bytes when it
// only grew, the whole file when it shrank or was replaced. Either way the box ends up holding
// the whole file and the caret sits at its end.
class LogMonitorWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit LogMonitorWindow(const AppContext& context, QWidget* parent = nullptr);
  ~LogMonitorWindow() override;

  // How often the file was read, for telling a cheap tick from a costly one.
  struct ReadCounts {
    int whole = 0;     // read from its start
    int appended = 0;  // read from where the view ended
  };
  [[nodiscard]] const ReadCounts& reads() const { return reads_; }

 public Q_SLOTS:
  // One tick of Timer1: bring the box up to date and put the caret at the end.
  void Timer1_Timer();
  void mnuclearlog_Click();
  void mnupausescreen_Click();
  void mnuresume_Click();
  void mnuexit_Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Decodes the log's bytes in the locale's encoding, keeping an incomplete multi-byte
  // character for the next piece.
  class TextDecoder : public QStringDecoder {
   public:
    TextDecoder() : QStringDecoder(QStringConverter::System) {}
    [[nodiscard]] bool holdsIncompleteCharacter() const { return state.remainingChars > 0; }
  };

  void load();
  void refresh();
  void showWholeFile(const platform::FileIdentity& before);
  void appendGrowth(const platform::FileIdentity& before);
  void showNothing();
  void appendText(const QString& text);
  [[nodiscard]] QString toText(std::string_view bytes);
  void rememberTail(std::string_view bytes);
  void keepMinimumOuterSize();

  const AppContext& context_;
  std::filesystem::path file_;

  QPlainTextEdit* RichTextBox1_ = nullptr;
  QStatusBar* StatusBar1_ = nullptr;
  QTimer* Timer1_ = nullptr;
  QMenu* mnufile_ = nullptr;
  QAction* mnuclearlog_ = nullptr;
  QAction* mnupausescreen_ = nullptr;
  QAction* mnuresume_ = nullptr;
  QAction* mnuexit_ = nullptr;

  bool loaded_ = false;
  bool centred_ = false;
  platform::FileIdentity shown_;  // the file the box shows, as it was when last read
  std::string tail_;              // the last bytes shown, to check that growth continues them
  LineEndFolder lineEnds_;
  TextDecoder decoder_;
  ReadCounts reads_;
};

}  // namespace lumeno::log
