#pragma once

#include <cstddef>
#include <string>

namespace lumeno::iptools {

// The controls of the IP tools window that its presenter reads, fills, enables or disables.
enum class Control {
  OutputBox,
  HostBox,
  CountBox,
  Counter,
  PingButton,
  Octet1,
  Octet2,
  Octet3,
  Octet4,
  HopsBox,
  TimeoutBox,
  DomainBox,
  HostNamesTick,
  TraceButton,
  ShowAllTick,
  NetstatButton,
  StatusLabel,
  LastPingItem,
  LastTraceItem,
  LastNetstatItem,
  ClearAllItem,
};

// The four tools the option buttons choose between.
enum class Mode { Ping, AddressTrace, DomainTrace, Netstat };

// What the IP tools window can show and do. The presenter decides; the window only carries it
// out. Texts are UTF-8; the output box shows bytes that are not UTF-8 as replacement characters.
class IpToolsView {
 public:
  virtual ~IpToolsView() = default;

  // A text box's text as the user left it.
  [[nodiscard]] virtual std::string text(Control box) const = 0;
  // A box's or label's text, or a button's caption.
  virtual void setText(Control control, const std::string& text) = 0;
  [[nodiscard]] virtual bool isTicked(Control tick) const = 0;
  virtual void setTicked(Control tick, bool ticked) = 0;
  virtual void setEnabled(Control control, bool enabled) = 0;
  // Selects the mode's option button and deselects the other three, without reporting it back.
  virtual void selectMode(Mode mode) = 0;

  // The output box while a tool runs: text goes on at the end, a line goes on top, lines go from
  // the top (counted from `first`, the first line being 0). The box is read-only meanwhile.
  virtual void appendOutput(const std::string& text) = 0;
  virtual void insertOutputAtStart(const std::string& text) = 0;
  virtual void removeOutputLines(std::size_t first, std::size_t count) = 0;
  virtual void setOutputReadOnly(bool readOnly) = 0;
  // Puts the caret at the end of the output (shown scrolled there) or at its very start.
  virtual void moveCaretToEnd() = 0;
  virtual void moveCaretToStart() = 0;

  // Makes the whole text of the box the selection.
  virtual void selectAll(Control box) = 0;
  // Pops up the "Options" menu at the mouse position.
  virtual void popUpOptionsMenu() = 0;

  // The hourglass over the window, or the default pointer.
  virtual void showBusyPointer(bool busy) = 0;
  virtual void beep() = 0;
  // The desktop's double-click interval in milliseconds.
  [[nodiscard]] virtual int doubleClickInterval() const = 0;
  // Unloads the window; the next showing loads it afresh.
  virtual void closeWindow() = 0;
};

}  // namespace lumeno::iptools
