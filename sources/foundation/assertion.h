// assertion: the one check for programming errors.
//
// VASSERT(expr) prints the expression, the source file and the line and aborts, in every
// build type. It is for broken invariants of our own code only; input from outside (packets,
// files, the command line) is checked with ordinary code and never reaches an assertion.
#pragma once

[[noreturn]] void AssertionFailed(const char* expr, const char* file, int line);

#define VASSERT(expr)                                                                              \
    do {                                                                                           \
        if (!(expr))                                                                               \
            AssertionFailed(#expr, __FILE__, __LINE__);                                            \
    } while (0)

// VFAIL(text): a place our own code never reaches (an impossible enum value), reported like a
// failed assertion. Unlike VASSERT(false) every build sees that nothing comes after it.
#define VFAIL(text) AssertionFailed(text, __FILE__, __LINE__)
