// Modal message dialogs centred on the screen: the information message and the Yes/No
// confirmation. While one is open every other window of the thread is disabled.
#pragma once

#include <string>

namespace tk {

// Caption "Information", the information icon, the text and one "OK" button.
void ShowInformation(const std::string& text);

// The question-mark icon and the buttons "&Yes" (default, taken by Enter) and "&No" (taken by
// Escape). True when the answer is Yes.
[[nodiscard]] bool ConfirmYesNo(const std::string& caption, const std::string& text);

}  // namespace tk
