#pragma once

#include <windows.h>

// An owned kernel handle (an event, a process, a thread, a file), closed when its owner goes:
// no early return leaks one, and no named object outlives its owner.
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle = nullptr) : handle(handle) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    HANDLE Get() const { return handle; }
    void Reset(HANDLE owned)
    {
        Close();
        handle = owned;
    }
    bool IsValid() const { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    void Close()
    {
        if (IsValid()) CloseHandle(handle);
        handle = nullptr;
    }

private:
    HANDLE handle;
};
