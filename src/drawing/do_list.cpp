#include "drawing/do_list.h"

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"
#include "formats/component_stream.h"
#include "formats/stream_format.h"
#include "drawing/do_reader.h"
#include "drawing/draw_object.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>

namespace orvella {

namespace {

// The shortest component stream: signature, a one-letter class name, an
// empty name and the two list ends.
constexpr std::size_t kSmallestComponent = 4 + 2 + 1 + 1 + 1;

}  // namespace

TDOList::TDOList() = default;

TDOList::~TDOList() = default;

void TDOList::Clear()
{
    items_.clear();
}

void TDOList::FreeAll()
{
    const std::vector<TDrawObject*> items = std::exchange(items_, {});
    for (TDrawObject* object : items) {
        auto owned = std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == object; });
        if (owned != owned_.end())
            owned_.erase(owned);
        else if (TComponent* owner = object->Owner())
            owner->RemoveComponent(*object);
    }
}

std::unique_ptr<TDrawObject> TDOList::Take(TDrawObject& object)
{
    auto owned = std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == &object; });
    if (owned == owned_.end())
        return nullptr;
    std::unique_ptr<TDrawObject> taken = std::move(*owned);
    owned_.erase(owned);
    return taken;
}

void TDOList::WriteToStream(std::string& out) const
{
    TByteWriter writer(out);
    writer.WriteU32(uint32_t(items_.size()));
    for (const TDrawObject* object : items_)
        out += WriteComponent(*object);
}

void TDOList::ReadFromStream(std::string_view bytes)
{
    items_.clear();
    owned_.clear();
    TByteReader in(bytes);
    const int32_t count = in.ReadI32();
    // Every object takes some bytes: a count the data cannot hold is refused
    // before anything is made for it.
    if (count < 0 || std::size_t(count) > in.Remaining() / kSmallestComponent)
        TByteReader::Fail(stream_message::kReadError);
    std::vector<std::unique_ptr<TDrawObject>> read;
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<TComponent> component = ReadObject(in);
        if (auto* object = dynamic_cast<TDrawObject*>(component.get())) {
            component.release();
            read.emplace_back(object);
        }
    }
    for (auto& object : read) {
        items_.push_back(object.get());
        owned_.push_back(std::move(object));
    }
}

void TDOList::CopyToClipboard(const QString& format) const
{
    if (items_.empty())
        return;
    std::string bytes;
    WriteToStream(bytes);
    auto* data = new QMimeData;
    data->setData(format, QByteArray(bytes.data(), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

bool TDOList::PasteClipboard(const QString& format)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(format))
        return false;
    const QByteArray bytes = data->data(format);
    ReadFromStream(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return true;
}

QString DrawObjectClipboardFormat()
{
    QString name = QCoreApplication::applicationName().toLower();
    if (name.isEmpty())
        name = QStringLiteral("orvella");
    return QStringLiteral("application/x-%1-drawobjects").arg(name);
}

}  // namespace orvella
