// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutPresenter.h"

#include <string>

#include "about/HelpPage.h"
#include "common/Version.h"
#include "platform/Launcher.h"

namespace lumeno::about {

AboutPresenter::AboutPresenter(AboutView& view, const AppContext& context,
                               const platform::SystemInfoTool& sysInfoTool)
    : view_(view), context_(context), sysInfoTool_(sysInfoTool) {}

void AboutPresenter::onLoaded() {
  view_.setVersionText(std::string(text::kVersionPrefix) + version::text);
  view_.setTitle(std::string(text::kApplicationTitle));
}

void AboutPresenter::onSysInfoClicked() {
  startSysInfo(context_, sysInfoTool_);
}

void AboutPresenter::onLinkClicked() {
  context_.launcher->openUrl(helpPageUrl(context_.file("help.html").parent_path()));
}

void AboutPresenter::onDoneClicked() {
  view_.unload();
}

void AboutPresenter::onCloseRequested() {
  view_.unload();
}

}  // namespace lumeno::about
