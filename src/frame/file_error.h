#pragma once
// EFileError: a data file the program needs is missing or read-only.

#include <stdexcept>

namespace orvella {

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace orvella
