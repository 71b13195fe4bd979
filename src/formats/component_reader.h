#pragma once
// Reads a component stream from untrusted bytes into components. Every
// length is checked against what remains (TByteReader), nesting is bounded,
// and a failure ends the read: a child being read is freed, a root the
// reader created is freed, a root given by the caller keeps what was read
// before the failure, and pending component references are dropped.

#include "formats/byte_reader.h"
#include "formats/persistent.h"
#include "formats/stream_format.h"
#include "formats/variant_value.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TCollection;
class TComponent;
struct TPropInfo;

struct TReaderHooks {
    // Asked for a class name that neither the root's fields nor the class
    // registry know; may supply a class.
    std::function<const TClassInfo*(std::string_view className)> FindClass;
    // Asked to create each component of a resolved class; may return the
    // new object itself, or nullptr to let the reader create it.
    std::function<std::unique_ptr<TComponent>(const TClassInfo& info)> CreateComponent;
};

// Looks up a component by name among the program's global components, for
// keeping a read root's name unique and for references across roots.
using TFindGlobalComponent = std::function<TComponent*(std::string_view name)>;
void SetFindGlobalComponent(TFindGlobalComponent find);

class TReader : public TFiler {
public:
    explicit TReader(TByteReader& in, TReaderHooks hooks = {});
    ~TReader() override;

    // Reads the whole stream (signature included). With root given, the
    // stream is read into it and nullptr returned; without, the root is
    // created from the stored class name through the class registry.
    std::unique_ptr<TComponent> ReadRootComponent(TComponent* root);

    // Value readers, for the read actions of define-properties entries.
    TValueType NextValue() const;
    TValueType ReadValue();
    // Peeks at the next byte only: a property name's length byte may exceed
    // every value type.
    bool EndOfList() const { return in_.PeekU8() == std::uint8_t(TValueType::vaNull); }
    void ReadListBegin();
    void ReadListEnd();
    std::int32_t ReadInteger();
    std::int64_t ReadInt64();
    bool ReadBoolean();
    // Tags 6, 12 (CP932) and 18 (UTF-16), as UTF-8.
    std::string ReadString();
    // An identifier; tags 8, 9, 13 and 0 read as False, True, nil and Null.
    std::string ReadIdent();
    long double ReadFloat();
    // Tags 1, 7, 10, 11 and 14 have no variant form: "ストリームからの読み込みエラー".
    TVariant ReadVariant();
    std::string ReadBinary();
    void SkipValue();

    void DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc& write,
                        bool hasData) override;
    void DefineBinaryProperty(std::string_view name, const TStreamReadProc& read, const TStreamWriteProc& write,
                              bool hasData) override;

private:
    struct Fixup {
        TPersistent* instance;
        const TPropInfo* property;
        std::string reference;
        std::vector<TCollection*> collections;  // being read when the reference was
    };
    class DepthGuard;

    std::string readShortString();
    void readPrefix();
    void readComponentBody(TComponent& component);
    void readChild(TComponent& parent);
    void readProperty(TPersistent& instance, const std::string& ownerName);
    void readPropertyValue(TPersistent& instance, const TPropInfo& property, const std::string& ownerName);
    void readCollection(TCollection& collection, const std::string& ownerName);
    const TClassInfo& resolveChildClass(const std::string& className) const;
    std::unique_ptr<TComponent> createComponent(const TClassInfo& info, const std::string& className);
    TComponent* resolveReference(const std::string& reference) const;
    void resolveFixups();
    [[noreturn]] static void fail(const char* message);

    TByteReader& in_;
    TReaderHooks hooks_;
    TComponent* root_ = nullptr;
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
    std::vector<TCollection*> collections_;
    std::string pendingName_;
    bool pendingConsumed_ = false;
    int depth_ = 0;
};

}  // namespace orvella
