#pragma once
// The invisible draw site a print job runs on: it lays every selected face
// of the current sheet onto the printer page at its place, renders the
// face's objects band by band clipped to the face's outline (hole cut), and
// draws the outlines asked for. One logical unit is 0.1 mm from the sheet's
// physical corner.

#include "drawing/draw_site.h"
#include "paper/face_info.h"
#include "print/print_options.h"

#include <functional>
#include <memory>
#include <vector>

namespace orvella {

class IPrintDevice;
class TLabelData;
class TPaperInfo;

class IPrintProgress {
public:
    virtual ~IPrintProgress() = default;
    virtual void SetMax(int32_t steps) = 0;
    virtual void Step() = 0;
    // Lets the user interface breathe (and the cancel button work).
    virtual void ProcessMessages() = 0;
};

// "Banding" of the settings: 0 straight onto the printer, 1 bands at 254
// pixels per inch, anything else bands at the printer's resolution.
int32_t PrintBandingSetting();

class TPrintSite : public TDrawSite {
public:
    TPrintSite(TLabelData& data, IPrintDevice& device, const TPrintSpec& options, IPrintProgress* progress = nullptr);
    ~TPrintSite() override;

    int32_t Banding = 1;
    // Told of every face rendered, in order.
    std::function<void(int32_t face)> OnFaceRendered;
    // Told of every face outlined.
    std::function<void(int32_t face)> OnFaceOutlined;

    // Prints the current sheet: the job begins and is ended in every case
    // while it is still active; an aborted job stops at the next check.
    void Print();

protected:
    void DrawToProgress(int index) override;
    void PaintObject(TDrawObject& object, TCanvas& canvas) override;

private:
    bool active() const;
    void printFaces(const TPaperInfo& paper, TPoint shift);
    bool faceHasContent(int32_t face);
    void renderFace(const TPaperInfo& paper, int32_t face, TPoint shift);
    void loadFace(const TPaperInfo& paper, int32_t face);
    void clearObjects();
    void drawOutlines(const TPaperInfo& paper, TPoint shift);

    TLabelData& data_;
    IPrintDevice& device_;
    TPrintSpec options_;
    IPrintProgress* progress_;
    TFaceInfo face_;
    std::vector<std::unique_ptr<TDrawObject>> objects_;
};

}  // namespace orvella
