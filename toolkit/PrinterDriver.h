// What the printer object and its setup dialog both ask of a printer's driver.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/SystemDlls.h"

namespace tk {

using UniquePrinterHandle = UniqueHandle<HANDLE, &spooler::ClosePrinter>;

// The printer's driver as the profile's device list names it ("name=driver,port"); empty when
// unknown.
[[nodiscard]] std::string DriverName(const std::string& printer);

// The driver's default settings for the printer; empty when it gives none.
[[nodiscard]] std::vector<unsigned char> DriverDefaults(const std::string& printer);

}  // namespace tk
