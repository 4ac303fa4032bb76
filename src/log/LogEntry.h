#pragma once

#include <string>
#include <string_view>

#include "platform/Clock.h"

// The activity log's line layout. Every entry is one CR LF line:
//   head, " , Date : ", short date, " , Time : ", long time, CR LF
// where a head without a value already carries the comma ("[Program Exit] ,").
namespace lumeno::log {

inline constexpr std::string_view kLumenoLoaded = "[Lumeno Loaded] ,";
inline constexpr std::string_view kProgramExit = "[Program Exit] ,";
inline constexpr std::string_view kConnectionLost = "[Connection Lost] ,";
inline constexpr std::string_view kErrorApiIni = "[Error API ini] ,";
inline constexpr std::string_view kRefreshedLocalIp = "[Refreshed Local IP] : ";
inline constexpr std::string_view kRequestedHostname = "[Requested Hostname] : ";
// Written only when the user has asked for them in the options.
inline constexpr std::string_view kLocalIpChanged = "[Local IP Changed] : ";
inline constexpr std::string_view kWentOffline = "[Went Offline] ,";
inline constexpr std::string_view kBackOnline = "[Back Online] ,";
// What follows the time in a "[Back Online] ," entry, before the line end.
inline constexpr std::string_view kOfflineFor = " , Offline for : ";

// The stamp that completes a head: " Date : " date " , Time : " time CR LF; a tail, when given,
// comes between the time and the line end.
std::string stamp(const platform::DateTimeText& now, std::string_view tail = {});

// A whole entry of a head without a value, e.g. "[Program Exit] , Date : ... , Time : ...\r\n".
std::string stampedEntry(std::string_view head, const platform::DateTimeText& now,
                         std::string_view tail = {});

// A whole entry of a head with a value, e.g. "[Refreshed Local IP] : 10.0.0.2 , Date : ...".
std::string valuedEntry(std::string_view head, std::string_view value, const platform::DateTimeText& now);

}  // namespace lumeno::log
