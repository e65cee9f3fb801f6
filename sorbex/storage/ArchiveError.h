// The failure raised when archived bytes do not hold what the reader expects.
#pragma once

#include <stdexcept>
#include <string>

namespace sorbex {

class CArchiveError : public std::runtime_error {
public:
    explicit CArchiveError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace sorbex
