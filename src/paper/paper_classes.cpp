// The stored form of papers: their property tables, in stream order.

#include "paper/paper_info.h"

#include "formats/class_registry.h"
#include "formats/property_table.h"

#include <stdexcept>

namespace orvella {

namespace {

// Properties over the shared face fields of class C (C::Face).
// An integer or (with names) an enumeration over the shared face fields of
// class C (C::Face). The reader gives enumerations only indices of names.
template <class C, class T>
TPropInfo faceOrdinal(const char* name, TPropKind kind, T TFaceFields::*field,
                      std::span<const char* const> names = {})
{
    TPropInfo info;
    info.Name = name;
    info.Kind = kind;
    info.ElementNames = names;
    info.GetOrdinal = [field](const TPersistent& o) { return int64_t(static_cast<const C&>(o).Face.*field); };
    info.SetOrdinal = [field](TPersistent& o, int64_t v) { static_cast<C&>(o).Face.*field = T(v); };
    return info;
}

template <class C>
TPropInfo facePurposeProperty()
{
    TPropInfo info;
    info.Name = "FacePurpose";
    info.Kind = TPropKind::String;
    info.GetString = [](const TPersistent& o) { return static_cast<const C&>(o).Face.FacePurpose; };
    info.SetString = [](TPersistent& o, const std::string& v) { static_cast<C&>(o).Face.FacePurpose = v; };
    return info;
}

template <class C>
TPropInfo cutCenterProperty(const char* name, int32_t TFaceFields::*field)
{
    return faceOrdinal<C>(name, TPropKind::Integer, field).Default(kDefaultCutCenter).Stored(&C::storeCutCenterSizes);
}

// The face properties in the order both matrix papers and face items store
// them after their own leading ones.
template <class C>
std::vector<TPropInfo> faceProperties(std::vector<TPropInfo> leading, bool marginFirst)
{
    std::vector<TPropInfo> properties = std::move(leading);
    if (marginFirst)
        properties.push_back(faceOrdinal<C>("FaceMargin", TPropKind::Integer, &TFaceFields::FaceMargin));
    properties.push_back(faceOrdinal<C>("FaceShape", TPropKind::Enumeration, &TFaceFields::FaceShape, FaceShapeIdents()));
    properties.push_back(facePurposeProperty<C>());
    if (!marginFirst)
        properties.push_back(faceOrdinal<C>("FaceMargin", TPropKind::Integer, &TFaceFields::FaceMargin));
    properties.push_back(faceOrdinal<C>("RoundSize", TPropKind::Integer, &TFaceFields::RoundSize).Default(kDefaultRoundSize));
    properties.push_back(faceOrdinal<C>("CenterShape", TPropKind::Enumeration, &TFaceFields::CenterShape,
                                        CenterShapeIdents())
                             .Default(csEllipse));
    properties.push_back(cutCenterProperty<C>("CutCenterWidth", &TFaceFields::CutCenterWidth));
    properties.push_back(cutCenterProperty<C>("CutCenterHeight", &TFaceFields::CutCenterHeight));
    return properties;
}

}  // namespace

const TClassInfo& TPaperInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TPaperInfo, TComponent>("TPaperInfo", {
        BooleanProperty("Landscape", &TPaperInfo::Landscape),
        IntegerProperty("Width", &TPaperInfo::Width, &TPaperInfo::SetWidth),
        IntegerProperty("Height", &TPaperInfo::Height, &TPaperInfo::SetHeight),
        StringProperty("PaperName", &TPaperInfo::PaperName),
        StringProperty("GroupName", &TPaperInfo::GroupName),
        BooleanProperty("ReadOnly", &TPaperInfo::ReadOnly),
        ObjectProperty("PurposeList", &TPaperInfo::PurposeList).Stored(&TPaperInfo::storesPurposeList),
    });
    return info;
}

const TClassInfo& TMatrixPaperInfo::StaticClassInfo()
{
    using C = TMatrixPaperInfo;
    static const TClassInfo info = DeclareClass<C, TPaperInfo>(
        "TMatrixPaperInfo", faceProperties<C>(
                                {
                                    IntegerProperty("TopOffset", &C::TopOffset),
                                    IntegerProperty("LeftOffset", &C::LeftOffset),
                                    IntegerProperty("BottomMargin", &C::BottomMargin),
                                    IntegerProperty("RightMargin", &C::RightMargin),
                                    IntegerProperty("FaceWidth", &C::FaceWidth),
                                    IntegerProperty("FaceHeight", &C::FaceHeight),
                                    IntegerProperty("FaceCountX", &C::FaceCountX),
                                    IntegerProperty("FaceCountY", &C::FaceCountY),
                                },
                                false));
    return info;
}

const TClassInfo& TFaceItem::StaticClassInfo()
{
    using C = TFaceItem;
    static const TClassInfo info = DeclareClass<C, TCollectionItem>(
        "TFaceItem", faceProperties<C>(
                         {
                             IntegerProperty("Left", &C::Left, &C::SetLeft),
                             IntegerProperty("Top", &C::Top, &C::SetTop),
                             IntegerProperty("Width", &C::Width, &C::SetWidth),
                             IntegerProperty("Height", &C::Height, &C::SetHeight),
                         },
                         true));
    return info;
}

const TClassInfo& TFaces::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFaces, TCollection>("TFaces", {});
    return info;
}

const TClassInfo& TFreePaperInfo::StaticClassInfo()
{
    static const TClassInfo info = DeclareClass<TFreePaperInfo, TPaperInfo>("TFreePaperInfo", {
        ObjectProperty("Faces", &TFreePaperInfo::Faces),
    });
    return info;
}

std::unique_ptr<TPaperInfo> TPaperInfo::Clone() const
{
    std::unique_ptr<TPersistent> created = ClassInfo().Create();
    auto* paper = dynamic_cast<TPaperInfo*>(created.get());
    if (!paper)
        throw std::logic_error("paper class " + ClassName() + " cannot be created");
    created.release();
    std::unique_ptr<TPaperInfo> copy(paper);
    copy->Assign(*this);
    return copy;
}

void RegisterPaperClasses()
{
    RegisterClasses({&TMatrixPaperInfo::StaticClassInfo(), &TFreePaperInfo::StaticClassInfo(),
                     &TPLStreamer::StaticClassInfo()});
}

}  // namespace orvella
