// Definition of the process-wide state record and the monotonic clock it starts with.
#include "core/AppState.h"

#include <chrono>
#include <memory>

AppState app;

uint64_t MonotonicMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void ResetAppState() {
    std::destroy_at(&app);
    std::construct_at(&app);
}
