#include "objects/cdd_file.h"

#include "formats/doc_name_list.h"
#include "formats/doc_storage.h"
#include "objects/coons_distortion.h"

namespace orvella {

TCDDFile::TCDDFile() = default;
TCDDFile::~TCDDFile() = default;

void TCDDFile::Open(const std::string&) {}
void TCDDFile::Close() {}
int TCDDFile::PatternCount() const { return 0; }
void TCDDFile::LoadPattern(TCoonsDistortion&, int) {}
int TCDDFile::IndexOfPattern(const TCoonsDistortion&) { return -1; }

}  // namespace orvella
