// Modal message dialogs centred on the screen, laid out at the display's scale: the information
// message and the Yes/No confirmation. While one is open every other window of the thread is
// disabled; when it closes the window that was active before is active again. Also the system's
// message box, the one way the program shows one.
#pragma once

#include <string>

namespace tk {

// Caption "Information", the information icon, the text and one "OK" button.
void ShowInformation(const std::string& text);

// The question-mark icon and the buttons "&Yes" (default, taken by Enter) and "&No" (taken by
// Escape). True when the answer is Yes.
[[nodiscard]] bool ConfirmYesNo(const std::string& caption, const std::string& text);

// The system's message box with the given MB_ flags and no owner window. While it is open every
// visible, enabled top-level window of the program is disabled; when it closes they are enabled
// again and the window that was active before is activated again. Returns the box's answer (IDOK,
// …).
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned int flags);

}  // namespace tk
