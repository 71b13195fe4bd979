#include "formats/doc_stream.h"

#include "formats/storage_error.h"
#include "platform/backslash_path.h"

#include <algorithm>
#include <cstring>

namespace orvella {

namespace {

// Streams live in memory; refuse sizes no compound file written here can hold.
constexpr uint64_t kMaxStreamSize = uint64_t(1) << 32;

}  // namespace

TDocStream::TDocStream(TDocStorage& storage, uint32_t mode, std::string_view path)
{
    std::vector<std::string> components = storage.Resolve(path);
    if (components.empty())
        throw EStorageError(TStorageCode::InvalidName, std::string(path));
    const std::string name = components.back();
    components.pop_back();
    const bool create = mode == dmCreate;
    parent_ = std::make_unique<TDocStorage>(storage.Root(), create, "\\" + JoinBackslashPath(components));
    TStorageTree& tree = storage.Root().Tree();
    if (create) {
        tree.CreateChild(parent_->Element(), name, TElementType::Stream, true);
        writable_ = true;
    } else {
        writable_ = (mode & 0x3) == dmWrite || (mode & 0x3) == dmReadWrite;
        if (writable_ && !tree.Writable())
            throw EStorageError(TStorageCode::AccessDenied, name);
    }
    stream_ = tree.Open(parent_->Element(), name, TElementType::Stream);
}

TDocStream::~TDocStream()
{
    // A closed stream that was written may leave memory for the tree's
    // spill file; reading never adds to what the tree holds (and weighing
    // the whole tree at every read would cost each stream of a large
    // catalog a walk over all of them).
    const std::shared_ptr<TStorageTree> tree = stream_->Ref().TreePtr();
    stream_.reset();
    if (!writable_)
        return;
    try {
        tree->SpillIfLarge();
    } catch (const std::exception&) {
        // No room for the spill file: the bytes simply stay in memory.
    }
}

uint64_t TDocStream::Size() const { return stream_->Get().StreamSize(); }

std::size_t TDocStream::Read(void* buffer, std::size_t count)
{
    const TStorageElement& element = stream_->Get();
    const uint64_t size = element.StreamSize();
    if (position_ >= size)
        return 0;
    const std::size_t available = std::size_t(std::min<uint64_t>(count, size - position_));
    element.ReadBytes(position_, buffer, available);
    position_ += available;
    return available;
}

void TDocStream::Write(const void* buffer, std::size_t count)
{
    if (!writable_)
        throw EStorageError(TStorageCode::AccessDenied);
    if (count == 0)
        return;
    if (position_ + count > kMaxStreamSize)
        throw EStorageError(TStorageCode::MediumFull);
    stream_->Get().Unspill();
    std::string& data = stream_->Get().Data;
    if (data.size() < position_ + count)
        data.resize(std::size_t(position_ + count), char(0));
    std::memcpy(data.data() + position_, buffer, count);
    position_ += count;
    stream_->Ref().Tree().Touch(stream_->Ref());
}

uint64_t TDocStream::Seek(int64_t offset, TSeekOrigin origin)
{
    const int64_t base = origin == TSeekOrigin::Begin ? 0
                         : origin == TSeekOrigin::Current ? int64_t(position_)
                                                          : int64_t(Size());
    const int64_t target = base + offset;
    if (target < 0)
        throw EStorageError(TStorageCode::InvalidPointer);
    position_ = uint64_t(target);
    return position_;
}

void TDocStream::SetSize(uint64_t size)
{
    if (!writable_)
        throw EStorageError(TStorageCode::AccessDenied);
    if (size > kMaxStreamSize)
        throw EStorageError(TStorageCode::MediumFull);
    position_ = size;
    TStorageElement& element = stream_->Get();
    if (size == 0)
        element.Spilled.reset();  // nothing of it is kept: no need to read it back
    element.Unspill();
    element.Data.resize(std::size_t(size), char(0));
    stream_->Ref().Tree().Touch(stream_->Ref());
}

std::string TDocStream::ReadAll()
{
    position_ = Size();
    return stream_->Get().Bytes();
}

void TDocStream::WriteAll(std::string_view bytes)
{
    SetSize(0);
    Write(bytes.data(), bytes.size());
}

}  // namespace orvella
