// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace lumeno::win32ui {

// One shared instance of a window: created on first use, shown modeless without an owner, and
// loaded afresh after it has been closed. Never two copies. Window needs alive() (false once
// its window has been destroyed) and show().
template <class Window>
class SharedWindow {
 public:
  using Factory = std::function<std::unique_ptr<Window>()>;
  explicit SharedWindow(Factory factory) : factory_(std::move(factory)) {}

  [[nodiscard]] Window* loaded() const { return window_ && window_->alive() ? window_.get() : nullptr; }

  Window& load() {
    if (loaded() == nullptr) {
      window_.reset();  // a closed one goes before its successor is built
      window_ = factory_();
    }
    return *window_;
  }

  Window& show() {
    Window& window = load();
    window.show();
    return window;
  }

 private:
  Factory factory_;
  std::unique_ptr<Window> window_;
};

}  // namespace lumeno::win32ui
