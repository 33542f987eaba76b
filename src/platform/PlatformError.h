#pragma once
#include <stdexcept>
#include <string>

// The one exception type through which the platform layer reports a failed operation.
// The message is the system's own error text where there is one.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const std::string& what) : std::runtime_error(what) {}
};
