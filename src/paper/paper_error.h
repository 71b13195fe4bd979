#pragma once
// Failures of paper catalogs: a damaged or unusable catalog file, a bad
// request against a catalog.

#include <stdexcept>
#include <string>

namespace orvella {

class EPaperCatalog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace orvella
