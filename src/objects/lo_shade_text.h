#pragma once
// The text classes above the plain text object: the wizard text (marks the
// label creation wizard asks the user to fill in), the shaded text (a soft,
// blurred shadow) and the class every new text object is made of, stored
// under the name "TLOText".

#include "objects/lo_text.h"

namespace orvella {

class TLOWizardText : public TLOText, public IDOWizardInput {
    ORVELLA_PERSISTENT(TLOWizardText)

public:
    bool WizInputEnable() const { return wizInputEnable_; }
    void SetWizInputEnable(bool enable) override { wizInputEnable_ = enable; }
    const std::string& WizInputCaption() const { return wizInputCaption_; }
    void SetWizInputCaption(const std::string& caption) override { wizInputCaption_ = caption; }
    bool GetWizInputEnable() const override { return wizInputEnable_; }
    std::string GetWizInputCaption() const override { return wizInputCaption_; }

    void Assign(const TDrawObject& source) override;
    void* QueryInterface(const TGuid& iid) override;
    int AddRef() override { return TLOText::AddRef(); }
    int Release() override { return TLOText::Release(); }

private:
    bool wizInputEnable_ = false;
    std::string wizInputCaption_;
};

class TLOShadeText : public TLOWizardText {
    ORVELLA_PERSISTENT(TLOShadeText)

public:
    bool ShadeShadowEnable() const { return shadeShadowEnable_; }
    void SetShadeShadowEnable(bool enable);
    // Stored and copied; drawing does not use it.
    int32_t ShadeShadowSize() const { return shadeShadowSize_; }
    void SetShadeShadowSize(int32_t size);
    bool ShadeShadowBold() const { return shadeShadowBold_; }
    void SetShadeShadowBold(bool bold);

    // With a soft shadow the offset grows by a tenth of the line height away
    // from the text, so that the blur has room.
    TPoint ShadowOffset() const override;
    void Assign(const TDrawObject& source) override;

protected:
    bool softShadow() const override { return shadeShadowEnable_; }
    bool boldShadow() const override { return shadeShadowBold_; }

private:
    bool shadeShadowEnable_ = false;
    int32_t shadeShadowSize_ = 0;
    bool shadeShadowBold_ = false;
};

// The class every text object is: stored under the name "TLOText", so that
// reading a document's "TLOText" yields it.
class TLOCurrentText : public TLOShadeText {
    ORVELLA_PERSISTENT(TLOCurrentText)
};

}  // namespace orvella
