#pragma once
// The forms (paper sizes) a printer offers, in the printer's order, with
// the searches the paper settings use. Sizes are 0.1 mm.

#include "print/interface_array.h"

#include <cstdint>
#include <string>

namespace orvella {

class TFormInfo : public IArrayItem {
public:
    TFormInfo(std::string name, int32_t paperId, int32_t width, int32_t height);
    const std::string& GetName() const { return name_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t GetPaperId() const { return paperId_; }

private:
    std::string name_;  // at most 64 characters
    int32_t paperId_;
    int32_t width_;
    int32_t height_;
};

// Differences of 20 or less count as the same size.
inline constexpr int32_t kNearSizeTolerance = 20;

TFinder FormNameFinder(std::string name);
TFinder FormSizeFinder(int32_t width, int32_t height);
TFinder FormNearSizeFinder(int32_t width, int32_t height);
TFinder FormIDFinder(int32_t paperId);

class TPrinterForm {
public:
    void Add(const TFormInfo& form);
    const TFormInfo& GetItem(int index) const;
    TInterfaceArray& GetList() { return list_; }
    int Count() const { return list_.GetCount(); }
    int FindByName(const std::string& name) const { return list_.Find(FormNameFinder(name)); }
    int FindBySize(int32_t width, int32_t height) const { return list_.Find(FormSizeFinder(width, height)); }
    // An exact size first, then one within the tolerance.
    int FindNearSize(int32_t width, int32_t height) const;
    int FindById(int32_t paperId) const { return list_.Find(FormIDFinder(paperId)); }
    // Every name followed by CR LF.
    std::string GetNames() const;

private:
    TInterfaceArray list_;
};

}  // namespace orvella
