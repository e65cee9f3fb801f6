// A guard that initialises OLE on the calling thread for as long as it lives.
#pragma once

#include <ole2.h>

namespace kestrix {

// OLE is undone at the end only when this guard's own initialisation succeeded: a
// thread that already runs in another apartment refuses it, and an unbalanced
// uninitialisation would take away that owner's reference.
class OleScope {
public:
    OleScope() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (initialised_)
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

    bool initialised() const { return initialised_; }

private:
    bool initialised_;
};

} // namespace kestrix
