#pragma once

// Calls a handler where the window manager is the caller: the window manager cannot
// unwind C++ frames, so nothing thrown may pass. The program itself is built without
// exceptions; the tests, built with them, show the boundary holds.
template <class Call, class Result>
Result CallAtBoundary(Call call, Result failed)
{
#if defined(__cpp_exceptions)
    try {
        return call();
    } catch (...) {
        return failed;
    }
#else
    (void)failed;
    return call();
#endif
}
