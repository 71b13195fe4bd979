#include "print/printer_form.h"

#include "platform/text_case.h"
#include "platform/utf8.h"

#include <cstdlib>

namespace orvella {

namespace {

constexpr std::size_t kMaxFormName = 64;

const TFormInfo& form(const IArrayItem& item) { return static_cast<const TFormInfo&>(item); }

int sizeDifference(const TFormInfo& f, int32_t width, int32_t height, int32_t tolerance)
{
    const auto differ = [tolerance](int32_t a, int32_t b) {
        const int64_t d = int64_t(a) - b;
        return std::llabs(d) <= tolerance ? 0 : (d < 0 ? -1 : 1);
    };
    const int dx = differ(f.Width(), width);
    return dx != 0 ? dx : differ(f.Height(), height);
}

}  // namespace

TFormInfo::TFormInfo(std::string name, int32_t paperId, int32_t width, int32_t height)
    : name_(Utf8Left(name, kMaxFormName)), paperId_(paperId), width_(width), height_(height)
{
}

TFinder FormNameFinder(std::string name)
{
    return [wanted = UpperCase(name)](const IArrayItem& item) {
        const std::string have = UpperCase(form(item).GetName());
        return have < wanted ? -1 : (have == wanted ? 0 : 1);
    };
}

TFinder FormSizeFinder(int32_t width, int32_t height)
{
    return [=](const IArrayItem& item) { return sizeDifference(form(item), width, height, 0); };
}

TFinder FormNearSizeFinder(int32_t width, int32_t height)
{
    return [=](const IArrayItem& item) { return sizeDifference(form(item), width, height, kNearSizeTolerance); };
}

TFinder FormIDFinder(int32_t paperId)
{
    return [=](const IArrayItem& item) {
        const int32_t id = form(item).GetPaperId();
        return id < paperId ? -1 : (id == paperId ? 0 : 1);
    };
}

void TPrinterForm::Add(const TFormInfo& info) { list_.Add(std::make_shared<TFormInfo>(info)); }

const TFormInfo& TPrinterForm::GetItem(int index) const { return form(*list_.GetItem(index)); }

int TPrinterForm::FindNearSize(int32_t width, int32_t height) const
{
    const int exact = FindBySize(width, height);
    return exact >= 0 ? exact : list_.Find(FormNearSizeFinder(width, height));
}

std::string TPrinterForm::GetNames() const
{
    std::string names;
    for (int i = 0; i < Count(); ++i)
        names += GetItem(i).GetName() + "\r\n";
    return names;
}

}  // namespace orvella
