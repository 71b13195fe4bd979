#pragma once
// Reading drawing objects from component streams: every component (root and
// children) is created through the designer registry, so that designers can
// convert older class names into current classes.

#include "formats/component_reader.h"

#include <memory>

namespace orvella {

// The hooks that route class lookup and creation through the designers.
TReaderHooks DrawObjectReaderHooks();

// A component reader made by ReadObject; it reads as any reader does.
class TDOReader : public TReader {
public:
    explicit TDOReader(TByteReader& in) : TReader(in, DrawObjectReaderHooks()) {}
};

// One component from in; with root given it is read into root and nullptr
// returned. On return in stands after the component.
std::unique_ptr<TComponent> ReadObject(TByteReader& in, TComponent* root = nullptr);
// The same after skipping a resource header.
std::unique_ptr<TComponent> ReadObjectRes(TByteReader& in, TComponent* root = nullptr);

}  // namespace orvella
