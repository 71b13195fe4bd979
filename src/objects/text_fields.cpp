#include "objects/text_fields.h"

#include "document/label_data.h"
#include "document/product_info.h"
#include "drawing/do_list.h"

#include <algorithm>

namespace orvella {

const std::vector<std::string>& FieldTypeCaptions()
{
    static const std::vector<std::string> captions{"プロダクト", "クリエーター", "クリエーター(英語)"};
    return captions;
}

void RefreshFields(const TDOList& objects, const TLabelData& document, std::initializer_list<TFieldType> types)
{
    for (std::size_t i = 0; i < objects.Count(); ++i) {
        auto* text = dynamic_cast<TLOText*>(&objects[i]);
        if (!text || text->FieldNo() <= 0)
            continue;
        if (std::find(types.begin(), types.end(), text->FieldType()) == types.end())
            continue;
        const TProductInfo& record = text->FieldType() == TFieldType::ftProduct ? document.ProductInfo()
                                     : text->FieldType() == TFieldType::ftCreatorJapanese
                                         ? document.CreatorInfoJ()
                                         : document.CreatorInfoE();
        const std::size_t item = std::size_t(text->FieldNo() - 1);
        if (item >= record.Items.Count())
            continue;
        text->SetText(record.Items.Items(item).Info.Lines);
    }
}

}  // namespace orvella
