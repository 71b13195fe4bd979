#include "formats/component_reader.h"

#include "formats/class_registry.h"
#include "formats/collection.h"
#include "formats/component.h"
#include "formats/extended_float.h"
#include "formats/property_table.h"
#include "platform/cp932.h"
#include "platform/text_case.h"
#include "platform/utf8.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace orvella {

namespace {

TFindGlobalComponent& findGlobalComponent()
{
    static TFindGlobalComponent find;
    return find;
}

bool isIntegerTag(TValueType type)
{
    return type == TValueType::vaInt8 || type == TValueType::vaInt16 || type == TValueType::vaInt32;
}

std::string utf16ToUtf8(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(std::uint8_t(bytes[2 * i]) | (std::uint8_t(bytes[2 * i + 1]) << 8));
    return Utf16ToUtf8(units);
}

std::vector<std::string_view> splitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start));
        if (dot == std::string_view::npos)
            return parts;
        start = dot + 1;
    }
}

}  // namespace

void SetFindGlobalComponent(TFindGlobalComponent find)
{
    findGlobalComponent() = std::move(find);
}

// Bounds the recursion of lists, collections and child components.
class TReader::DepthGuard {
public:
    explicit DepthGuard(int& depth) : depth_(depth)
    {
        if (++depth_ > kMaxStreamNesting) {
            --depth_;
            fail(stream_message::kInvalidImage);
        }
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

TReader::TReader(TByteReader& in, TReaderHooks hooks) : in_(in), hooks_(std::move(hooks)) {}

TReader::~TReader() = default;

void TReader::fail(const char* message)
{
    throw EReadError(message);
}

TValueType TReader::NextValue() const
{
    const std::uint8_t tag = in_.PeekU8();
    if (tag > kMaxValueType)
        fail(stream_message::kInvalidImage);
    return TValueType(tag);
}

TValueType TReader::ReadValue()
{
    const TValueType type = NextValue();
    in_.ReadU8();
    return type;
}

void TReader::ReadListBegin()
{
    if (ReadValue() != TValueType::vaList)
        fail(stream_message::kInvalidPropertyValue);
}

void TReader::ReadListEnd()
{
    if (ReadValue() != TValueType::vaNull)
        fail(stream_message::kInvalidPropertyValue);
}

std::int32_t TReader::ReadInteger()
{
    switch (ReadValue()) {
    case TValueType::vaInt8: return in_.ReadI8();
    case TValueType::vaInt16: return in_.ReadI16();
    case TValueType::vaInt32: return in_.ReadI32();
    default: fail(stream_message::kInvalidPropertyValue);
    }
}

std::int64_t TReader::ReadInt64()
{
    if (NextValue() == TValueType::vaInt64) {
        ReadValue();
        return in_.ReadI64();
    }
    return ReadInteger();
}

bool TReader::ReadBoolean()
{
    switch (ReadValue()) {
    case TValueType::vaFalse: return false;
    case TValueType::vaTrue: return true;
    default: fail(stream_message::kInvalidPropertyValue);
    }
}

std::string TReader::ReadString()
{
    switch (ReadValue()) {
    case TValueType::vaString: return DecodeCp932(in_.ReadBytes(in_.ReadU8()));
    case TValueType::vaLString: return DecodeCp932(in_.ReadBytes(in_.ReadLength32()));
    case TValueType::vaWString: return utf16ToUtf8(in_.ReadBytes(in_.ReadLength32(2) * 2));
    default: fail(stream_message::kInvalidPropertyValue);
    }
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case TValueType::vaIdent: return readShortString();
    case TValueType::vaFalse: return "False";
    case TValueType::vaTrue: return "True";
    case TValueType::vaNil: return "nil";
    case TValueType::vaNull: return "Null";
    default: fail(stream_message::kInvalidPropertyValue);
    }
}

long double TReader::ReadFloat()
{
    switch (NextValue()) {
    case TValueType::vaExtended: {
        ReadValue();
        TExtendedBytes bytes;
        std::memcpy(bytes.data(), in_.ReadBytes(bytes.size()).data(), bytes.size());
        return DecodeExtended(bytes);
    }
    case TValueType::vaSingle:
        ReadValue();
        return std::bit_cast<float>(in_.ReadU32());
    case TValueType::vaDate:
        ReadValue();
        return std::bit_cast<double>(in_.ReadU64());
    case TValueType::vaCurrency:
        ReadValue();
        return static_cast<long double>(in_.ReadI64()) / 10000;
    case TValueType::vaInt64:
        ReadValue();
        return static_cast<long double>(in_.ReadI64());
    default:
        return ReadInteger();
    }
}

TVariant TReader::ReadVariant()
{
    switch (NextValue()) {
    case TValueType::vaNil: ReadValue(); return std::monostate();
    case TValueType::vaNull: ReadValue(); return TVarNull();
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32: return ReadInteger();
    case TValueType::vaInt64: return ReadInt64();
    case TValueType::vaExtended: return ReadFloat();
    case TValueType::vaSingle: return static_cast<float>(ReadFloat());
    case TValueType::vaCurrency: ReadValue(); return TVarCurrency{in_.ReadI64()};
    case TValueType::vaDate: return TVarDate{static_cast<double>(ReadFloat())};
    case TValueType::vaFalse:
    case TValueType::vaTrue: return ReadBoolean();
    case TValueType::vaString:
    case TValueType::vaLString: return ReadString();
    case TValueType::vaWString: return TVarWide{ReadString()};
    default: fail(stream_message::kReadError);
    }
}

std::string TReader::ReadBinary()
{
    if (ReadValue() != TValueType::vaBinary)
        fail(stream_message::kInvalidPropertyValue);
    return std::string(in_.ReadBytes(in_.ReadLength32()));
}

void TReader::SkipValue()
{
    DepthGuard guard(depth_);
    switch (ReadValue()) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        return;
    case TValueType::vaList:
        while (!EndOfList())
            SkipValue();
        ReadValue();
        return;
    case TValueType::vaInt8: in_.Skip(1); return;
    case TValueType::vaInt16: in_.Skip(2); return;
    case TValueType::vaInt32:
    case TValueType::vaSingle: in_.Skip(4); return;
    case TValueType::vaExtended: in_.Skip(10); return;
    case TValueType::vaString:
    case TValueType::vaIdent: in_.Skip(in_.ReadU8()); return;
    case TValueType::vaBinary:
    case TValueType::vaLString: in_.Skip(in_.ReadLength32()); return;
    case TValueType::vaWString: in_.Skip(in_.ReadLength32(2) * 2); return;
    case TValueType::vaSet:
        for (std::uint8_t length = in_.ReadU8(); length != 0; length = in_.ReadU8())
            in_.Skip(length);
        return;
    case TValueType::vaCollection:
        while (!EndOfList()) {
            if (isIntegerTag(NextValue()))
                ReadInteger();
            ReadListBegin();
            while (!EndOfList()) {
                readShortString();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadValue();
        return;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
    case TValueType::vaInt64: in_.Skip(8); return;
    }
}

std::string TReader::readShortString()
{
    return DecodeCp932(in_.ReadBytes(in_.ReadU8()));
}

void TReader::readPrefix()
{
    if (in_.PeekU8() < 0xF0)
        return;
    const std::uint8_t flags = in_.ReadU8() & 0x0F;
    if (flags & ffChildPos)
        ReadInteger();
}

std::unique_ptr<TComponent> TReader::ReadRootComponent(TComponent* givenRoot)
{
    if (in_.Remaining() < 4 || in_.ReadBytes(4) != std::string_view(kStreamSignature, 4))
        fail(stream_message::kInvalidImage);
    readPrefix();
    const std::string className = readShortString();
    std::string name = readShortString();

    std::unique_ptr<TComponent> created;
    if (!givenRoot) {
        const TClassInfo* info = GetClass(className);
        if (!info && hooks_.FindClass)
            info = hooks_.FindClass(className);
        if (!info)
            throw EClassNotFound(FormatMessage(stream_message::kClassNotFound, {className}));
        created = createComponent(*info, className);
    }
    TComponent& root = givenRoot ? *givenRoot : *created;

    // A root that shares its name with another global component gets the
    // first free name of the form name_1, name_2, ...
    if (const TFindGlobalComponent& find = findGlobalComponent(); find && !name.empty()) {
        const std::string stored = name;
        for (int i = 1; find(name) && find(name) != &root; ++i)
            name = stored + "_" + std::to_string(i);
    }
    root.SetName(name);
    root_ = &root;
    loaded_.assign(1, &root);
    root.SetLoading(true);
    try {
        readComponentBody(root);
        resolveFixups();
    } catch (...) {
        fixups_.clear();
        for (TComponent* component : loaded_)
            component->SetLoading(false);
        loaded_.clear();
        root_ = nullptr;
        throw;
    }
    const std::vector<TComponent*> loaded = std::exchange(loaded_, {});
    root_ = nullptr;
    for (TComponent* component : loaded)
        component->Loaded();
    return created;
}

void TReader::readComponentBody(TComponent& component)
{
    const std::string ownerName = component.Name().empty() ? component.ClassName() : component.Name();
    while (!EndOfList())
        readProperty(component, ownerName);
    ReadValue();
    while (!EndOfList())
        readChild(component);
    ReadValue();
}

void TReader::readChild(TComponent& parent)
{
    DepthGuard guard(depth_);
    readPrefix();
    const std::string className = readShortString();
    const std::string name = readShortString();
    const TClassInfo& info = resolveChildClass(className);
    const std::size_t firstOwned = root_->ComponentCount();
    TComponent& child = root_->InsertComponent(createComponent(info, className));
    child.SetName(name);
    child.SetLoading(true);
    loaded_.push_back(&child);
    try {
        child.SetParentComponent(parent);
        readComponentBody(child);
    } catch (...) {
        // The child goes, and with it whatever was read inside its record.
        while (root_->ComponentCount() > firstOwned) {
            TComponent& last = root_->Components(root_->ComponentCount() - 1);
            std::erase(loaded_, &last);
            root_->RemoveComponent(last);
        }
        throw;
    }
}

const TClassInfo& TReader::resolveChildClass(const std::string& className) const
{
    for (const TClassInfo* c = &root_->ClassInfo(); c; c = c->Parent())
        for (const TClassInfo* field : c->FieldClasses())
            if (SameText(field->ClassName(), className))
                return *field;
    const TClassInfo* info = GetClass(className);
    if (!info && hooks_.FindClass)
        info = hooks_.FindClass(className);
    if (!info)
        throw EClassNotFound(FormatMessage(stream_message::kClassNotFound, {className}));
    return *info;
}

std::unique_ptr<TComponent> TReader::createComponent(const TClassInfo& info, const std::string& className)
{
    if (!info.InheritsFrom(TComponent::StaticClassInfo()))
        throw EClassNotFound(FormatMessage(stream_message::kClassNotFound, {className}));
    if (hooks_.CreateComponent)
        if (std::unique_ptr<TComponent> component = hooks_.CreateComponent(info))
            return component;
    std::unique_ptr<TPersistent> object = info.Create();
    if (!object)
        throw EClassNotFound(FormatMessage(stream_message::kClassNotFound, {className}));
    return std::unique_ptr<TComponent>(static_cast<TComponent*>(object.release()));
}

void TReader::readProperty(TPersistent& instance, const std::string& ownerName)
{
    const std::string path = readShortString();
    try {
        const std::vector<std::string_view> parts = splitPath(path);
        TPersistent* current = &instance;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            const TPropInfo* step = current->ClassInfo().FindProperty(parts[i]);
            TPersistent* next = step && step->Kind == TPropKind::Object ? step->GetObject(*current) : nullptr;
            if (!next) {
                SkipValue();
                fail(stream_message::kInvalidPropertyPath);
            }
            current = next;
        }
        if (const TPropInfo* property = current->ClassInfo().FindProperty(parts.back())) {
            readPropertyValue(*current, *property, ownerName);
            return;
        }
        pendingName_ = std::string(parts.back());
        pendingConsumed_ = false;
        current->DefineProperties(*this);
        const bool consumed = pendingConsumed_;
        pendingName_.clear();
        if (!consumed)
            fail(stream_message::kUnknownProperty);
    } catch (const EPropertyReadError&) {
        throw;
    } catch (const std::exception& error) {
        throw EPropertyReadError(FormatMessage(stream_message::kPropertyException,
                                               {ownerName, ".", path, error.what()}));
    }
}

void TReader::readPropertyValue(TPersistent& instance, const TPropInfo& property, const std::string& ownerName)
{
    if (!property.HasSetter())
        fail(stream_message::kReadOnlyProperty);
    auto elementIndex = [&](const std::string& name) -> std::int64_t {
        for (std::size_t i = 0; i < property.ElementNames.size(); ++i)
            if (SameText(property.ElementNames[i], name))
                return std::int64_t(i);
        return -1;
    };

    switch (property.Kind) {
    case TPropKind::Integer: {
        if (NextValue() == TValueType::vaIdent) {
            const std::optional<std::int32_t> value = IdentToInt(property.IdentTable, ReadIdent());
            if (!value)
                fail(stream_message::kInvalidPropertyValue);
            property.SetOrdinal(instance, *value);
        } else {
            property.SetOrdinal(instance, ReadInteger());
        }
        return;
    }
    case TPropKind::Char: {
        if (ReadValue() != TValueType::vaString || in_.ReadU8() != 1)
            fail(stream_message::kInvalidPropertyValue);
        property.SetOrdinal(instance, in_.ReadU8());
        return;
    }
    case TPropKind::Enumeration: {
        const std::int64_t value = elementIndex(ReadIdent());
        if (value < 0)
            fail(stream_message::kInvalidPropertyValue);
        property.SetOrdinal(instance, value);
        return;
    }
    case TPropKind::Set: {
        if (ReadValue() != TValueType::vaSet)
            fail(stream_message::kInvalidPropertyValue);
        std::int64_t value = 0;
        for (std::string name = readShortString(); !name.empty(); name = readShortString()) {
            const std::int64_t element = elementIndex(name);
            if (element < 0)
                fail(stream_message::kInvalidPropertyValue);
            if (element < 32)
                value |= std::int64_t(1) << element;
        }
        property.SetOrdinal(instance, value);
        return;
    }
    case TPropKind::Float:
        property.SetFloat(instance, ReadFloat());
        return;
    case TPropKind::String:
        property.SetString(instance, ReadString());
        return;
    case TPropKind::Int64:
        property.SetOrdinal(instance, ReadInt64());
        return;
    case TPropKind::Variant:
        property.SetVariant(instance, ReadVariant());
        return;
    case TPropKind::Method:
        if (NextValue() == TValueType::vaNil) {
            ReadValue();
            property.SetString(instance, {});
        } else {
            property.SetString(instance, ReadIdent());
        }
        return;
    case TPropKind::Object:
        switch (NextValue()) {
        case TValueType::vaNil:
            ReadValue();
            if (!property.SetObject)
                fail(stream_message::kInvalidPropertyValue);
            property.SetObject(instance, nullptr);
            return;
        case TValueType::vaCollection: {
            ReadValue();
            auto* collection = dynamic_cast<TCollection*>(property.GetObject(instance));
            if (!collection)
                fail(stream_message::kInvalidPropertyValue);
            readCollection(*collection, ownerName);
            return;
        }
        case TValueType::vaIdent:
            if (!property.SetObject)
                fail(stream_message::kInvalidPropertyValue);
            fixups_.push_back({&instance, &property, ReadIdent(), collections_});
            return;
        default:
            fail(stream_message::kInvalidPropertyValue);
        }
    }
}

void TReader::readCollection(TCollection& collection, const std::string& ownerName)
{
    DepthGuard guard(depth_);
    // Items of an earlier value of the same property go away with Clear, and
    // so must the references waiting to be set on them.
    std::erase_if(fixups_, [&](const Fixup& f) {
        return std::find(f.collections.begin(), f.collections.end(), &collection) != f.collections.end();
    });
    collection.Clear();
    collections_.push_back(&collection);
    struct PopGuard {
        std::vector<TCollection*>& stack;
        ~PopGuard() { stack.pop_back(); }
    } pop{collections_};
    while (!EndOfList()) {
        if (isIntegerTag(NextValue()))
            ReadInteger();
        ReadListBegin();
        TCollectionItem& item = collection.Add();
        while (!EndOfList())
            readProperty(item, ownerName);
        ReadListEnd();
    }
    ReadListEnd();
}

void TReader::DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc&, bool)
{
    if (pendingConsumed_ || pendingName_.empty() || !read || !SameText(name, pendingName_))
        return;
    pendingConsumed_ = true;
    DepthGuard guard(depth_);
    read(*this);
}

void TReader::DefineBinaryProperty(std::string_view name, const TStreamReadProc& read, const TStreamWriteProc&,
                                   bool)
{
    if (pendingConsumed_ || pendingName_.empty() || !read || !SameText(name, pendingName_))
        return;
    pendingConsumed_ = true;
    if (ReadValue() != TValueType::vaBinary)
        fail(stream_message::kInvalidPropertyValue);
    TByteReader payload(in_.ReadBytes(in_.ReadLength32()));
    read(payload);
}

TComponent* TReader::resolveReference(const std::string& reference) const
{
    if (SameText(reference, "Owner"))
        return root_;
    auto named = [&](std::string_view name) -> TComponent* {
        if (SameText(root_->Name(), name))
            return root_;
        if (TComponent* component = root_->FindComponent(name))
            return component;
        const TFindGlobalComponent& find = findGlobalComponent();
        return find ? find(name) : nullptr;
    };
    const std::size_t dot = reference.find('.');
    if (dot == std::string::npos)
        return root_->FindComponent(reference);
    const std::string_view first = std::string_view(reference).substr(0, dot);
    const std::string_view second = std::string_view(reference).substr(dot + 1);
    if (SameText(second, "Owner"))
        return named(first);
    TComponent* owner = named(first);
    return owner ? owner->FindComponent(second) : nullptr;
}

void TReader::resolveFixups()
{
    const std::vector<Fixup> fixups = std::exchange(fixups_, {});
    for (const Fixup& fixup : fixups) {
        TComponent* target = resolveReference(fixup.reference);
        if (!target)
            throw EReadError(FormatMessage(stream_message::kAncestorNotFound, {fixup.reference}));
        fixup.property->SetObject(*fixup.instance, target);
    }
}

}  // namespace orvella
