#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

namespace search {

// Entries of the result list: full paths kept as the file system's bytes, packed
// one after another in large blocks, about a tenth of the memory of a list of
// texts. A copy is a snapshot that costs a few pointers: it shares the blocks,
// and what the original appends later is not in it, so an export can read a
// snapshot on its own thread while the window's list grows.
class EntryList {
public:
    EntryList() = default;
    // A list of texts stands in for the list wherever one is at hand (tests, small lists).
    EntryList(const QStringList &entries);  // NOLINT(google-explicit-constructor)
    EntryList(std::initializer_list<QString> entries) : EntryList(QStringList(entries)) {}
    EntryList(const EntryList &other);
    EntryList &operator=(const EntryList &other);
    EntryList(EntryList &&other) noexcept;
    EntryList &operator=(EntryList &&other) noexcept;

    qsizetype size() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // The entry as the window holds it: a name that is not UTF-8 keeps its bytes.
    QString at(qsizetype i) const;
    QString operator[](qsizetype i) const { return at(i); }
    std::string_view bytesAt(qsizetype i) const;
    // The first `n` entries.
    EntryList first(qsizetype n) const;
    QStringList toStringList() const;
    bool operator==(const EntryList &other) const;

    void append(std::string_view raw);
    void append(const QString &entry);
    void append(const EntryList &other);
    void clear();

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = QString;
        using difference_type = qsizetype;
        using pointer = void;
        using reference = QString;
        const_iterator(const EntryList *list, qsizetype i) : list_(list), i_(i) {}
        QString operator*() const { return list_->at(i_); }
        const_iterator &operator++()
        {
            ++i_;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return i_ == other.i_; }
        bool operator!=(const const_iterator &other) const { return i_ != other.i_; }

    private:
        const EntryList *list_;
        qsizetype i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, count_}; }

private:
    // Blocks grow from small to large, so that the many short lists of a walk (a
    // folder's matches, a batch) cost little and a long one few allocations.
    static constexpr std::size_t kFirstBlockBytes = 4096;
    static constexpr std::size_t kLargestBlockBytes = std::size_t(1) << 20;
    // Only the list that made a block appends to it; a snapshot that grows starts blocks of its own.
    struct Block {
        Block(std::size_t size, std::uint64_t by) : data(new char[size]), capacity(size), owner(by) {}
        std::unique_ptr<char[]> data;
        std::size_t capacity;
        std::size_t used = 0;
        std::uint64_t owner;
    };
    // Where each entry starts (block index << 32 | offset in the block): blocks of
    // 64, 128, ... 16,384 starts, then 16,384 each.
    struct Starts {
        Starts(std::size_t size, std::uint64_t by) : at(new std::uint64_t[size]), owner(by) {}
        std::unique_ptr<std::uint64_t[]> at;
        std::uint64_t owner;
    };
    struct Place {
        std::size_t block;
        std::size_t slot;
    };
    static Place startsPlace(qsizetype i);
    static std::size_t startsCapacity(std::size_t block);
    static std::uint64_t newOwner();

    std::vector<std::shared_ptr<Block>> blocks_;
    std::vector<std::shared_ptr<Starts>> starts_;
    qsizetype count_ = 0;
    std::uint64_t id_ = newOwner();
};

}  // namespace search
