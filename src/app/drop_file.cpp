#include "app/drop_file.h"

#include <QDirIterator>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace orvella {

QStringList DroppedLocalFiles(const QMimeData* data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

TDropFile::TDropFile(QWidget* owner) : QObject(owner), owner_(owner)
{
    attach(owner_);
}

void TDropFile::SetOwnerIsTarget(bool value)
{
    ownerIsTarget_ = value;
    attach(value ? owner_ : target_.data());
}

void TDropFile::SetTarget(QWidget* target)
{
    if (target_ && target_ != owner_)
        target_->removeEventFilter(this);
    target_ = target;
    if (!ownerIsTarget_)
        attach(target);
}

void TDropFile::attach(QWidget* target)
{
    if (owner_)
        owner_->removeEventFilter(this);
    if (target_)
        target_->removeEventFilter(this);
    if (!target)
        return;
    if (target != owner_)
        target_ = target;
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

QStringList TDropFile::CollectFiles(const QStringList& paths) const
{
    QStringList files;
    for (const QString& path : paths) {
        if (ExpandFolder && QFileInfo(path).isDir()) {
            QStringList inside;
            QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            while (it.hasNext())
                inside << it.next();
            inside.sort();
            files << inside;
        } else {
            files << path;
        }
        if (OneFileOnly && !files.isEmpty())
            return {files.constFirst()};
    }
    return files;
}

bool TDropFile::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (DroppedLocalFiles(drag->mimeData()).isEmpty())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = CollectFiles(DroppedLocalFiles(drop->mimeData()));
        if (files.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (OnDrop)
            OnDrop(files);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

}  // namespace orvella
