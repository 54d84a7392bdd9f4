#include <windows.h>

#include "app/Startup.h"
#include "res/ResourceIds.h"
#include "toolkit/Application.h"

static_assert(kIconMain == tk::Application::kIconResourceId,
              "the application object shows this icon");

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return vindelor::VindelorMain(); }
