#pragma once
// Designers: object-specific work (creation by command name, property
// dialogs, selection handles, drag outlines, making instances of streamed
// class names) registered in one process-wide list. The list asks the
// designers from the last registered to the first; the first that answers
// ends the search. Designers are shared (reference-counted).

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvella {

class TClassInfo;
class TComponent;
class TDrawObject;
class TDrawSite;

class TDODesigner {
public:
    virtual ~TDODesigner() = default;

    // Creates, places and selects a new object for a creation command.
    virtual bool CreateObject(TDrawSite& site, std::string_view command);
    // Opens the object's property dialog; cancelled tells whether the user
    // closed it without OK. Returns whether this designer handled it.
    virtual bool EditObject(TDrawObject& object, bool& cancelled);
    virtual bool ShowHandles(TDrawObject& object);
    virtual bool BeginDrag(TDrawObject& object, int handleIndex);
    // An empty instance for a streamed class name, or nullptr.
    virtual std::unique_ptr<TComponent> CreateInstance(std::string_view className);

    // The module whose classes the designer holds; unloading that module
    // drops the designer.
    std::string Module;
};

class TDODesignerList {
public:
    void Register(std::shared_ptr<TDODesigner> designer);
    void Unregister(const TDODesigner& designer);
    void UnloadModule(std::string_view module);
    std::size_t Count() const { return designers_.size(); }
    bool Contains(const TDODesigner& designer) const;
    void Clear() { designers_.clear(); }

    bool CreateObject(TDrawSite& site, std::string_view command);
    bool EditObject(TDrawObject& object, bool& cancelled);
    bool ShowHandles(TDrawObject& object);
    bool BeginDrag(TDrawObject& object, int handleIndex);
    std::unique_ptr<TComponent> CreateInstance(std::string_view className);

private:
    // Newest first, over a copy: a designer may register or leave meanwhile.
    template <class Ask>
    bool askNewestFirst(const Ask& ask);

    std::vector<std::shared_ptr<TDODesigner>> designers_;
};

// The program's designer registry (user-interface thread only).
TDODesignerList& DesignerList();

// The seam for property dialogs: opens a dialog for the objects of one class
// (descendants included). The dialog edits the object and answers whether
// the user confirmed it.
class TDialogDesigner : public TDODesigner {
public:
    using TDialog = std::function<bool(TDrawObject& object)>;
    TDialogDesigner(const TClassInfo& objectClass, TDialog dialog);
    bool EditObject(TDrawObject& object, bool& cancelled) override;

private:
    const TClassInfo& objectClass_;
    TDialog dialog_;
};

// How a creation command prepares and places its new object.
struct TCreationCommand {
    std::string InstanceName;  // the name CreateInstance is asked for; the command itself when empty
    bool EditFirst = false;
    bool PlaceByDragging = true;
    std::function<void(TDrawObject& object, TDrawSite& site)> Prepare;
};

// The designer of the label object classes: it makes instances of the
// registered classes (and of the command names that stand for them) and
// runs the creation commands. Whatever command made it, a text object (a
// descendant of the class named "TLOText") starts with a grey shadow.
class TLOCreator : public TDODesigner {
public:
    bool CreateObject(TDrawSite& site, std::string_view command) override;
    std::unique_ptr<TComponent> CreateInstance(std::string_view className) override;

    // Commands not added here use the defaults of TCreationCommand.
    void AddCommand(std::string name, TCreationCommand command);
    // A class or command name that makes an instance of another class.
    void AddAlias(std::string name, std::string className);

    // The editor's hooks: an object was inserted; the creation is recorded
    // as the undo step "追加" (an add step in the program's history unless
    // OnRecordUndo is set); one-shot creation modes end.
    std::function<void(TDrawObject&)> OnObjectCreated;
    std::function<void(TDrawObject&, const std::string& caption)> OnRecordUndo;
    std::function<void()> OnResetCreationModes;

private:
    std::map<std::string, TCreationCommand, std::less<>> commands_;
    std::map<std::string, std::string, std::less<>> aliases_;
};

}  // namespace orvella
