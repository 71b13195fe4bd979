#pragma once
// The readable source of the distortion patterns (data/distortion): blocks
// of "key: value" lines, one block per pattern. See data/distortion/README.md.

#include "objects/coons_distortion.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvella::cddc {

class ESourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TPatternSource {
    std::string Name;
    std::unique_ptr<TCoonsDistortion> Pattern;
};

// Reads and checks every pattern of the file: a unique name and identifier,
// four edges of at least two points, shared corners that agree.
std::vector<TPatternSource> ReadPatternFile(const std::string& path);

}  // namespace orvella::cddc
