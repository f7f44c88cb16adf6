#pragma once
#include <stdexcept>
#include <string>

namespace winlayer {

// The layer's assertion failure. It is not caught by any element: it ends the
// program through the fatal-error box of the entry.
class EAssertionFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void Check(bool condition, const char *message)
{
    if (!condition)
        throw EAssertionFailed(message);
}

inline void Check(bool condition, const std::string &message)
{
    if (!condition)
        throw EAssertionFailed(message);
}

} // namespace winlayer
