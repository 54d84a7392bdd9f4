// The least any start of the program has to do, in plain Win32 without Vindelor's code: the
// windows the program has when its message loop fetches its first message, of the same window
// classes and styles, in their fonts and in the same shown or hidden state; the tray icon and
// its menu, the two timers, the single-instance mutex and the two hotkeys; the printer list
// (EnumPrinters as the printer object asks for it, once per process) in the combo box; the
// stored settings (their key opened, every value read and applied); then the message loop.
// Timed as StartupBench times the program: from the first step to the loop's first retrieval.
//
// At that moment the program has, and this floor has as well (bench/WindowCensus.h counts both,
// and each benchmark prints its count):
//   - 5 top-level windows of classes of its own, 2 of them shown: the application window of no
//     size that carries the taskbar button (shown) and owns the three forms, the credits splash
//     (shown, topmost), the options dialog (hidden), the selection overlay (hidden, topmost, the
//     whole screen), and the tray icon's hidden callback window; beside them the system's: the
//     combo box's drop-down list (ComboLBox) and the thread's IME window, 7 in all;
//   - 29 controls: on the splash 5 labels and a group box; on the dialog a group box holding 9
//     check boxes, 2 radio buttons, the printer combo box and a push button, 6 push buttons, a
//     second group box holding 1 more, and the status line, of a class of its own; with the
//     combo box's edit field 30 windows inside the forms;
//   - 3 message-only windows: one per timer (the splash's and the status line clock's, 1000 ms
//     each) and the system's OleMainThreadWndClass, which Wine makes as the splash becomes the
//     foreground window;
//   - 1 tray icon.
#include <windows.h>
// (these two need windows.h first)
#include <shellapi.h>
#include <winspool.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/WindowCensus.h"
#include "toolkit/Handles.h"

namespace {

constexpr char kApplicationClass[] = "StartupFloorApplication";
constexpr char kFormClass[] = "StartupFloorForm";
constexpr char kOverlayClass[] = "StartupFloorOverlay";
constexpr char kStatusLineClass[] = "StartupFloorStatusLine";
constexpr char kTimerClass[] = "StartupFloorTimer";
constexpr char kTrayClass[] = "StartupFloorTray";
constexpr char kMutexName[] = "StartupFloor20";
constexpr char kSettingsKey[] = "SOFTWARE\\Osmerdane\\Vindelor\\2.0\\Setup";
constexpr char kDefaultPrinterEntry[] = "Default Printer";
constexpr UINT kLoopReached = WM_APP + 0x5b;
constexpr UINT kTrayMessage = WM_USER + 123;
constexpr UINT_PTR kTimerId = 1;

[[noreturn]] void Fail(const char* what) { throw std::runtime_error(what); }

// Windows destroyed in the reverse order of their creation: a control before its container, an
// owned window before its owner.
class WindowStack {
 public:
  WindowStack() { windows_.reserve(48); }
  WindowStack(const WindowStack&) = delete;
  WindowStack& operator=(const WindowStack&) = delete;
  ~WindowStack() {
    while (!windows_.empty()) windows_.pop_back();
  }
  HWND Push(HWND window) {
    if (!window) Fail("a window could not be made");
    windows_.emplace_back(window);
    return window;
  }

 private:
  std::vector<tk::UniqueWindow> windows_;
};

// What a start registers besides its handles (timers, hotkeys, the tray entry), undone in the
// reverse order.
class UndoList {
 public:
  UndoList() = default;
  UndoList(const UndoList&) = delete;
  UndoList& operator=(const UndoList&) = delete;
  ~UndoList() {
    while (!undo_.empty()) {
      undo_.back()();
      undo_.pop_back();
    }
  }
  void Add(std::function<void()> undo) { undo_.push_back(std::move(undo)); }

 private:
  std::vector<std::function<void()>> undo_;
};

// A form's background, painted with the brush its window keeps; closing a form hides it.
LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    if (auto brush = reinterpret_cast<HBRUSH>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
      return TRUE;
    }
  } else if (message == WM_CLOSE) {
    ShowWindow(window, SW_HIDE);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The program's icon resource, else the system's application icon; shared, never destroyed.
HICON ProgramIcon() {
  auto icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  return icon ? icon : LoadIconA(nullptr, IDI_APPLICATION);
}

// Once per process, as the program registers each class the first time it needs it.
void RegisterClasses(HICON icon) {
  static const bool registered = [icon] {
    struct Class {
      const char* name;
      UINT style;
      WNDPROC procedure;
      LPCSTR cursor;
    };
    for (const Class& each :
         {Class{kApplicationClass, 0, &DefWindowProcA, IDC_ARROW},
          Class{kFormClass, CS_DBLCLKS, &FormProc, IDC_ARROW},
          Class{kOverlayClass, CS_DBLCLKS, &FormProc, IDC_CROSS},
          Class{kStatusLineClass, CS_HREDRAW | CS_VREDRAW, &DefWindowProcA, IDC_ARROW},
          Class{kTimerClass, 0, &DefWindowProcA, IDC_ARROW},
          Class{kTrayClass, 0, &DefWindowProcA, IDC_ARROW}}) {
      const WNDCLASSEXA windowClass{.cbSize = sizeof(WNDCLASSEXA),
                                    .style = each.style,
                                    .lpfnWndProc = each.procedure,
                                    .hInstance = GetModuleHandleA(nullptr),
                                    .hIcon = icon,
                                    .hCursor = LoadCursorA(nullptr, each.cursor),
                                    .lpszClassName = each.name};
      if (!RegisterClassExA(&windowClass)) return false;
    }
    return true;
  }();
  if (!registered) Fail("a window class could not be registered");
}

// The printer names, fetched the first time only, as the program's printer object keeps them.
const std::vector<std::string>& PrinterNames() {
  static const std::vector<std::string> names = [] {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD found = 0;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &found);
    std::vector<BYTE> buffer(needed);
    std::vector<std::string> list;
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &found)) return list;
    for (DWORD i = 0; i < found; ++i) {
      const char* name = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data())[i].pPrinterName;
      list.emplace_back(name ? name : "");
    }
    return list;
  }();
  return names;
}

// The fonts the designs ask for, each made once per start.
enum FontId { kNormal, kTitle, kFramed, kNamed, kOptions, kFixed, kFontCount };

struct Started {
  tk::UniqueKernelHandle mutex;
  tk::UniqueFont fonts[kFontCount];
  tk::UniqueBrush silver;
  tk::UniqueMenu trayMenu;
  WindowStack windows;  // after the fonts, brush and menu: the windows go first
  UndoList undo;        // after the windows: it runs before they go
  HWND application = nullptr, credits = nullptr, dialog = nullptr;
  std::vector<HWND> dialogControls;  // as kDialogControls lists them
  int controls = 0;
};

void MakeFonts(Started& run) {
  struct Font {
    int height;
    bool bold;
    const char* face;
  };
  const Font fonts[kFontCount] = {{-11, false, "MS Sans Serif"}, {-32, true, "MS Sans Serif"},
                                  {-13, true, "MS Sans Serif"},  {-19, true, "MS Sans Serif"},
                                  {-12, false, "MS Sans Serif"}, {-12, false, "Courier New"}};
  for (int id = 0; id < kFontCount; ++id) {
    const bool fixed = id == kFixed;
    run.fonts[id].Reset(CreateFontA(
        fonts[id].height, 0, 0, 0, fonts[id].bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        fixed ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE, fonts[id].face));
    if (!run.fonts[id]) Fail("a font could not be made");
  }
}

// A control of a form's table: on the form (parent -1) or on the table's earlier group box.
struct ControlDesign {
  int parent;
  const char* windowClass;
  const char* caption;
  DWORD style;
  RECT bounds;  // left, top, width, height
  FontId font;
  int id = 0;  // 0: the next one from 100
};

constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | WS_GROUP;
// A group box with a tab position gives its stops to its controls; without one it is a group of
// its own, so that the arrows never land on it.
constexpr DWORD kGroupBox = BS_GROUPBOX | WS_CLIPCHILDREN;
constexpr DWORD kCheckBox = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD kPushButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kDefaultButton = BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kFirstRadio = BS_RADIOBUTTON | WS_TABSTOP | WS_GROUP;
constexpr DWORD kComboBox = CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
constexpr LONG kComboHeight = 21 + 8 * 13 + 2;  // with room for 8 entries of 13 pixels

// The splash's controls, as the program makes them.
constexpr ControlDesign kCreditsControls[] = {
    {-1, "STATIC", "Start-up floor", kLabel, {24, 4, 234, 37}, kTitle},
    {-1, "BUTTON", "Win95 + NT4.0", kGroupBox | WS_GROUP, {16, 44, 249, 105}, kFramed},
    {1, "STATIC", "Written by", kLabel, {56, 20, 134, 16}, kFramed},
    {1, "STATIC", "Nobody", kLabel, {60, 40, 133, 24}, kNamed},
    {1, "STATIC", "floor@example.invalid", kLabel, {44, 68, 152, 13}, kNormal},
    {1, "STATIC", "http://example.invalid/floor", kLabel, {4, 84, 239, 13}, kNormal},
};

// The dialog's controls in tab order, which the dialog manager follows; of the two radio buttons
// only the checked one is a tab stop.
// clang-format off
enum DialogControl {
  kPrint, kCancel, kPrinterSetup, kViewer, kOptionsBox, kSaveOptions, kCentered, kStretched,
  kMonochrome, kDateTime, kImmediate, kLandscape, kPortrait, kLarge, kInverted, kPrinters,
  kMirrored, kClipboard, kSelect, kSaveBmp, kFrame, kFromClipboard, kStatusLine
};
// clang-format on
constexpr ControlDesign kDialogControls[] = {
    {-1, "BUTTON", "Print", kDefaultButton, {184, 24, 101, 25}, kNormal, IDOK},
    {-1, "BUTTON", "Cancel", kPushButton, {184, 216, 101, 25}, kFixed, IDCANCEL},
    {-1, "BUTTON", "Printer Setup", kPushButton, {184, 56, 101, 25}, kNormal},
    {-1, "BUTTON", "BMP Viewer", kPushButton, {184, 120, 101, 25}, kNormal},
    {-1, "BUTTON", "Options", kGroupBox, {8, 8, 157, 241}, kOptions},
    {kOptionsBox, "BUTTON", "Save Options", kPushButton, {28, 212, 97, 21}, kOptions},
    {kOptionsBox, "BUTTON", "Centered", kCheckBox, {16, 16, 97, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Stretched", kCheckBox, {16, 32, 97, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Monochrome", kCheckBox, {16, 48, 101, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Date +Time", kCheckBox, {16, 96, 97, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Immediate Action", kCheckBox, {16, 172, 109, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Landscape", kFirstRadio, {72, 132, 81, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Portrait", BS_RADIOBUTTON, {16, 132, 57, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Large Form", kCheckBox | WS_GROUP, {16, 188, 77, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Inverted Colors", kCheckBox, {16, 64, 97, 17}, kOptions},
    {kOptionsBox, "COMBOBOX", "Default Printer", kComboBox, {16, 148, 133, kComboHeight}, kOptions},
    {kOptionsBox, "BUTTON", "Mirrored Image", kCheckBox, {16, 80, 121, 17}, kOptions},
    {kOptionsBox, "BUTTON", "Copy to Clipboard", kCheckBox, {16, 112, 113, 17}, kOptions},
    {-1, "BUTTON", "Select Rectangle", kPushButton, {184, 184, 101, 25}, kNormal},
    {-1, "BUTTON", "Save as BMP", kPushButton, {184, 152, 101, 25}, kNormal},
    {-1, "BUTTON", "", kGroupBox, {172, 8, 125, 241}, kNormal},
    {kFrame, "BUTTON", "Get from Clipboard", kPushButton, {12, 80, 101, 25}, kNormal},
    {-1, kStatusLineClass, " Start-up floor", WS_GROUP, {0, 257, 305, 21}, kNormal},
};

// A form centred on the screen, owned by the application window, with its controls.
template <std::size_t kCount>
HWND MakeForm(Started& run, DWORD exStyle, DWORD style, const char* caption, SIZE client,
              const ControlDesign (&controls)[kCount], std::vector<HWND>& made) {
  RECT outer{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND form = run.windows.Push(CreateWindowExA(
      exStyle, kFormClass, caption, style, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
      (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, run.application, nullptr,
      instance, nullptr));
  SendMessageA(form, WM_SETICON, ICON_BIG, static_cast<LPARAM>(GetClassLongPtrA(form, GCLP_HICON)));
  for (std::size_t index = 0; index < kCount; ++index) {
    const ControlDesign& design = controls[index];
    const bool box = (design.style & BS_TYPEMASK) == BS_GROUPBOX && design.windowClass[0] == 'B';
    const int id = design.id ? design.id : 100 + static_cast<int>(index);
    HWND control = run.windows.Push(
        CreateWindowExA(box ? WS_EX_CONTROLPARENT : 0, design.windowClass, design.caption,
                        design.style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, design.bounds.left,
                        design.bounds.top, design.bounds.right, design.bounds.bottom,
                        design.parent < 0 ? form : made[static_cast<std::size_t>(design.parent)],
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr));
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(run.fonts[design.font].Get()),
                 FALSE);
    made.push_back(control);
  }
  run.controls += static_cast<int>(kCount);
  return form;
}

HWND AddTimer(Started& run) {
  HWND window = run.windows.Push(CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                                 nullptr, GetModuleHandleA(nullptr), nullptr));
  if (!SetTimer(window, kTimerId, 1000, nullptr)) Fail("no timer");
  run.undo.Add([window] { KillTimer(window, kTimerId); });
  return window;
}

// The application window and the credits splash with its timer, tray menu and tray icon.
void MakeCredits(Started& run, HICON icon) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  std::vector<HWND> creditsControls;
  run.application = run.windows.Push(
      CreateWindowExA(0, kApplicationClass, "StartupFloor",
                      WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                      GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                      nullptr, nullptr, instance, nullptr));
  run.credits = MakeForm(run, WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_TOPMOST,
                         WS_POPUP | WS_CAPTION | WS_DLGFRAME | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                         "                         Welcome to the floor", {281, 159},
                         kCreditsControls, creditsControls);
  run.silver.Reset(CreateSolidBrush(RGB(192, 192, 192)));
  SetWindowLongPtrA(run.credits, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(run.silver.Get()));
  AddTimer(run);

  run.trayMenu.Reset(CreatePopupMenu());
  if (!run.trayMenu) Fail("no menu");
  UINT command = 0x100;
  for (const char* item :
       {"Print the Desktop", "-", "Help", "Open", "Close", "Suspend", "Immediate Action"}) {
    const bool separator = item[0] == '-';
    AppendMenuA(run.trayMenu.Get(), separator ? MF_SEPARATOR : MF_STRING, command++,
                separator ? nullptr : item);
  }
  SetMenuDefaultItem(run.trayMenu.Get(), 0x100, FALSE);
  // The record as Windows 95 defines it, as the program sends it.
  NOTIFYICONDATAA record{
      .cbSize = NOTIFYICONDATAA_V1_SIZE,
      .hWnd = run.windows.Push(CreateWindowExA(0, kTrayClass, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                               nullptr, instance, nullptr)),
      .uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP,
      .uCallbackMessage = kTrayMessage,
      .hIcon = icon,
      .szTip = "Start-up floor"};
  if (Shell_NotifyIconA(NIM_ADD, &record)) {
    run.undo.Add([record]() mutable { Shell_NotifyIconA(NIM_DELETE, &record); });
  }

  run.mutex.Reset(CreateMutexA(nullptr, TRUE, kMutexName));
  SetForegroundWindow(run.credits);
}

void SetChecked(HWND button, bool checked) {
  SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The stored settings: every value read, the check marks and a position on a monitor applied.
// The number of values read, -1 when the key is missing; `printer` becomes the stored one.
int ApplySettings(const Started& run, std::string& printer) {
  tk::UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, key.Put()) !=
      ERROR_SUCCESS) {
    return -1;
  }
  int read = 0;
  auto value = [&](const char* name, void* data, DWORD size) {
    const bool found = RegQueryValueExA(key.Get(), name, nullptr, nullptr, static_cast<BYTE*>(data),
                                        &size) == ERROR_SUCCESS;
    read += found ? 1 : 0;
    return found;
  };
  struct Check {
    const char* name;
    DialogControl box;
  };
  for (const Check& check :
       {Check{"Centered", kCentered}, Check{"Stretched", kStretched},
        Check{"Date + Time", kDateTime}, Check{"Monochrom", kMonochrome},
        Check{"Mirrored", kMirrored}, Check{"Landscape", kLandscape}, Check{"Portrait", kPortrait},
        Check{"Immediat Action", kImmediate}, Check{"ScaleBy", kLarge},
        Check{"Inversed", kInverted}, Check{"Clipboard", kClipboard}}) {
    DWORD on = 0;
    if (value(check.name, &on, sizeof(on))) SetChecked(run.dialogControls[check.box], on);
  }
  LONG left = 0;
  LONG top = 0;
  if (value("WinPosLeft", &left, sizeof(left)) && value("WinPosTop", &top, sizeof(top))) {
    RECT at{};
    GetWindowRect(run.dialog, &at);
    OffsetRect(&at, left - at.left, top - at.top);
    if (MonitorFromRect(&at, MONITOR_DEFAULTTONULL)) {
      SetWindowPos(run.dialog, nullptr, at.left, at.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  char name[256]{};
  if (value("DefPrinter", name, sizeof(name) - 1)) printer = name;
  return read;
}

// The options dialog, hidden, with its controls, the status line's clock timer, the printer
// list, the stored settings and the hotkeys. The number of stored values read.
int MakeDialog(Started& run) {
  run.dialog =
      MakeForm(run, WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE,
               WS_POPUP | WS_CAPTION | WS_DLGFRAME | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
               "Start-up floor", {305, 278}, kDialogControls, run.dialogControls);
  SetWindowLongPtrA(run.dialog, GWLP_USERDATA,
                    reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
  const std::vector<HWND>& controls = run.dialogControls;
  SetChecked(controls[kCentered], true);
  SetChecked(controls[kLandscape], true);
  HWND printers = controls[kPrinters];
  SendMessageA(printers, CB_SETITEMHEIGHT, 0, 13);
  AddTimer(run);

  for (const std::string& name : PrinterNames()) {
    SendMessageA(printers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  if (PrinterNames().empty()) {
    EnableWindow(printers, FALSE);
  } else {
    SendMessageA(printers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kDefaultPrinterEntry));
  }
  std::string printer = kDefaultPrinterEntry;
  const int settings = ApplySettings(run, printer);
  const LRESULT entry = SendMessageA(printers, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(printer.c_str()));
  if (entry != CB_ERR) SendMessageA(printers, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);

  // A key another program holds stays unregistered, as in the program.
  for (const auto& [id, modifiers] : {std::pair{-2, 0U}, std::pair{-1, UINT{MOD_ALT}}}) {
    if (RegisterHotKey(run.dialog, id, modifiers, VK_SNAPSHOT)) {
      run.undo.Add([dialog = run.dialog, hotkey = id] { UnregisterHotKey(dialog, hotkey); });
    }
  }
  return settings;
}

struct Start {
  double milliseconds = -1;
  int settings = 0;
  int controls = 0;
  bench::WindowCensus census;
};

// One start: from its first step to the loop's first retrieval; everything it made is given
// back when it returns.
Start StartOnce() {
  Start start;
  const bench::Stopwatch since;
  Started run;
  const HICON icon = ProgramIcon();
  RegisterClasses(icon);
  MakeFonts(run);
  MakeCredits(run, icon);
  start.settings = MakeDialog(run);
  // The selection overlay: borderless, topmost, the whole screen, hidden.
  run.windows.Push(CreateWindowExA(WS_EX_TOPMOST, kOverlayClass, "Selection",
                                   WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                   run.application, nullptr, GetModuleHandleA(nullptr), nullptr));
  start.controls = run.controls;

  ShowWindow(run.application, SW_SHOWNOACTIVATE);
  ShowWindow(run.credits, SW_SHOW);
  BringWindowToTop(run.credits);
  PostThreadMessageA(GetCurrentThreadId(), kLoopReached, 0, 0);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (start.milliseconds < 0) {
      start.milliseconds = since.Milliseconds();
      start.census = bench::TakeWindowCensus();
    }
    if (message.hwnd == nullptr && message.message == kLoopReached) PostQuitMessage(0);
    if (IsDialogMessageA(run.dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return start;
}

}  // namespace

int main() {
  constexpr int kRuns = 15;
  std::vector<double> samples;
  Start first;
  try {
    for (int run = 0; run < kRuns; ++run) {
      const Start start = StartOnce();
      if (start.settings < 0) {
        std::printf("start %d: no stored settings (run Vindelor once first)\n", run);
        return 1;
      }
      if (start.milliseconds < 0) {
        std::printf("start %d: the loop ended before its first message\n", run);
        return 1;
      }
      if (run == 0) {
        std::printf("%-44s %9.3f ms\n", "floor start-up, first run in the process",
                    start.milliseconds);
        first = start;
      }
      samples.push_back(start.milliseconds);
    }
  } catch (const std::exception& error) {
    std::printf("floor start failed: %s\n", error.what());
    return 1;
  }
  std::printf("%lu printers listed, %d stored values read, %d controls made\n",
              static_cast<unsigned long>(PrinterNames().size()), first.settings, first.controls);
  bench::ReportWindowCensus("floor", first.census);
  bench::Report("floor start-up, entry to message loop", bench::Summarize(samples));
  return 0;
}
