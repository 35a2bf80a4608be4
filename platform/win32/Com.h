#pragma once

#include <objbase.h>

namespace platform {

// Owns one reference to a COM interface.
template <typename Interface>
class ComReference {
public:
    ComReference() = default;
    ~ComReference() {
        if (pointer != nullptr) {
            pointer->Release();
        }
    }
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;

    Interface* operator->() const { return pointer; }
    Interface* get() const { return pointer; }
    Interface** out() { return &pointer; }

private:
    Interface* pointer = nullptr;
};

// Makes sure COM is initialised on this thread for a scope. The program's entry
// initialises it already; this balanced call then only counts, and callers
// without it (tests, tools) need not know about COM.
class ComScope {
public:
    ComScope() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComScope() {
        if (initialised) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised;
};

}  // namespace platform
