#pragma once
// What a refusal raised, as "<type>: <message>", for tests that pin the
// error: with only "something was thrown", a std::bad_alloc or an
// out-of-range index from a fault would pass for a clean refusal.

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

namespace orvella::test {

inline std::string TypeName(const std::type_info& type)
{
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                           &std::free);
    return status == 0 && name ? name.get() : type.name();
}

// Runs action and names what it threw: "<dynamic type>: <what()>", or
// "nothing" when it returned.
template <typename Action>
std::string Thrown(Action&& action)
{
    try {
        action();
    } catch (const std::exception& error) {
        return TypeName(typeid(error)) + ": " + error.what();
    } catch (...) {
        return "an exception of no std::exception type";
    }
    return "nothing";
}

}  // namespace orvella::test
