#pragma once

#include <cstdio>
#include <cstdlib>

namespace pelko::fuzz {

// A broken invariant is a finding: say which one, then abort so that libFuzzer keeps the input.
[[noreturn]] inline void fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void check(bool condition, const char *what)
{
    if (!condition)
        fail(what);
}

} // namespace pelko::fuzz
