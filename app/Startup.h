// Program entry and start-up order.
#pragma once

namespace tk {
class Application;
}

namespace vindelor {

// Start-up steps 2 to 4: the credits form (the main form), the options dialog and the selection
// overlay, in this order. A second instance ends here with tk::OrderlyExit.
void CreateForms(tk::Application& app);

// The whole run: application object, forms, message loop, orderly exit. Returns the exit code.
int VindelorMain();

}  // namespace vindelor
