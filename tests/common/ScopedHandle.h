#pragma once

#include <windows.h>

// A kernel handle the test owns (an event, a process, a thread, a file), closed when the owner
// goes, so a failed assertion leaks none and leaves no named object behind.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return handle; }
    bool IsValid() const { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (IsValid()) CloseHandle(handle);
        handle = nullptr;
    }

private:
    HANDLE handle;
};
