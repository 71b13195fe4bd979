#pragma once
// The commands that leave label objects out of printing or put them back.

#include "drawing/draw_site_action.h"

namespace orvella {

// Sets DontPrint on the selected label objects that print now.
class TDSADontPrint : public TStandardDSA {
public:
    explicit TDSADontPrint(QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;

protected:
    TDSADontPrint(const char* caption, bool dontPrint, QObject* parent);

private:
    bool dontPrint_;
};

// Clears DontPrint on the selected label objects that have it.
class TDSADoPrint : public TDSADontPrint {
public:
    explicit TDSADoPrint(QObject* parent = nullptr);
};

}  // namespace orvella
