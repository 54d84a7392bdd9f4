#include "app/Startup.h"

#include <windows.h>

#include "app/SharedState.h"
#include "capture/Clipboard.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "toolkit/Application.h"

namespace vindelor {

void CreateForms(tk::Application& app) {
  PictureClipboardFormat();  // registered before any paste can ask for it
  app.CreateForm(Form1);
  app.CreateForm(Form2);
  app.CreateForm(Form3);
}

int VindelorMain() {
  try {
    tk::Application app;
    ResetSharedState();
    CreateForms(app);
    app.Run();
  } catch (const tk::OrderlyExit& exit) {
    // The application object has destroyed the forms made so far on the way out.
    return exit.exitCode;
  } catch (const std::exception& error) {
    // Start-up itself failed (no window could be made): nothing is left to report through.
    MessageBoxA(nullptr, error.what(), "Vindelor", MB_OK | MB_ICONSTOP);
    return 1;
  }
  return 0;
}

}  // namespace vindelor
