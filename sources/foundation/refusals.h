// refusals: the lines that say a packet from the network was refused.
//
// A burst of stray or hostile datagrams must not flood the console nor slow the owner thread,
// so while the packet pump runs, refusals are summarised: the first in a second is printed
// whole, the rest are counted and told in one line once the second is over. Outside the pump
// (a direct call, as in a test) every refusal is printed as it comes.
#pragma once

#include <chrono>

using RefusalClock = std::chrono::steady_clock;

// Prints or counts one refusal line (printf format, without the line end).
void ReportRefusal(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Turns summarising on around a batch of received packets. Turning it off prints the count of
// what was held back once a second has passed since the last line.
void SummariseRefusals(bool on, RefusalClock::time_point now = RefusalClock::now());

// How many refusals have been held back and not told yet.
long HeldBackRefusals();
