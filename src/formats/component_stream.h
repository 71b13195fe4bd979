#pragma once
// Storing a component tree as bytes and reading it back, with the resource
// wrapper that files and document streams put around it (0xFF, type 10, the
// upper-case name, flags 0x1030, the size) or without it, for use inside
// other formats.

#include "formats/component_reader.h"

#include <memory>
#include <string>
#include <string_view>

namespace orvella {

class TComponent;

std::string WriteComponent(const TComponent& root);
// The name is stored in upper case and cut to 63 bytes (whole characters).
std::string WriteComponentRes(std::string_view resourceName, const TComponent& root);

// Creates the root from the stored class name through the class registry.
std::unique_ptr<TComponent> ReadComponent(std::string_view bytes, const TReaderHooks& hooks = {});
std::unique_ptr<TComponent> ReadComponentRes(std::string_view bytes, const TReaderHooks& hooks = {});
// Reads into the given root.
void ReadComponent(std::string_view bytes, TComponent& root, const TReaderHooks& hooks = {});
void ReadComponentRes(std::string_view bytes, TComponent& root, const TReaderHooks& hooks = {});

// The same from a reader positioned inside a larger format; on return it
// stands after the component.
std::unique_ptr<TComponent> ReadComponent(TByteReader& in, TComponent* root, const TReaderHooks& hooks = {});

// Tests and skips the resource wrapper; raises EReadError
// ("不正なストリーム フォーマット") when it is not there.
void ReadResHeader(TByteReader& in);
void WriteResHeader(std::string& out, std::string_view resourceName);
// True when the bytes start with the wrapper's marker byte.
bool HasResHeader(std::string_view bytes) noexcept;

}  // namespace orvella
