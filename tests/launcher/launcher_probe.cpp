// Test cases that end the way a faulty program does, for the launcher's test: each is run alone
// (doctest's -tc) and the launcher must report every one but "passes" as a failure.
#include <windows.h>

#include "support/doctest_wide.h"

TEST_CASE("passes") { CHECK(GetCurrentProcessId() != 0); }

TEST_CASE("writes through a null pointer") {
    volatile int* nowhere = nullptr;
    *nowhere = 1;
    CHECK(false);
}

TEST_CASE("jumps to address 0") {
    // What a call through an import slot that nothing filled does.
    using Function = void (*)();
    volatile Function nothing = nullptr;
    nothing();
    CHECK(false);
}

TEST_CASE("ends the process with status 0 in the middle of a case") {
    ExitProcess(0);
}
