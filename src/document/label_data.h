#pragma once
// TLabelData: the label document. A document has one or more sheets, each
// with its own copy of a paper and, per face of that paper, the label
// objects placed on it. While it is open the document lives in a private
// in-memory compound file; only the current sheet's settings and paper are
// held in memory, the other sheets stay in the storage until selected.
// Opening copies a file into the storage; saving writes the storage's
// whole tree to a new file that replaces the old one only when complete.
//
// Layout of the storage (and of a ".ovd" file):
//   DataInfo                  TDataInfo with the three information records
//   Sheets\NameList           the sheets, in order; each a storage beside it
//   Sheets\<sheet>\Info       the sheet's settings (this class's properties)
//   Sheets\<sheet>\PaperInfo  the sheet's paper
//   ...\PaperExtraInfo, ...\PaperImageInfo, ...\PaperImages   when not empty
//   ...\NameList, ...\NameList<n>   the face object streams, face i at entry i
//   ...\Preview, ...\Preview<n>     the face previews (PNG, 200 x 200 at most)
//
// Everything but EffectivePaper belongs to the user-interface thread.

#include "formats/component.h"
#include "document/size_adjust.h"
#include "drawing/draw_object.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>


namespace orvella {

class TBitmap;
class TDOList;
class TDocNameList;
class TDocStorage;
class TExPaperInfo;
class TGrid;
class TGuide;
class TImagePaperInfo;
class TPaperInfo;
class TPictureEx;
class TProductInfo;
class TRootStorage;

inline constexpr char kDocumentExtension[] = "ovd";
// The largest preview, in pixels either way.
inline constexpr int32_t kPreviewSize = 200;

class TLabelData : public TComponent {
    ORVELLA_PERSISTENT(TLabelData)

public:
    // A new document: one sheet named "新規シート1" without a paper, the
    // information records of the product database, not modified.
    TLabelData();
    ~TLabelData() override;

    // --- the current sheet's stored settings ---
    TGuide& Guide() const;
    TGrid& Grid() const;
    // The face being edited.
    int32_t CurrentLabelNo() const;
    void SetCurrentLabelNo(int32_t value);
    // Off: face 0's objects and preview stand for every face.
    bool SeparatelyDesign() const;
    void SetSeparatelyDesign(bool value);
    const std::string& SheetName() const;
    void SetSheetName(const std::string& value);

    // --- files ---
    // Refuses a file that is no compound file, lacks "DataInfo" or
    // "Sheets\NameList", has no sheet or names a current sheet it does not
    // have; on any failure the document stays as it was.
    void LoadFromFile(const std::string& fileName);
    // Renders missing previews and compresses the face streams first.
    void SaveToFile(const std::string& fileName);
    // A face's preview straight from a document file, without opening the
    // document; false when the file has no such preview.
    static bool ReadPreviewFromFile(const std::string& fileName, int sheet, int face, TPictureEx& picture);
    // The preview of the face that was current when the file was saved (on
    // the sheet that was current), read the same way.
    static bool ReadCurrentPreviewFromFile(const std::string& fileName, TPictureEx& picture);

    // --- sheets ---
    int SheetCount() const;
    int CurrentSheet() const;
    // Keeps the modified flag as it was.
    void SelectSheet(int index);
    // A new sheet after the others that keeps the current settings and
    // paper, without objects; it becomes current.
    void AddSheet();
    // As AddSheet, with the current sheet's objects and previews copied.
    void CopySheet();
    // Refused for the only sheet. The sheet at the same place (or the new
    // last one) becomes current.
    void DeleteSheet();
    void MoveSheet(int newIndex);
    void GetSheetNames(std::vector<std::string>& names);

    // --- paper ---
    // The current sheet's paper; nullptr before one is set.
    const TPaperInfo* Paper() const;
    // The document keeps a copy. Face streams beyond the paper's faces go,
    // and the current face becomes 0 when the paper does not have it.
    void SetPaper(const TPaperInfo& paper);
    // The same, and every preview goes too.
    void SetPaperResetPreviews(const TPaperInfo& paper);
    // The paper layout and printing use (see effective_paper.h); nullptr
    // without a paper. Safe from any thread: another thread gets the copy
    // made last (the sheet's paper before one was made) and never waits for
    // one to be made. The copy never changes once handed out.
    std::shared_ptr<const TPaperInfo> EffectivePaper();
    const TExPaperInfo& ExtraPaperInfo() const;
    // nullptr (or an empty record) empties the information.
    void SetExtraPaperInfo(const TExPaperInfo* info);
    const TImagePaperInfo& ImagePaperInfo() const;
    void SetImagePaperInfo(const TImagePaperInfo* info);

    // --- objects of a face (face 0 stands for all without SeparatelyDesign) ---
    // A face the paper does not have reads as empty; storing objects on it
    // is refused (std::out_of_range).
    // Bottom-first, ready to add to a view in that order: names cleared,
    // dates and backgrounds brought up to date, centres kept inside the face.
    std::vector<std::unique_ptr<TDrawObject>> LoadFaceObjects(int face);
    // The same for a face stream from elsewhere (a script, a template), read
    // as if the face held it.
    std::vector<std::unique_ptr<TDrawObject>> LoadFaceObjectsFrom(int face, std::string_view stream);
    // list is top-first, as a view gives it.
    void SaveFaceObjects(int face, const TDOList& list);
    void ClearFaceObjects(int face);
    bool HasFaceObjects(int face);

    // --- previews ---
    bool HasPreview(int face);
    // Renders a missing preview first; false when there is none.
    bool GetPreview(int face, TPictureEx& picture);
    void EnsurePreview(int face);
    void DeletePreview(int face);

    // --- size adjustment of the current paper for printing onto discs ---
    TSizeAdjust GetSizeAdjust() const;
    void SetSizeAdjust(TSizeAdjust adjust);

    // --- document information ---
    TProductInfo& ProductInfo() const;
    TProductInfo& CreatorInfoE() const;
    TProductInfo& CreatorInfoJ() const;
    const std::string& DataName() const;
    void SetDataName(const std::string& name);
    // Date-times: days since 1899-12-30.
    double LastPrint() const;
    void SetLastPrint(double value);
    double LastSave() const;
    void SetLastSave(double value);
    double Opened() const;
    bool SheetMode() const;
    void SetSheetMode(bool value);

    bool Modified() const;
    void SetModified(bool modified);

    // The storage the document lives in and the path of a sheet's storage
    // in it, for tools and tests. The sheet list itself stays open while
    // the document lives: read it through SheetCount and these.
    TRootStorage& Storage() const;
    std::string SheetStoragePath(int sheet) const;

private:
    struct TSheetSettings;
    struct TState;
    struct TLoadedSheet;
    struct Bare {};
    explicit TLabelData(Bare);

    // The stored face that stands for face (face 0 without separate design);
    // kNoFace for a face the paper does not have, which reads as empty.
    static constexpr int kNoFace = -1;
    int faceIndex(int face) const;
    std::string sheetPath() const;
    // The current sheet's list of face object streams or of previews; with
    // create, a missing list is made, else nullptr stands for an empty one.
    std::unique_ptr<TDocNameList> faceList(const char* listName, bool create) const;
    // Reads the face's stream of that list; empty when there is none.
    std::string readFaceStream(const char* listName, int face) const;
    void writeFaceStream(const char* listName, int face, std::string_view bytes);
    void destroyFaceStream(const char* listName, int face);
    void saveSheetSettings();
    TLoadedSheet readSheet(int index) const;
    void applySheet(int index, TLoadedSheet&& sheet);
    // Makes the sheet current again after a failure, without saving the
    // settings of the sheet the failure left current.
    void restoreSheet(int index) noexcept;
    void installPaper(std::unique_ptr<TPaperInfo> paper);
    void trimObjectList();
    void addSheet(const std::string& stem, bool copyContent);
    std::vector<std::string> sheetNames();
    bool needsPreview(int index);
    std::unique_ptr<TBitmap> renderPreview(int index);
    // A new paper makes the previews of faces that look different stale.
    void dropChangedPreviews(const TPaperInfo& newPaper);
    // Saving: every sheet's missing previews rendered and its face streams
    // compressed; the sheet that was current stays current.
    void prepareSheetsForSaving();
    struct TSaveWork;
    void collectSaveWork(TSaveWork& work);
    void packSaveWork(TSaveWork& work);
    void finishSaveWork(TSaveWork& work);
    void dropEffectivePaper();
    void markModified();

    std::unique_ptr<TState> state_;

    // The effective paper is handed to other threads: it and the paper
    // snapshot they may fall back to change only under the lock.
    mutable std::mutex effectiveLock_;
    std::shared_ptr<const TPaperInfo> effective_;
    std::string effectiveKey_;
    std::shared_ptr<const TPaperInfo> paperSnapshot_;
    std::thread::id mainThread_;
};

void RegisterLabelDataClasses();

}  // namespace orvella
