#include "log/LogEntry.h"

namespace lumeno::log {

std::string stamp(const platform::DateTimeText& now, std::string_view tail) {
  std::string text;
  text.reserve(24 + now.shortDate.size() + now.longTime.size() + tail.size());
  text.append(" Date : ")
      .append(now.shortDate)
      .append(" , Time : ")
      .append(now.longTime)
      .append(tail)
      .append("\r\n");
  return text;
}

std::string stampedEntry(std::string_view head, const platform::DateTimeText& now, std::string_view tail) {
  std::string text(head);
  text += stamp(now, tail);
  return text;
}

std::string valuedEntry(std::string_view head, std::string_view value, const platform::DateTimeText& now) {
  std::string text(head);
  text.append(value).append(" ,");
  text += stamp(now);
  return text;
}

}  // namespace lumeno::log
