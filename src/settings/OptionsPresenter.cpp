// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/OptionsPresenter.h"

#include <optional>
#include <string>
#include <system_error>

#include "common/MessageBoxes.h"
#include "common/PathText.h"
#include "platform/Autostart.h"
#include "platform/Files.h"
#include "platform/NetworkInfo.h"

namespace lumeno::settings {
namespace {

struct OptionKey {
  Option option;
  const char* section;
  const char* key;
};

// In the order loading reads them.
constexpr std::array<OptionKey, 7> kOptionKeys = {{{Option::AlertIfOffline, "Options", "alertifoffline"},
                                                   {Option::TrayAtStartup, "Automation", "trayatstartup"},
                                                   {Option::HostNamePopup, "Options", "hostnameintext1.text"},
                                                   {Option::UseLog, "Options", "uselog"},
                                                   {Option::AutoStartup, "Automation", "autostartup"},
                                                   {Option::FollowAddress, "Options", "followip"},
                                                   {Option::LogConnectionChanges, "Options", "logoutages"}}};
constexpr const char* kInterfaceSection = "Options";
constexpr const char* kInterfaceKey = "interface";

const OptionKey& keyOf(Option option) {
  return kOptionKeys.at(static_cast<std::size_t>(option));
}

// The stored interface's place in `names`, counted from 1; 0 for automatic: "auto", nothing, or
// a name that no longer exists. The file keeps what it says.
std::size_t interfaceEntry(const std::string& stored, const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == stored) return i + 1;
  }
  return 0;
}

}  // namespace

std::vector<SettingKey> settingKeysRead() {
  std::vector<SettingKey> keys;
  for (const OptionKey& entry : kOptionKeys) keys.push_back({entry.section, entry.key});
  keys.push_back({kInterfaceSection, kInterfaceKey});
  return keys;
}

ConnectionOptions readConnectionOptions(const AppContext& context) {
  // Read quietly: a key that cannot be read is off, and the options dialog tells of it.
  const auto read = [&](const char* section, const char* key) {
    return readTextSetting(context, section, key);
  };
  ConnectionOptions options;
  const OptionKey& follow = keyOf(Option::FollowAddress);
  const OptionKey& logChanges = keyOf(Option::LogConnectionChanges);
  options.followAddress = readsAsOn(read(follow.section, follow.key));
  options.logConnectionChanges = readsAsOn(read(logChanges.section, logChanges.key));
  const std::vector<std::string> names =
      context.network != nullptr ? context.network->ipv4InterfaceNames() : std::vector<std::string>{};
  const std::size_t entry = interfaceEntry(read(kInterfaceSection, kInterfaceKey), names);
  if (entry != 0) options.interfaceName = names[entry - 1];
  return options;
}

bool clearLogFile(const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (std::filesystem::is_regular_file(status)) {
    using std::filesystem::perms;
    // A read-only log stays as the user made it, whoever runs the program.
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
        perms::none) {
      return false;
    }
  }
  return platform::writeFile(file, {});
}

OptionsPresenter::OptionsPresenter(const AppContext& context, OptionsView& view, ConnectionOptions* live)
    : context_(context), view_(view), live_(live != nullptr ? live : &ownLive_) {
  *live_ = ConnectionOptions{};
}

void OptionsPresenter::load() {
  for (const OptionKey& entry : kOptionKeys) {
    // A key that cannot be read leaves its box unticked.
    const std::optional<std::string> value = readSetting(context_, entry.section, entry.key);
    if (!value || !readsAsOn(*value)) continue;
    view_.setTicked(entry.option, true);
    onBoxClicked(entry.option, true);
  }
  loadInterface();
}

void OptionsPresenter::loadInterface() {
  if (context_.network != nullptr) interfaces_ = context_.network->ipv4InterfaceNames();
  const std::size_t selected =
      interfaceEntry(readTextSetting(context_, kInterfaceSection, kInterfaceKey), interfaces_);
  live_->interfaceName = selected == 0 ? std::string() : interfaces_[selected - 1];
  std::vector<std::string> entries{kAutomaticInterface};
  entries.insert(entries.end(), interfaces_.begin(), interfaces_.end());
  view_.showInterfaces(entries, selected);
}

void OptionsPresenter::onInterfaceChosen(std::size_t entry) {
  if (entry > interfaces_.size()) return;
  live_->interfaceName = entry == 0 ? std::string() : interfaces_[entry - 1];
  writeSetting(context_, kInterfaceSection, kInterfaceKey,
               entry == 0 ? std::string(kAutomaticInterfaceValue) : live_->interfaceName);
}

void OptionsPresenter::onBoxClicked(Option option, bool ticked) {
  ticked_.at(static_cast<std::size_t>(option)) = ticked;
  if (option == Option::FollowAddress) live_->followAddress = ticked;
  if (option == Option::LogConnectionChanges) live_->logConnectionChanges = ticked;
  const OptionKey& entry = keyOf(option);
  writeSetting(context_, entry.section, entry.key, ticked ? "1" : "0");
  if (option != Option::AutoStartup) return;
  // The key is written first, so the file records the choice even when the entry cannot be.
  if (context_.autostart == nullptr) return;
  if (ticked) {
    context_.autostart->enable();
  } else {
    context_.autostart->disable();
  }
}

void OptionsPresenter::onClearLogClicked() {
  const BoxAnswer answer =
      context_.boxes->show({"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo});
  if (answer != BoxAnswer::Yes) return;
  const std::filesystem::path file = context_.file("log.txt");
  if (!clearLogFile(file)) {
    context_.boxes->show({"The log file could not be cleared: " + pathText(file), "Lumeno",
                          BoxIcon::Exclamation, BoxButtons::Ok});
  }
}

void OptionsPresenter::onViewLogClicked() {
  view_.openLogMonitor();
}

void OptionsPresenter::onDoneClicked() {
  view_.closeDialog();
}

}  // namespace lumeno::settings
