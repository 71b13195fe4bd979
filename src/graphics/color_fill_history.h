#pragma once
// The colour fills a user used last, most recent first, each with a
// small preview, in a compound file of its own. The file is opened for each
// operation and closed after it; reads that fail give an empty result.

#include "formats/component.h"

#include <cstdint>
#include <string>

namespace orvella {

class TColorSpec;
class TPictureEx;
class TFileStorage;

class TColorSpecHistory : public TComponent {
    ORVELLA_PERSISTENT(TColorSpecHistory)

public:
    static constexpr int kPreviewSize = 48;

    int32_t Limit() const { return limit_; }
    void SetLimit(int32_t limit) { limit_ = limit; }
    // The expanded file name.
    const std::string& Filename() const { return filename_; }
    void SetFilename(const std::string& filename);

    // Puts colorFill at the front (moving it there when it is listed already) and
    // drops entries beyond Limit. Failures propagate.
    void Add(const TColorSpec& colorFill);
    // 0 when the file is missing or unreadable.
    int Count();
    void Load(int index, TColorSpec& colorFill);
    // Leaves picture empty on any failure.
    void GetPreview(int index, TPictureEx& picture);
    void Delete(int index);
    // Deletes the file.
    void Clear();

    // The key a fill is listed under: a hash over its stored form
    // and its preview.
    static std::string HistoryKey(const TColorSpec& colorFill, const TPictureEx& preview);
    static void MakePreview(const TColorSpec& colorFill, TPictureEx& preview);

private:
    int32_t limit_ = 10;
    std::string filename_;
};

}  // namespace orvella
