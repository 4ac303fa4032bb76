#pragma once

#include <string>

namespace lumeno {

enum class BoxIcon { None, Exclamation, Critical, Information, Question };
enum class BoxButtons { Ok, YesNo };
// Unanswered: the box went away without a button, because the program is ending (a quit signal
// or the session closing while it was open).
enum class BoxAnswer { Ok, Yes, No, Unanswered };

// One modal message box. A box that names no title carries the program's title, "Lumeno".
struct BoxRequest {
  std::string text;
  std::string title = "Lumeno";
  BoxIcon icon = BoxIcon::None;
  BoxButtons buttons = BoxButtons::Ok;
  friend bool operator==(const BoxRequest&, const BoxRequest&) = default;
};

// Every message box of the program goes through here, so tests can answer them.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the box modally and returns the button the user chose.
  virtual BoxAnswer show(const BoxRequest& request) = 0;
};

}  // namespace lumeno
