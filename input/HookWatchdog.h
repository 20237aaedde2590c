// Decides when the low-level keyboard hook has been lost. Windows silently removes a hook whose
// callback once takes longer than the hook timeout; raw keyboard input keeps arriving, so a key
// that raw input reports but the hook did not see shows that the hook is gone. Portable.
#pragma once

#include <cstdint>

// How long after the hook's last call a raw key press may arrive before the hook counts as lost.
// Raw input for a key is generated only after the hook has returned for it, so a live hook has
// always run within a few milliseconds of the packet being handled.
constexpr uint64_t HOOK_GRACE_MS = 500;

bool HookLooksLost(uint64_t now, uint64_t lastHookCallTick);
