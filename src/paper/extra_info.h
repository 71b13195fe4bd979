#pragma once
// Records a catalog keeps per paper name beside the papers, grouped in
// named sections: "ExtraInfos" (maker, purpose or genre, corner size; one
// stream per record) and "PaperImages" (a pre-printed pattern per face;
// one storage per record).

#include "formats/component.h"
#include "formats/doc_storage.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvella {

class TExtraPaperInfo : public TComponent {
    ORVELLA_PERSISTENT(TExtraPaperInfo)

public:
    std::string PaperName;

    virtual bool IsEmpty() const = 0;
    // True when both stream to the same bytes; false against none.
    virtual bool SameAs(const TExtraPaperInfo* other) const;
    virtual std::unique_ptr<TExtraPaperInfo> Clone() const = 0;
};

class TExPaperInfo : public TExtraPaperInfo {
    ORVELLA_PERSISTENT(TExPaperInfo)

public:
    std::string Purpose;  // a purpose or a genre name
    std::string Company;  // the paper's maker
    int32_t RoundSize = 0;

    bool IsEmpty() const override { return Purpose.empty() && Company.empty() && RoundSize == 0; }
    std::unique_ptr<TExtraPaperInfo> Clone() const override;
};

// One face's pattern, kept as the object-list bytes it was stored as (a
// 32-bit object count, then each drawing object as a component). The
// drawing layer reads them into objects; this layer only carries them.
struct TFaceObjectList {
    std::string Bytes;
    // No object: no bytes, or a count of 0.
    bool IsEmpty() const;
};

class TImagePaperInfo : public TExtraPaperInfo {
    ORVELLA_PERSISTENT(TImagePaperInfo)

public:
    bool SeparatelyDesign = true;
    int32_t LabelCount = 0;
    std::vector<TFaceObjectList> FaceObjects;  // one per face, stored beside the record

    bool IsEmpty() const override;
    bool SameAs(const TExtraPaperInfo* other) const override;
    std::unique_ptr<TExtraPaperInfo> Clone() const override;
};

// A section of a catalog. Records are found by paper name.
class TExtraInfoBase {
public:
    explicit TExtraInfoBase(std::string name) : name_(std::move(name)) {}
    virtual ~TExtraInfoBase() = default;
    const std::string& Name() const { return name_; }

    // Binds the section to its storage and lists its records.
    virtual void Attach(std::unique_ptr<TDocStorage> storage) = 0;
    virtual void Delete(const std::string& paperName) = 0;
    // An empty record deletes the paper's record.
    virtual void Store(const TExtraPaperInfo& record) = 0;
    // A copy of the paper's record, or none.
    virtual std::unique_ptr<TExtraPaperInfo> Get(const std::string& paperName) = 0;
    virtual std::unique_ptr<TExtraPaperInfo> GetAt(int index) = 0;
    virtual int Count() const = 0;

private:
    std::string name_;
};

// "ExtraInfos": records are loaded lazily in list order into a cache sorted
// by paper name; the first cachedCount_ names of the list are the cached ones.
class TExInfoBase : public TExtraInfoBase {
public:
    TExInfoBase() : TExtraInfoBase("ExtraInfos") {}
    void Attach(std::unique_ptr<TDocStorage> storage) override;
    void Delete(const std::string& paperName) override;
    void Store(const TExtraPaperInfo& record) override;
    std::unique_ptr<TExtraPaperInfo> Get(const std::string& paperName) override;
    std::unique_ptr<TExtraPaperInfo> GetAt(int index) override;
    int Count() const override { return int(names_.size()); }

private:
    // The cached record of that paper, loading further streams as needed; nullptr when none.
    const TExPaperInfo* find(const std::string& paperName);
    std::unique_ptr<TExPaperInfo> load(const std::string& streamName);

    std::unique_ptr<TDocStorage> storage_;
    std::vector<std::string> names_;
    std::size_t cachedCount_ = 0;
    struct Cached {
        std::string streamName;
        std::unique_ptr<TExPaperInfo> record;
    };
    std::map<std::string, Cached> cache_;
};

// "PaperImages": one storage per record with the record in "ImageInfo" and
// face list n - 1 in the numbered stream n.
class TImageInfoBase : public TExtraInfoBase {
public:
    TImageInfoBase() : TExtraInfoBase("PaperImages") {}
    void Attach(std::unique_ptr<TDocStorage> storage) override;
    void Delete(const std::string& paperName) override;
    void Store(const TExtraPaperInfo& record) override;
    std::unique_ptr<TExtraPaperInfo> Get(const std::string& paperName) override;
    std::unique_ptr<TExtraPaperInfo> GetAt(int index) override;
    int Count() const override { return int(names_.size()); }

private:
    int indexOf(const std::string& paperName);
    std::unique_ptr<TImagePaperInfo> load(const std::string& storageName, bool withFaces);

    std::unique_ptr<TDocStorage> storage_;
    std::vector<std::string> names_;
};

void RegisterExtraInfoClasses();

}  // namespace orvella
