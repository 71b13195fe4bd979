#pragma once
// The published compound file format (structured storage): reading
// versions 3 and 4 into an element tree, writing version 3. Plain C++ over
// byte buffers; every number read from a file is checked before it is used.

#include "formats/storage_element.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orvella {

// True when the bytes begin with the compound file signature.
bool IsCompoundFile(std::string_view bytes);

// Parses a whole file; raises EStorageError (invalid header, or corrupt
// with a description of the fault) for anything that does not hold together.
std::unique_ptr<TStorageElement> ReadCompoundFile(std::string_view bytes);

// Version 3: 512-byte sectors, streams under 4096 bytes in the mini stream,
// the directory as a red-black tree in the format's name order.
std::string WriteCompoundFile(const TStorageElement& root);

}  // namespace orvella
