#pragma once
// The frame every property dialog of a label object is built on: pages on a
// tab selector, a live preview of a copy of the object, the position page,
// OK refusals that show their page, and editing as one undo step.
//
// A dialog for one kind of object derives from TfrmPropertyDialog, adds its
// pages in its constructor (AddPage, AddPositionPage), and overrides
// LoadInputs (fill the inputs from the object), CommitInputs (write the
// inputs into an object, through its setters), CheckInputs (Refuse(page,
// message) and false to keep the dialog open) and Caption. Colour pages come
// from AddColorPage. Every input's
// change signal calls InputChanged, which updates the preview. The designer
// that opens it comes from MakePropertyDialogDesigner.

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class QCheckBox;
class QScrollArea;
class QTabWidget;

namespace orvella {

class TClassInfo;
class TDODesigner;
class TDrawObject;
class TDrawSite;
class TfrmColorSpec;
class TfrmPosition;
class TPreviewSiteWidget;

class TfrmPropertyDialog : public QDialog {
public:
    // kind: the name the last shown page is remembered under.
    explicit TfrmPropertyDialog(QString kind, QWidget* parent = nullptr);
    ~TfrmPropertyDialog() override;

    // Makes the preview copy and fills every input from the object; the
    // caption is the adding one for an object not yet on a site.
    void Load(TDrawObject& object);
    // Writes the inputs into the object, the position record last.
    void Commit(TDrawObject& object);

    bool Loading() const { return loading_; }
    TDrawObject* PreviewObject() const { return preview_; }
    TDrawSite& PreviewSite() const { return *previewSite_; }
    QTabWidget* Pages() const { return pages_; }
    TfrmPosition* PositionPage() const { return position_; }
    QCheckBox* ActualSizeBox() const { return actualSize_; }

    // The page the dialog of this kind showed last in this run, or -1.
    static int RememberedPage(const QString& kind);

    void accept() override;
    void done(int result) override;

protected:
    // The preview is fitted again once the dialog has its real size.
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

protected:
    int AddPage(QWidget* page, const QString& caption);
    // The "位置" page; its record is loaded and committed by the frame.
    TfrmPosition* AddPositionPage();
    // A colour page; its changes update the preview. CommitInputs stores
    // the panel's Working() fill while Previewing(), its Result() otherwise.
    TfrmColorSpec* AddColorPage(const QString& caption);
    // CommitInputs is writing into the preview copy, not the object.
    bool Previewing() const { return previewing_; }

    virtual void LoadInputs(TDrawObject& object);
    virtual void CommitInputs(TDrawObject& object);
    // False keeps the dialog open; a refusal calls Refuse.
    virtual bool CheckInputs();
    virtual QString Caption(const TDrawObject& object, bool adding) const;

    // Shows the page and the message, for CheckInputs.
    void Refuse(QWidget* page, const QString& message);
    // Call on every input change: the preview copy takes the inputs.
    void InputChanged();

private:
    void layoutPreview();

    QString kind_;
    bool loading_ = false;
    bool previewing_ = false;
    QTabWidget* pages_;
    QScrollArea* previewBox_;
    TPreviewSiteWidget* previewWidget_;
    QCheckBox* actualSize_;
    TfrmPosition* position_ = nullptr;
    std::unique_ptr<TDrawSite> previewSite_;
    TDrawObject* preview_ = nullptr;
};

// Runs the dialog on the object: one change step "設定変更" is recorded
// only when the object reported a change, so Cancel, or OK without a
// change, leaves none; on an exception the step is dropped and the
// exception passes on. True when the user pressed OK.
bool EditObjectInDialog(TDrawObject& object, TfrmPropertyDialog& dialog);

// A designer that opens a new dialog from make for objects of the class and
// its descendants, owned by the active window.
std::shared_ptr<TDODesigner> MakePropertyDialogDesigner(
    const TClassInfo& objectClass, std::function<std::unique_ptr<TfrmPropertyDialog>(QWidget* parent)> make);

}  // namespace orvella
