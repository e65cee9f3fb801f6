// An owning key handle that closes itself through the registry it came from.
#pragma once

#include "platform/Registry.h"

#include <utility>

namespace kestrix {

class ScopedRegKey {
public:
    ScopedRegKey() = default;
    explicit ScopedRegKey(Registry& registry) : registry_(&registry) {}
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;
    ScopedRegKey(ScopedRegKey&& other) noexcept
        : registry_(other.registry_), key_(std::exchange(other.key_, 0)) {}
    ScopedRegKey& operator=(ScopedRegKey&& other) noexcept {
        if (this != &other) {
            Close();
            registry_ = other.registry_;
            key_ = std::exchange(other.key_, 0);
        }
        return *this;
    }
    ~ScopedRegKey() { Close(); }

    RegKey get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }

    // For the registry's out parameter: releases what is held first.
    RegKey* Receive() {
        Close();
        return &key_;
    }

    long Close() {
        long rc = kErrorSuccess;
        if (key_ != 0 && registry_ != nullptr && !IsPredefinedKey(key_))
            rc = registry_->CloseKey(key_);
        key_ = 0;
        return rc;
    }

private:
    Registry* registry_ = nullptr;
    RegKey key_ = 0;
};

} // namespace kestrix
