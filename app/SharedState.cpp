#include "app/SharedState.h"

namespace vindelor {
namespace {
SharedState g_state;
}

SharedState& Shared() { return g_state; }

void ResetSharedState() { g_state = SharedState{}; }

}  // namespace vindelor
