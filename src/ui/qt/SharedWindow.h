// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <utility>

#include <QPointer>
#include <QWidget>

namespace lumeno::app {

// One shared instance of a window: created on first use, shown modeless without an owner, and
// loaded afresh after it has been closed (closing deletes it). Never two copies.
template <class Window>
class SharedWindow {
 public:
  using Factory = std::function<Window*()>;
  explicit SharedWindow(Factory factory) : factory_(std::move(factory)) {}
  SharedWindow(const SharedWindow&) = delete;
  SharedWindow& operator=(const SharedWindow&) = delete;
  // The program ends without any window's closing handling: a loaded window simply goes.
  ~SharedWindow() { delete window_.data(); }

  // The loaded instance, or nullptr when it is not loaded.
  [[nodiscard]] Window* loaded() const { return window_.data(); }

  // Loads the window (hidden) if it is not loaded.
  Window& load() {
    if (window_.isNull()) {
      window_ = factory_();
      window_->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *window_;
  }

  // Loads it if needed and shows it, modeless; a shown window is only brought to the front.
  Window& show() {
    Window& window = load();
    if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    return window;
  }

 private:
  Factory factory_;
  QPointer<Window> window_;
};

}  // namespace lumeno::app
