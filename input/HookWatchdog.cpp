// The watchdog's decision.
#include "input/HookWatchdog.h"

bool HookLooksLost(uint64_t now, uint64_t lastHookCallTick) {
    return now > lastHookCallTick && now - lastHookCallTick > HOOK_GRACE_MS;
}
