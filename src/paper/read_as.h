#pragma once
// Reading one catalog element as a component of an expected class: any
// other class, or bytes that do not hold a component, raise EPaperCatalog
// naming the element.

#include "formats/component_stream.h"
#include "paper/paper_error.h"

#include <memory>
#include <string>
#include <string_view>

namespace orvella {

[[noreturn]] void ThrowDamagedElement(const std::string& element, const std::string& reason);

template <class T>
std::unique_ptr<T> ReadElementAs(std::string_view bytes, const std::string& element)
{
    std::unique_ptr<TComponent> component;
    try {
        component = ReadComponent(bytes);
    } catch (const std::exception& error) {
        ThrowDamagedElement(element, error.what());
    }
    auto* typed = dynamic_cast<T*>(component.get());
    if (!typed)
        ThrowDamagedElement(element, "クラス " + component->ClassName() + " は使えません");
    component.release();
    return std::unique_ptr<T>(typed);
}

}  // namespace orvella
