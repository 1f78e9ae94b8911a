// refusals: one line a second about refused packets while the pump runs.
#include "foundation/refusals.h"

#include <cstdarg>
#include <cstdio>

namespace {
// Owned by the owner thread, the only one that handles packets.
bool summarising = false;
bool printedOnce = false;
RefusalClock::time_point now;
RefusalClock::time_point lastLine;
long heldBack = 0;
char lastHeld[160];

bool SecondIsOver() {
    return !printedOnce || now - lastLine >= std::chrono::seconds(1);
}

void Printed() {
    printedOnce = true;
    lastLine = now;
}

void TellHeldBack() {
    if (heldBack == 0 || !SecondIsOver())
        return;
    std::printf("Refused %ld more packets in the last second; the last: %s\n", heldBack, lastHeld);
    heldBack = 0;
    Printed();
}
} // namespace

void ReportRefusal(const char* format, ...) {
    char line[sizeof lastHeld];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (summarising && !SecondIsOver()) {
        heldBack++;
        std::snprintf(lastHeld, sizeof lastHeld, "%s", line);
        return;
    }
    std::printf("%s\n", line);
    if (summarising)
        Printed();
}

void SummariseRefusals(bool on, RefusalClock::time_point at) {
    now = at;
    summarising = on;
    if (!on)
        TellHeldBack();
}

long HeldBackRefusals() {
    return heldBack;
}
