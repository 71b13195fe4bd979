#pragma once
// Papers: a sheet or printable medium and the faces (labels) on it. A
// matrix paper has equal faces in a grid; a free paper lists its faces one
// by one. Lengths are in 0.1 mm on the upright sheet; a landscape paper is
// the same sheet turned by 90 degrees.

#include "formats/collection.h"
#include "formats/component.h"
#include "paper/face_shape.h"
#include "paper/purpose_list.h"

#include <cstdint>
#include <memory>
#include <string>

namespace orvella {

// Geometry types of the drawing layer. They stay incomplete here so that the
// class descriptions (which see the stream tables) need not include them.
struct TRect;
struct TSize;

// The hole size and corner size a new face has.
constexpr int32_t kDefaultCutCenter = 410;
constexpr int32_t kDefaultRoundSize = 100;
// More faces than this on one paper is taken for damage, not for a sheet.
constexpr int32_t kMaxFaceCount = 10000;

class TPaperInfo : public TComponent {
    ORVELLA_PERSISTENT(TPaperInfo)

public:
    int32_t PortraitWidth = 0;
    int32_t PortraitHeight = 0;
    std::string PaperName;
    std::string GroupName;
    bool ReadOnly = false;
    bool Landscape = false;
    TPurposeList PurposeList;
    bool StorePurposeList = false;

    // The sheet as it lies: the upright sizes exchanged when landscape.
    int32_t Width() const { return Landscape ? PortraitHeight : PortraitWidth; }
    int32_t Height() const { return Landscape ? PortraitWidth : PortraitHeight; }
    void SetWidth(int32_t value) { (Landscape ? PortraitHeight : PortraitWidth) = value; }
    void SetHeight(int32_t value) { (Landscape ? PortraitWidth : PortraitHeight) = value; }

    // Copies the paper's own fields (not StorePurposeList); descendants add theirs.
    virtual void Assign(const TPaperInfo& source);
    // A new paper of the same class with the same content.
    std::unique_ptr<TPaperInfo> Clone() const;

    virtual int32_t GetFaceCount() const = 0;
    virtual TFaceShape GetFaceShape(int32_t index) const = 0;
    // The stored purpose passed through the validator's Normalize.
    virtual std::string GetFacePurpose(int32_t index) const = 0;
    // The nominal face rectangle on the upright sheet.
    virtual TRect GetFaceRect(int32_t index) const = 0;
    virtual int32_t GetFaceMargin(int32_t index) const = 0;
    virtual TSize GetCutCenterSize(int32_t index) const = 0;
    virtual int32_t GetRoundSize(int32_t index) const = 0;
    virtual TCenterShape GetCenterShape(int32_t index) const = 0;

    // The face with its bleed margin, as it lies in the printer.
    TRect GetFaceBounds(int32_t index) const;
    // From the upright sheet to the turned one.
    TRect RotateRect(const TRect& r) const;

    bool storesPurposeList() const { return StorePurposeList; }
};

// The face fields matrix papers and face items share, with the two extra
// stored entries: "FaceType" (read only, a legacy code) and "CutCenter"
// (written when the hole is square and not the default size).
struct TFaceFields {
    int32_t FaceMargin = 0;
    TFaceShape FaceShape = fsRect;
    std::string FacePurpose;
    int32_t RoundSize = kDefaultRoundSize;
    TCenterShape CenterShape = csEllipse;
    int32_t CutCenterWidth = kDefaultCutCenter;
    int32_t CutCenterHeight = kDefaultCutCenter;

    void SetFaceType(int32_t code);
    void DefineProperties(TFiler& filer);
    bool StoreCutCenterSizes() const { return CutCenterWidth != CutCenterHeight; }
};

class TMatrixPaperInfo : public TPaperInfo {
    ORVELLA_PERSISTENT(TMatrixPaperInfo)

public:
    int32_t TopOffset = 0;
    int32_t LeftOffset = 0;
    int32_t BottomMargin = 0;  // gap between two rows
    int32_t RightMargin = 0;   // gap between two columns
    int32_t FaceWidth = 0;
    int32_t FaceHeight = 0;
    int32_t FaceCountX = 0;
    int32_t FaceCountY = 0;
    TFaceFields Face;

    void Assign(const TPaperInfo& source) override;
    void DefineProperties(TFiler& filer) override;

    int32_t GetFaceCount() const override;
    TFaceShape GetFaceShape(int32_t index) const override;
    std::string GetFacePurpose(int32_t index) const override;
    TRect GetFaceRect(int32_t index) const override;
    int32_t GetFaceMargin(int32_t index) const override;
    TSize GetCutCenterSize(int32_t index) const override;
    int32_t GetRoundSize(int32_t index) const override;
    TCenterShape GetCenterShape(int32_t index) const override;

    bool storeCutCenterSizes() const { return Face.StoreCutCenterSizes(); }
};

class TFaceItem : public TCollectionItem {
    ORVELLA_PERSISTENT(TFaceItem)

public:
    TFaceFields Face;

    TRect Rect() const;
    void SetRect(const TRect& rect);
    int32_t Left() const { return left_; }
    int32_t Top() const { return top_; }
    int32_t Width() const { return right_ - left_; }
    int32_t Height() const { return bottom_ - top_; }
    // Moving keeps the size; sizing keeps the left or top edge.
    void SetLeft(int32_t value);
    void SetTop(int32_t value);
    void SetWidth(int32_t value) { right_ = left_ + value; }
    void SetHeight(int32_t value) { bottom_ = top_ + value; }

    void Assign(const TFaceItem& source);
    void DefineProperties(TFiler& filer) override;
    bool storeCutCenterSizes() const { return Face.StoreCutCenterSizes(); }

private:
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t right_ = 0;
    int32_t bottom_ = 0;
};

class TFaces : public TCollection {
    ORVELLA_PERSISTENT(TFaces)

public:
    TFaces();
    TFaceItem& Items(std::size_t index) const { return static_cast<TFaceItem&>(TCollection::Items(index)); }
    TFaceItem& Add() { return TCollection::Add<TFaceItem>(); }
    void Assign(const TFaces& source);
};

class TFreePaperInfo : public TPaperInfo {
    ORVELLA_PERSISTENT(TFreePaperInfo)

public:
    TFaces Faces;

    void Assign(const TPaperInfo& source) override;

    int32_t GetFaceCount() const override;
    TFaceShape GetFaceShape(int32_t index) const override;
    std::string GetFacePurpose(int32_t index) const override;
    TRect GetFaceRect(int32_t index) const override;
    int32_t GetFaceMargin(int32_t index) const override;
    TSize GetCutCenterSize(int32_t index) const override;
    int32_t GetRoundSize(int32_t index) const override;
    TCenterShape GetCenterShape(int32_t index) const override;

private:
    const TFaceItem& item(int32_t index) const;
};

// Registers the paper classes with the class registry (once; repeating is harmless).
void RegisterPaperClasses();

}  // namespace orvella
