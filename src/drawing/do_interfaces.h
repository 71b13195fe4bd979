#pragma once
// The capabilities drawing objects offer, each named by a GUID. Commands,
// tool bars, property panels and the print layout ask an object for one and
// act through it without knowing the object's class. A capability is held
// through TIntfRef, which keeps the object's reference count while it lives.

#include "drawing/draw_types.h"
#include "graphics/canvas_tools.h"

#include <string>
#include <utility>

namespace orvella {

class TCanvas;
class TColorSpec;
class TFaceInfo;

class IDOInterface {
public:
    // The capability named iid, or nullptr; the result has been AddRef'd.
    virtual void* QueryInterface(const TGuid& iid) = 0;
    virtual int AddRef() = 0;
    virtual int Release() = 0;

protected:
    ~IDOInterface() = default;
};

class IDOEncloseBounds : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{4B303A53-7027-11D1-A16E-0060976E9510}");
    virtual void MoveBy(int32_t dx, int32_t dy) = 0;
    virtual void SetExtent(int32_t width, int32_t height) = 0;
    virtual TRect GetLogicalBounds() const = 0;
};

class IDOPosition : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{CF484151-74BF-11D1-A181-0060976E9510}");
    virtual int32_t GetLeft() const = 0;
    virtual void SetLeft(int32_t value) = 0;
    virtual int32_t GetTop() const = 0;
    virtual void SetTop(int32_t value) = 0;
    virtual int32_t GetWidth() const = 0;
    virtual void SetWidth(int32_t value) = 0;
    virtual int32_t GetHeight() const = 0;
    virtual void SetHeight(int32_t value) = 0;
    virtual bool KeepsAspect() const = 0;
};

class IDORect : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{B7EC5AD0-94E5-11D1-A1DF-0060976E9510}");
    // A line answers the normalised rectangle spanned by its end points.
    virtual TRect GetRect() const = 0;
};

class IDODraw : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{4B303A51-7027-11D1-A16E-0060976E9510}");
    virtual void PaintTo(TCanvas& canvas) = 0;
    virtual void DrawOutline(TCanvas& canvas) = 0;
};

class IDORotate : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{14B4B450-7230-11D1-A177-0060976E9510}");
    virtual int32_t GetAngle() const = 0;
    virtual void SetAngle(int32_t degrees) = 0;
};

class IDOLine : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{9E37EE01-9488-11D2-9408-0060976E9510}");
    virtual TPoint GetStartPoint() const = 0;
    virtual void SetStartPoint(int32_t x, int32_t y) = 0;
    virtual TPoint GetEndPoint() const = 0;
    virtual void SetEndPoint(int32_t x, int32_t y) = 0;
};

class IDOCurve : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{705CB8D0-8E77-11D1-A1CC-0060976E9510}");
    virtual TPoint GetStartPoint() const = 0;
    virtual void SetStartPoint(int32_t x, int32_t y) = 0;
    virtual TPoint GetEndPoint() const = 0;
    virtual void SetEndPoint(int32_t x, int32_t y) = 0;
    virtual void BeginEdit() = 0;
    virtual void EndEdit() = 0;
    virtual TPoint GetMiddlePoint() const = 0;
    virtual void SetMiddlePoint(TPoint point) = 0;
};

class IDOColorSpec : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{405F7333-8D50-11D1-A1CA-0060976E9510}");
    virtual const TColorSpec& GetColorSpec() const = 0;
    virtual void SetColorSpec(const TColorSpec& colorFill) = 0;
};

class IDOOptionalColorSpec : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{405F7334-8D50-11D1-A1CA-0060976E9510}");
    virtual const TColorSpec& GetColorSpec() const = 0;
    virtual void SetColorSpec(const TColorSpec& colorFill) = 0;
    virtual bool GetDisabled() const = 0;
    virtual void SetDisabled(bool disabled) = 0;
};

class IDOFont : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{405F7331-8D50-11D1-A1CA-0060976E9510}");
    virtual TFont GetFont() const = 0;
    virtual void SetFont(const TFont& font) = 0;
};

class IDOAlign : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{405F7332-8D50-11D1-A1CA-0060976E9510}");
    virtual int32_t GetAlign() const = 0;
    virtual void SetAlign(int32_t align) = 0;
};

class IDOVertical : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{DA0A5EA0-8D74-11D1-A1CA-0060976E9510}");
    virtual bool GetVertical() const = 0;
    virtual void SetVertical(bool vertical) = 0;
};

class IDOAutoSize : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{405F7330-8D50-11D1-A1CA-0060976E9510}");
    virtual bool GetAutoSize() const = 0;
    virtual void SetAutoSize(bool autoSize) = 0;
};

class IDOFeedAngle : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{5FA98FF7-4B5B-4ECB-8E35-71404A61DE83}");
    virtual int32_t GetFeedAngle() const = 0;
    virtual void SetFeedAngle(int32_t angle) = 0;
};

class IDOBlend : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{D90DA153-766D-432A-B181-4694F94ABED2}");
    virtual void SetBlendShade(bool shade) = 0;
    virtual bool GetBlendShade() const = 0;
    // Percent; 100 is opaque.
    virtual void SetBlendRatio(int32_t ratio) = 0;
    virtual int32_t GetBlendRatio() const = 0;
};

class IDOWizardInput : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{30EAB04F-B991-4260-BDF1-3EF623FEB949}");
    virtual bool GetWizInputEnable() const = 0;
    virtual void SetWizInputEnable(bool enable) = 0;
    virtual std::string GetWizInputCaption() const = 0;
    virtual void SetWizInputCaption(const std::string& caption) = 0;
};

class IDOFaceInfo : public virtual IDOInterface {
public:
    static constexpr TGuid IID = MakeGuid("{94A6E450-4C8C-11D3-AD27-00500463098A}");
    virtual void SetFaceInfo(const TFaceInfo* face) = 0;
    virtual const TFaceInfo* GetFaceInfo() const = 0;
};

// The listener side of change notification; every drawing object answers it
// with its TListener.
inline constexpr TGuid IID_Listener = MakeGuid("{D945C5B0-29DA-11D3-ACA5-00500463098A}");

// Holds one reference to a capability; empty when the object did not offer it.
template <class I>
class TIntfRef {
public:
    TIntfRef() = default;
    explicit TIntfRef(I* adopted) : intf_(adopted) {}  // takes over a reference already counted
    TIntfRef(const TIntfRef& other) : intf_(other.intf_) { if (intf_) intf_->AddRef(); }
    TIntfRef(TIntfRef&& other) noexcept : intf_(std::exchange(other.intf_, nullptr)) {}
    TIntfRef& operator=(TIntfRef other) noexcept { std::swap(intf_, other.intf_); return *this; }
    ~TIntfRef() { if (intf_) intf_->Release(); }

    I* get() const { return intf_; }
    I* operator->() const { return intf_; }
    I& operator*() const { return *intf_; }
    explicit operator bool() const { return intf_ != nullptr; }

private:
    I* intf_ = nullptr;
};

// The capability I of object, or an empty reference.
template <class I>
TIntfRef<I> Supports(IDOInterface* object)
{
    if (!object)
        return {};
    return TIntfRef<I>(static_cast<I*>(object->QueryInterface(I::IID)));
}

}  // namespace orvella
