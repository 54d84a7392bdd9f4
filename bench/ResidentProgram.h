// The program as after start-up, in the benchmark's own process: the application object and the
// three forms, with the splash ended, so that the program is resident and armed.
#pragma once

#include "app/SharedState.h"
#include "app/Startup.h"
#include "forms/Unit1.h"
#include "toolkit/Application.h"

namespace bench {

class ResidentProgram {
 public:
  ResidentProgram() {
    vindelor::ResetSharedState();
    vindelor::CreateForms(app);
    char key = ' ';
    Form1->FormKeyPress(key);
  }

  tk::Application app;
};

}  // namespace bench
