#pragma once
// The clipboard commands and Undo/Redo. On a draw site they act on the
// objects through the program's drawing-object clipboard format; on a
// focused text field on its selection and its own undo.

#include "drawing/draw_site_action.h"

#include <QString>

namespace orvella {

// The MIME type that stands for a clipboard format name: the name is
// macro-expanded ("$(AppName)" by default) and put into
// "application/x-<name>-drawobjects" in lower case; a name that does not
// expand gives the program's own format.
QString ClipboardMimeType(const std::string& formatName);

class TStandardEditDSA : public TStandardDSA {
public:
    using TStandardDSA::TStandardDSA;

    const std::string& ClipboardFormat() const { return clipboardFormat_; }
    void SetClipboardFormat(std::string format);
    QString ClipboardMime() const;

protected:
    bool HandlesText() const override { return true; }

private:
    std::string clipboardFormat_ = "$(AppName)";
    mutable QString mime_;
};

class TDSACopy : public TStandardEditDSA {
public:
    explicit TDSACopy(QObject* parent = nullptr);
    void ExecuteFirst(TDrawSite& site) override;

protected:
    bool CanExecuteText(TTextEditTarget& field) override { return field.HasSelection(); }
    void ExecuteText(TTextEditTarget& field) override { field.Copy(); }
};

class TDSACut : public TStandardEditDSA {
public:
    explicit TDSACut(QObject* parent = nullptr);
    void ExecuteFirst(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;

protected:
    bool CanExecuteText(TTextEditTarget& field) override { return field.HasSelection(); }
    void ExecuteText(TTextEditTarget& field) override { field.Cut(); }
};

class TDSAClear : public TStandardEditDSA {
public:
    explicit TDSAClear(QObject* parent = nullptr);
    void EachObject(TDrawSite& site, TDrawObject& object) override;

protected:
    bool CanExecuteText(TTextEditTarget& field) override { return field.HasSelection(); }
    void ExecuteText(TTextEditTarget& field) override { field.Clear(); }
};

// Pastes the objects of the command's format, moved inside the site; with
// none there, plain text or a picture on the clipboard becomes a new text
// or image object through the designers ("TLOTextPaste", "TLOImagePaste").
class TDSAPaste : public TStandardEditDSA {
public:
    explicit TDSAPaste(QObject* parent = nullptr);
    // Reads the clipboard; only done when the command runs.
    void MakeList(TDrawSite& site) override;
    // Whether the clipboard holds something to paste (nothing is read).
    bool CanExecute(TDrawSite& site) override;
    void ExecuteFirst(TDrawSite& site) override;
    void EachObject(TDrawSite& site, TDrawObject& object) override;
    void ExecuteOn(TDrawSite& site) override;

protected:
    bool CanExecuteText(TTextEditTarget& field) override;
    void ExecuteText(TTextEditTarget& field) override { field.Paste(); }

private:
    bool listReady_ = false;
};

// The creation command for what the clipboard offers besides drawing
// objects, judged by its first format: empty when nothing fits.
std::string ClipboardCreationCommand();

class TDSAUndo : public TStandardDSA {
public:
    explicit TDSAUndo(QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    bool CanExecute(TDrawSite& site) override;
    void ExecuteFirst(TDrawSite& site) override;

protected:
    bool HandlesText() const override { return true; }
    bool CanExecuteText(TTextEditTarget& field) override { return field.CanUndo(); }
    void ExecuteText(TTextEditTarget& field) override { field.Undo(); }
    void UpdateFor(const TCommandTarget& target) override;
};

class TDSARedo : public TStandardDSA {
public:
    explicit TDSARedo(QObject* parent = nullptr);
    void MakeList(TDrawSite& site) override;
    bool CanExecute(TDrawSite& site) override;
    void ExecuteFirst(TDrawSite& site) override;

protected:
    // A text field's own undo has no redo here: the command stays disabled.
    bool HandlesText() const override { return false; }
    void UpdateFor(const TCommandTarget& target) override;
};

}  // namespace orvella
