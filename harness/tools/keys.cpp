// Presses keys for a Vindelor that runs under Wine. Wine's hotkeys only see keys that reach
// Wine, so on a display where no Wine window has the keyboard focus (or on an invisible one)
// this is the way to press Print Screen. Keys sent with SendInput from a program in the same
// Wine prefix reach the hotkeys and the focused Wine window.
//
//   vindelor-keys KEY...      KEY: printscreen, alt-printscreen, enter, escape, wait (1 s)
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

void Send(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

void Press(WORD key) {
  Send(key, true);
  Send(key, false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vindelor-keys printscreen|alt-printscreen|enter|escape|wait...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    const char* key = argv[i];
    if (std::strcmp(key, "printscreen") == 0) {
      Press(VK_SNAPSHOT);
    } else if (std::strcmp(key, "alt-printscreen") == 0) {
      Send(VK_MENU, true);
      Press(VK_SNAPSHOT);
      Send(VK_MENU, false);
    } else if (std::strcmp(key, "enter") == 0) {
      Press(VK_RETURN);
    } else if (std::strcmp(key, "escape") == 0) {
      Press(VK_ESCAPE);
    } else if (std::strcmp(key, "wait") == 0) {
      Sleep(1000);
    } else {
      std::fprintf(stderr, "vindelor-keys: unknown key %s\n", key);
      return 2;
    }
    Sleep(100);
  }
  return 0;
}
