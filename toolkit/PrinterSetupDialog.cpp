// The printer setup dialog of the printer object: it opens on the current printer with its
// settings, and OK makes its choice current.
#include "toolkit/Printer.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "toolkit/Error.h"
#include "toolkit/PrinterDriver.h"

namespace tk {
namespace {

using UniqueGlobal = UniqueHandle<HGLOBAL, &GlobalFree>;

// GlobalLock … GlobalUnlock.
class LockedGlobal {
 public:
  explicit LockedGlobal(HGLOBAL memory) noexcept
      : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;
  ~LockedGlobal() {
    if (data_) GlobalUnlock(memory_);
  }
  [[nodiscard]] void* Get() const noexcept { return data_; }
  [[nodiscard]] std::size_t Size() const noexcept { return data_ ? GlobalSize(memory_) : 0; }

 private:
  HGLOBAL memory_;
  void* data_;
};

// A DEVMODEA block is never shorter than the structure, so that its fields can be read.
std::vector<unsigned char> CopySettings(const void* data, std::size_t size) {
  std::vector<unsigned char> settings(std::max(size, sizeof(DEVMODEA)), 0);
  std::memcpy(settings.data(), data, size);
  return settings;
}

// Wine's printer driver takes the settings it is handed (DM_IN_BUFFER) as its own defaults for
// the rest of the process, and the setup dialog hands it the settings it opens with. This keeps
// the driver's defaults from before the dialog and hands them back afterwards; elsewhere that
// call changes nothing.
class KeepDriverDefaults {
 public:
  explicit KeepDriverDefaults(std::string printer)
      : printer_(std::move(printer)), defaults_(DriverDefaults(printer_)) {}
  KeepDriverDefaults(const KeepDriverDefaults&) = delete;
  KeepDriverDefaults& operator=(const KeepDriverDefaults&) = delete;
  ~KeepDriverDefaults() {
    UniquePrinterHandle handle;
    if (defaults_.empty() || !spooler::OpenPrinter(printer_.data(), handle.Put(), nullptr)) return;
    std::vector<unsigned char> merged = defaults_;
    spooler::DocumentProperties(nullptr, handle.Get(), printer_.data(),
                        reinterpret_cast<DEVMODEA*>(merged.data()),
                        reinterpret_cast<DEVMODEA*>(defaults_.data()),
                        DM_IN_BUFFER | DM_OUT_BUFFER);
  }

 private:
  std::string printer_;
  std::vector<unsigned char> defaults_;
};

UniqueGlobal GlobalCopy(const void* data, std::size_t size) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
  LockedGlobal locked(memory.Get());
  if (!locked.Get()) throw Error("Out of memory for the printer setup");
  std::memcpy(locked.Get(), data, size);
  return memory;
}

// DEVNAMES followed by its three strings.
UniqueGlobal MakeDeviceNames(const std::string& driver, const std::string& device,
                             const std::string& port) {
  std::string strings = driver + '\0' + device + '\0' + port + '\0';
  std::vector<unsigned char> block(sizeof(DEVNAMES) + strings.size());
  DEVNAMES names{};
  names.wDriverOffset = static_cast<WORD>(sizeof(DEVNAMES));
  names.wDeviceOffset = static_cast<WORD>(names.wDriverOffset + driver.size() + 1);
  names.wOutputOffset = static_cast<WORD>(names.wDeviceOffset + device.size() + 1);
  std::memcpy(block.data(), &names, sizeof(names));
  std::memcpy(block.data() + sizeof(names), strings.data(), strings.size());
  return GlobalCopy(block.data(), block.size());
}

// The dialog may reallocate a block it was given, or allocate one: from then on its answer is
// the block to own (a reallocated old handle is no longer ours to free).
void Adopt(UniqueGlobal& owner, HGLOBAL answer) noexcept {
  if (owner.Get() == answer) return;
  static_cast<void>(owner.Release());
  owner.Reset(answer);
}

// Horizontally centred on the screen, a third of the spare height above.
UINT_PTR CALLBACK PlaceSetupDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return 0;
  RECT bounds{};
  GetWindowRect(dialog, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 3, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;  // the dialog still sets its initial focus
}

}  // namespace

bool Printer::ExecuteSetupDialog(HWND owner) {
  ThrowIfPrinting("The printer setup cannot be opened while a document is being printed");
  EnsureCurrent();
  std::string driver = DriverName(name_);
  UniqueGlobal deviceNames = MakeDeviceNames(driver.empty() ? "winspool" : driver, name_, port_);
  // A copy: the held settings change only on OK.
  UniqueGlobal deviceMode = settings_.empty() ? UniqueGlobal{}
                                              : GlobalCopy(settings_.data(), settings_.size());
  KeepDriverDefaults keep(name_);
  PRINTDLGA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.hDevMode = deviceMode.Get();
  dialog.hDevNames = deviceNames.Get();
  // The setup dialog calls the setup hook. Wine calls only the print hook, in every dialog, so
  // both are set; each dialog still runs one of them.
  dialog.Flags = PD_PRINTSETUP | PD_ENABLESETUPHOOK | PD_ENABLEPRINTHOOK;
  dialog.lpfnSetupHook = &PlaceSetupDialog;
  dialog.lpfnPrintHook = &PlaceSetupDialog;
  const BOOL chosen = commonDialogs::PrintDlg(&dialog);
  Adopt(deviceMode, dialog.hDevMode);
  Adopt(deviceNames, dialog.hDevNames);
  if (!chosen) return false;

  std::string device;
  std::string port;
  {
    LockedGlobal names(deviceNames.Get());
    if (!names.Get()) return false;
    const auto* base = static_cast<const char*>(names.Get());
    const auto* header = static_cast<const DEVNAMES*>(names.Get());
    device = base + header->wDeviceOffset;
    port = base + header->wOutputOffset;
  }
  std::vector<unsigned char> settings;
  if (LockedGlobal mode(deviceMode.Get()); mode.Get()) {
    const auto* header = static_cast<const DEVMODEA*>(mode.Get());
    const std::size_t size = std::min<std::size_t>(
        mode.Size(), static_cast<std::size_t>(header->dmSize) + header->dmDriverExtra);
    settings = CopySettings(mode.Get(), size);
  }

  int found = FindChosenPrinter(Printers(), device, port);
  if (found == kNoPrinter) {
    printers_.push_back({PrinterOnPort(device, port), device, port});
    found = static_cast<int>(printers_.size()) - 1;
  }
  ReleaseContext();
  index_ = found;
  name_ = std::move(device);
  port_ = std::move(port);
  settings_ = std::move(settings);
  return true;
}

}  // namespace tk
