// The one kind of error the program raises. An Error that no operation handles reaches the
// message dispatch, which shows it in the general error report and goes on.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tk {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown by start-up code that must end the program at once through the orderly exit.
// It is not an error: nothing is reported, the forms are destroyed and the process ends.
struct OrderlyExit {
  int exitCode = 0;
};

// Replaces the first "%s" in pattern by argument ("Failed to get data for '%s'").
[[nodiscard]] std::string FormatText(std::string_view pattern, std::string_view argument);

}  // namespace tk
