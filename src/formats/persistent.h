#pragma once
// The base of every stored object: it knows its class description (name,
// ancestor, property table) and may add extra stored data through the
// define-properties entries of a filer.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace orvella {

class TByteReader;
class TClassInfo;
class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader&)>;
using TWriterProc = std::function<void(TWriter&)>;
// A binary entry's reader gets exactly the stored payload; its writer fills
// the buffer that is then stored with its length.
using TStreamReadProc = std::function<void(TByteReader&)>;
using TStreamWriteProc = std::function<void(std::string&)>;

// The side of the reader and the writer that an object's DefineProperties
// sees. When writing, an entry with data is written under the current path;
// when reading, the entry whose name matches the pending property reads it.
class TFiler {
public:
    virtual ~TFiler() = default;
    virtual void DefineProperty(std::string_view name, const TReaderProc& read, const TWriterProc& write,
                                bool hasData) = 0;
    virtual void DefineBinaryProperty(std::string_view name, const TStreamReadProc& read,
                                      const TStreamWriteProc& write, bool hasData) = 0;
};

class TPersistent {
public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const = 0;
    const std::string& ClassName() const;

    // Extra stored data, after the published properties.
    virtual void DefineProperties(TFiler& filer);
};

}  // namespace orvella

// In a class body: declares the class description and the virtual that
// returns it. The description itself is defined with DeclareClass in the .cpp.
#define ORVELLA_PERSISTENT(ClassName_)                                        \
public:                                                                        \
    static const ::orvella::TClassInfo& StaticClassInfo();                     \
    const ::orvella::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }
