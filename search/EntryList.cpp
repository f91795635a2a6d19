#include "search/EntryList.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>

namespace search {

std::uint64_t EntryList::newOwner()
{
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

EntryList::EntryList(const QStringList &entries)
{
    for (const QString &entry : entries)
        append(entry);
}

EntryList::EntryList(const EntryList &other)
    : blocks_(other.blocks_)
    , starts_(other.starts_)
    , count_(other.count_)
{
}

EntryList::EntryList(EntryList &&other) noexcept
    : blocks_(std::move(other.blocks_))
    , starts_(std::move(other.starts_))
    , count_(std::exchange(other.count_, 0))
    , id_(std::exchange(other.id_, newOwner()))
{
}

EntryList &EntryList::operator=(EntryList &&other) noexcept
{
    if (this != &other) {
        blocks_ = std::move(other.blocks_);
        starts_ = std::move(other.starts_);
        count_ = std::exchange(other.count_, 0);
        id_ = std::exchange(other.id_, newOwner());
        other.blocks_.clear();
        other.starts_.clear();
    }
    return *this;
}

EntryList &EntryList::operator=(const EntryList &other)
{
    if (this != &other) {
        blocks_ = other.blocks_;
        starts_ = other.starts_;
        count_ = other.count_;
        id_ = newOwner();  // the blocks are the other list's to grow
    }
    return *this;
}

namespace {
constexpr std::size_t kFirstStarts = 64;
constexpr int kDoublings = 8;  // up to 64 << 8 = 16,384 starts a block
constexpr std::size_t kStartsBeforeEven = kFirstStarts * ((std::size_t(1) << kDoublings) - 1);
}  // namespace

std::size_t EntryList::startsCapacity(std::size_t block)
{
    return kFirstStarts << std::min<std::size_t>(block, kDoublings);
}

EntryList::Place EntryList::startsPlace(qsizetype index)
{
    const std::size_t i = std::size_t(index);
    if (i < kStartsBeforeEven) {
        const std::size_t block = std::size_t(std::bit_width(i / kFirstStarts + 1)) - 1;
        return {block, i - kFirstStarts * ((std::size_t(1) << block) - 1)};
    }
    const std::size_t even = kFirstStarts << kDoublings;
    return {kDoublings + (i - kStartsBeforeEven) / even, (i - kStartsBeforeEven) % even};
}

std::string_view EntryList::bytesAt(qsizetype i) const
{
    const Place place = startsPlace(i);
    const std::uint64_t start = starts_[place.block]->at[place.slot];
    const char *at = blocks_[start >> 32]->data.get() + (start & 0xffffffffu);
    std::uint32_t length;
    std::memcpy(&length, at, sizeof length);
    return {at + sizeof length, length};
}

QString EntryList::at(qsizetype i) const
{
    const std::string_view raw = bytesAt(i);
    return platform::decodeFileName(QByteArray::fromRawData(raw.data(), qsizetype(raw.size())));
}

EntryList EntryList::first(qsizetype n) const
{
    EntryList prefix(*this);
    prefix.count_ = std::clamp<qsizetype>(n, 0, count_);
    prefix.starts_.resize(prefix.count_ == 0 ? 0 : startsPlace(prefix.count_ - 1).block + 1);
    return prefix;
}

QStringList EntryList::toStringList() const
{
    QStringList list;
    list.reserve(count_);
    for (qsizetype i = 0; i < count_; ++i)
        list.append(at(i));
    return list;
}

bool EntryList::operator==(const EntryList &other) const
{
    if (count_ != other.count_)
        return false;
    for (qsizetype i = 0; i < count_; ++i)
        if (bytesAt(i) != other.bytesAt(i))
            return false;
    return true;
}

void EntryList::append(std::string_view raw)
{
    const std::uint32_t length = std::uint32_t(raw.size());
    const std::size_t needed = sizeof length + raw.size();
    if (blocks_.empty() || blocks_.back()->owner != id_ || blocks_.back()->capacity - blocks_.back()->used < needed) {
        const std::size_t grown =
            blocks_.empty() ? kFirstBlockBytes : std::min(kLargestBlockBytes, 2 * blocks_.back()->capacity);
        blocks_.push_back(std::make_shared<Block>(std::max(grown, needed), id_));
    }
    Block &block = *blocks_.back();
    const std::size_t offset = block.used;
    std::memcpy(block.data.get() + offset, &length, sizeof length);
    std::memcpy(block.data.get() + offset + sizeof length, raw.data(), raw.size());
    block.used += needed;

    const Place place = startsPlace(count_);
    if (place.slot == 0) {
        starts_.push_back(std::make_shared<Starts>(startsCapacity(place.block), id_));
    } else if (starts_.back()->owner != id_) {
        // A snapshot grows: the starts it shares are copied first.
        auto own = std::make_shared<Starts>(startsCapacity(place.block), id_);
        std::memcpy(own->at.get(), starts_.back()->at.get(), place.slot * sizeof(std::uint64_t));
        starts_.back() = std::move(own);
    }
    starts_.back()->at[place.slot] = (std::uint64_t(blocks_.size() - 1) << 32) | offset;
    ++count_;
}

void EntryList::append(const QString &entry)
{
    const QByteArray raw = platform::encodeFileName(entry);
    append(std::string_view(raw.constData(), std::size_t(raw.size())));
}

void EntryList::append(const EntryList &other)
{
    for (qsizetype i = 0; i < other.count_; ++i)
        append(other.bytesAt(i));
}

void EntryList::clear()
{
    blocks_.clear();
    starts_.clear();
    count_ = 0;
}

}  // namespace search
