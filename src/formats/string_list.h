#pragma once
// Lines of text published as an object property; the lines are stored
// through the define-properties entry "Strings" (a list of strings), and
// nothing at all when there are none.

#include "formats/persistent.h"

#include <string>
#include <vector>

namespace orvella {

class TStringList : public TPersistent {
    ORVELLA_PERSISTENT(TStringList)

public:
    std::vector<std::string> Lines;

    void DefineProperties(TFiler& filer) override;
};

}  // namespace orvella
