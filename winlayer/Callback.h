#pragma once

namespace winlayer {

// A routine with a pointer-sized user value handed back to it on every call: the
// layer's events and hooks. Two callbacks are the same when code and data match.
template <class Fn> struct TCallback;

template <class R, class... Args> struct TCallback<R(Args...)> {
    R (*Code)(void *data, Args...) = nullptr;
    void *Data = nullptr;

    explicit operator bool() const { return Code != nullptr; }
    R operator()(Args... args) const { return Code(Data, args...); }
    bool operator==(const TCallback &other) const
    {
        return Code == other.Code && Data == other.Data;
    }
    bool operator!=(const TCallback &other) const { return !(*this == other); }
};

} // namespace winlayer
