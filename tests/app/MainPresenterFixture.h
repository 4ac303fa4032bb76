// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "FakeMainView.h"
#include "FakeProgram.h"
#include "app/MainPresenter.h"

namespace lumeno::test {

// A program folder with a settings file, fake platform services and a fake window.
struct MainPresenterFixture : FakeProgram {
  explicit MainPresenterFixture(const std::string& ini = settingsWith("0", "0", "0")) : FakeProgram(ini) {}
  // Runs the window's part of start-up, with the logging switch on if `logging`.
  app::MainPresenter& start(bool logging = false) {
    view.loggingOn = view.loggingOn || logging;
    presenter.emplace(context, view);
    presenter->start();
    return *presenter;
  }

  FakeMainView view;
  std::optional<app::MainPresenter> presenter;
};

inline const std::string kStamp = " , Date : 05/12/2026 , Time : 11:26:06\r\n";
inline const std::string kApiError = "An error has occurred while calling the API function";

}  // namespace lumeno::test
