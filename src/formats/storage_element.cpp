#include "formats/storage_element.h"

#include "formats/storage_error.h"
#include "platform/text_case.h"
#include "platform/utf8.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace orvella {

namespace {

std::u16string upperUnits(std::string_view name)
{
    std::u16string units = Utf8ToUtf16(name);
    for (char16_t& unit : units)
        if (unit < 0xD800 || unit > 0xDFFF) {
            const char32_t upper = UpperCaseOf(unit);
            if (upper <= 0xFFFF)
                unit = char16_t(upper);
        }
    return units;
}

}  // namespace

int CompareUpperNames(const std::u16string& ua, const std::u16string& ub)
{
    if (ua.size() != ub.size())
        return ua.size() < ub.size() ? -1 : 1;
    const int order = ua.compare(ub);
    return order < 0 ? -1 : (order == 0 ? 0 : 1);
}

int CompareElementNames(std::string_view a, std::string_view b)
{
    return CompareUpperNames(upperUnits(a), upperUnits(b));
}

const std::u16string& TStorageElement::UpperName() const
{
    // Names are assigned directly; the key follows whatever the name is now.
    if (upperOf_ != Name) {
        upper_ = upperUnits(Name);
        upperOf_ = Name;
    }
    return upper_;
}

void CheckElementName(std::string_view name)
{
    const std::string shown(name);
    if (name.empty() || Utf8ToUtf16(name).size() > 31 || name.find_first_of("\\/:!") != std::string_view::npos)
        throw EStorageError(TStorageCode::InvalidName, shown);
}

TStorageElement* TStorageElement::Find(std::string_view name) const
{
    const std::u16string key = upperUnits(name);
    const auto found = std::lower_bound(Children.begin(), Children.end(), key,
                                        [](const std::unique_ptr<TStorageElement>& child, const std::u16string& upper) {
                                            return CompareUpperNames(child->UpperName(), upper) < 0;
                                        });
    if (found != Children.end() && CompareUpperNames((*found)->UpperName(), key) == 0)
        return found->get();
    return nullptr;
}

TStorageElement* TStorageElement::Insert(std::unique_ptr<TStorageElement> child)
{
    const std::u16string& key = child->UpperName();
    const auto at = std::lower_bound(Children.begin(), Children.end(), key,
                                     [](const std::unique_ptr<TStorageElement>& existing, const std::u16string& upper) {
                                         return CompareUpperNames(existing->UpperName(), upper) < 0;
                                     });
    return Children.insert(at, std::move(child))->get();
}

std::unique_ptr<TStorageElement> TStorageElement::Remove(const TStorageElement* child)
{
    for (auto it = Children.begin(); it != Children.end(); ++it) {
        if (it->get() == child) {
            std::unique_ptr<TStorageElement> removed = std::move(*it);
            Children.erase(it);
            return removed;
        }
    }
    return nullptr;
}

std::unique_ptr<TStorageElement> TStorageElement::Clone() const
{
    auto copy = std::make_unique<TStorageElement>();
    copy->Name = Name;
    copy->Type = Type;
    copy->ClassId = ClassId;
    copy->StateBits = StateBits;
    copy->CreationTime = CreationTime;
    copy->ModificationTime = ModificationTime;
    copy->Data = Data;
    copy->Spilled = Spilled;  // spilled bytes never change: a copy may share them
    copy->Children.reserve(Children.size());
    for (const auto& child : Children)
        copy->Children.push_back(child->Clone());
    return copy;
}

std::string TStorageElement::Bytes() const
{
    if (!Spilled)
        return Data;
    std::string bytes(std::size_t(Spilled->Size()), '\0');
    Spilled->Read(0, bytes.data(), bytes.size());
    return bytes;
}

void TStorageElement::ReadBytes(uint64_t offset, void* buffer, std::size_t count) const
{
    if (Spilled)
        Spilled->Read(offset, buffer, count);
    else
        std::memcpy(buffer, Data.data() + offset, count);
}

void TStorageElement::Unspill()
{
    if (!Spilled)
        return;
    Data = Bytes();
    Spilled.reset();
}

uint64_t CurrentFileTime()
{
    using namespace std::chrono;
    constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;
    const auto since1970 = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return kUnixEpochAsFileTime + uint64_t(since1970 / 100);
}

}  // namespace orvella
