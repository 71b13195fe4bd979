#pragma once
// TDropFile: lets a window accept files dropped on it from the desktop. On
// a drop it collects the local paths (only the first with OneFileOnly; a
// folder replaced by every file below it with ExpandFolder) and raises
// OnDrop with them.

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace orvella {

class TDropFile : public QObject {
public:
    // The owner is the window that takes the drops when OwnerIsTarget is set.
    explicit TDropFile(QWidget* owner);

    bool OneFileOnly = false;
    bool ExpandFolder = false;
    std::function<void(const QStringList& files)> OnDrop;

    bool OwnerIsTarget() const { return ownerIsTarget_; }
    void SetOwnerIsTarget(bool value);
    // The window that takes the drops when the owner does not.
    void SetTarget(QWidget* target);
    QWidget* Target() const { return target_; }

    // What a drop of these paths reports (folders expanded, first only...).
    QStringList CollectFiles(const QStringList& paths) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attach(QWidget* target);

    QWidget* owner_;
    bool ownerIsTarget_ = true;
    QPointer<QWidget> target_;
};

// The local files of a drop (URLs that are no local files are left out).
QStringList DroppedLocalFiles(const QMimeData* data);

}  // namespace orvella
