#pragma once
// Small papers the paper tests build on.

#include "paper/paper_info.h"

#include <memory>
#include <string>

namespace orvella::test {

// An A4 sheet with a grid of faces.
std::unique_ptr<TMatrixPaperInfo> GridPaper(const std::string& name, int32_t columns, int32_t rows,
                                            TFaceShape shape = fsRect);
// A sheet with two faces placed freely: a disc and a tray card.
std::unique_ptr<TFreePaperInfo> DiscAndTrayPaper(const std::string& name);

}  // namespace orvella::test
