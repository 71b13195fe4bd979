// The data files the program loads at start. Each floor that owns one adds
// its registration here, in the order of TDataFileStage: the thumbnail
// cache, the system paper catalog, the user paper catalog (with its writer
// at exit), the product database.

#include "app/data_main.h"

namespace orvella {

void RegisterProgramDataFiles(TDataFileRegistry&) {}

}  // namespace orvella
