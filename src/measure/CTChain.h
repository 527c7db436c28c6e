#pragma once

#include <atomic>
#include <concepts>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

#include "measure/MeasureLog.h"

namespace orvane {

// A record that can live in a CTChain: it carries its own links and can be
// copied.
template <typename T>
concept ChainRecord =
    std::copy_constructible<T> && std::same_as<decltype(T::prev), T*> && std::same_as<decltype(T::next), T*>;

// The one list container of the program: an intrusive doubly linked chain of
// records with a movable cursor and a count, and no head or tail pointer -
// every operation walks from the cursor to where it acts. The first record
// has prev null, the last next null.
//
// The chain owns its records: they come in as unique_ptr (adopted) or as
// values (copied into a new record), and are freed when removed. Chains are
// not copyable; a move hands all records over.
//
// Operations answer 1 on success and 0 otherwise; every operation on an empty
// chain answers 0 and changes nothing. A record that cannot be allocated is
// not added (0). Users position the cursor themselves before relying on it.
//
// Every change of the chain's records gives it a new revision, a number no
// chain has had before: adding, removing and moving chains do so by
// themselves; whoever edits a record in place calls Touch. Caches of what
// the records look like compare revisions instead of records.
//
// Not thread-safe: UI thread only.
template <ChainRecord T> class CTChain {
public:
    CTChain() = default;
    virtual ~CTChain() { RemoveAll(); }

    CTChain(const CTChain&) = delete;
    CTChain& operator=(const CTChain&) = delete;
    CTChain(CTChain&& other) noexcept
        : m_cursor(std::exchange(other.m_cursor, nullptr)), m_count(std::exchange(other.m_count, 0))
    {
        other.Touch();
    }
    CTChain& operator=(CTChain&& other) noexcept
    {
        if (this != &other) {
            RemoveAll();
            m_cursor = std::exchange(other.m_cursor, nullptr);
            m_count = std::exchange(other.m_count, 0);
            Touch();
            other.Touch();
        }
        return *this;
    }

    // Moves the cursor to the last record and links the record after it.
    virtual int AddTail(std::unique_ptr<T> record)
    {
        MoveLast();
        return InsertAfterCursor(std::move(record));
    }

    // Moves the cursor to the last record and links a copy of `value` after it.
    virtual int AddTailValue(const T& value)
    {
        MoveLast();
        return InsertCopyAfterCursor(value);
    }

    // Adopts the record and links it after the cursor (as the only record of
    // an empty chain); the cursor moves to it. 0 for a null record.
    virtual int InsertAfterCursor(std::unique_ptr<T> record)
    {
        if (!record) {
            return 0;
        }
        Link(record.release());
        return 1;
    }

    // Links a copy of `value` after the cursor, as InsertAfterCursor does.
    virtual int InsertCopyAfterCursor(const T& value)
    {
        std::unique_ptr<T> record = CopyRecord(value);
        if (!record) {
            return 0;
        }
        Link(record.release());
        return 1;
    }

    // Frees the cursor's record; the cursor moves to its successor, or when
    // there is none to its predecessor (null when the chain became empty).
    int RemoveCurrent()
    {
        if (m_cursor == nullptr) {
            return 0;
        }
        std::unique_ptr<T> removed(m_cursor);
        T* const before = removed->prev;
        T* const after = removed->next;
        if (before != nullptr) {
            before->next = after;
        }
        if (after != nullptr) {
            after->prev = before;
        }
        m_cursor = after != nullptr ? after : before;
        --m_count;
        Touch();
        return 1;
    }

    int RemoveAll()
    {
        if (m_cursor == nullptr) {
            return 0;
        }
        while (RemoveCurrent() != 0) {
        }
        return 1;
    }

    int MoveFirst()
    {
        if (m_cursor == nullptr) {
            return 0;
        }
        m_cursor = First();
        return 1;
    }

    int MoveLast()
    {
        if (m_cursor == nullptr) {
            return 0;
        }
        while (m_cursor->next != nullptr) {
            m_cursor = m_cursor->next;
        }
        return 1;
    }

    // One step along the chain; 0 at its end (the cursor stays) or when empty.
    int MoveNext()
    {
        if (m_cursor == nullptr || m_cursor->next == nullptr) {
            return 0;
        }
        m_cursor = m_cursor->next;
        return 1;
    }

    int MovePrev()
    {
        if (m_cursor == nullptr || m_cursor->prev == nullptr) {
            return 0;
        }
        m_cursor = m_cursor->prev;
        return 1;
    }

    // MoveFirst, then `index` steps on; 0 when the chain ends first (the
    // cursor stays on the last record) or for a negative index (the cursor
    // stays on the first).
    int MoveTo(std::int32_t index)
    {
        if (MoveFirst() == 0 || index < 0) {
            return 0;
        }
        for (std::int32_t step = 0; step < index; ++step) {
            if (MoveNext() == 0) {
                return 0;
            }
        }
        return 1;
    }

    // Sets `no` to 0, 1, 2 ... from the first record on; the cursor stays.
    int Renumber()
    {
        if (m_cursor == nullptr) {
            return 0;
        }
        std::int32_t no = 0;
        for (T* record = First(); record != nullptr; record = record->next) {
            record->no = no++;
        }
        return 1;
    }

    // The records changed in place (points, values, offsets, selection).
    void Touch() { m_revision = NextRevision(); }
    [[nodiscard]] std::uint64_t revision() const { return m_revision; }

    [[nodiscard]] T* Current() { return m_cursor; }
    [[nodiscard]] const T* Current() const { return m_cursor; }
    [[nodiscard]] std::int32_t Count() const { return m_count; }

    // The first record, found by walking back from the cursor, which stays
    // where it is; null for an empty chain. Walk on with `next`.
    [[nodiscard]] T* First() { return FirstFrom(m_cursor); }
    [[nodiscard]] const T* First() const { return FirstFrom(m_cursor); }

protected:
    // A heap copy of `value` with its links cleared, or null when memory runs
    // out.
    [[nodiscard]] static std::unique_ptr<T> CopyRecord(const T& value)
    {
        try {
            auto record = std::make_unique<T>(value);
            record->prev = nullptr;
            record->next = nullptr;
            return record;
        } catch (const std::bad_alloc&) {
            kMeasureLog.Warning("out of memory: record not added to the chain");
            return nullptr;
        }
    }

private:
    // Unique across all chains, so that a chain moved into another's place
    // never repeats the revision a cache saw there.
    [[nodiscard]] static std::uint64_t NextRevision()
    {
        static std::atomic<std::uint64_t> next{1};
        return next.fetch_add(1, std::memory_order_relaxed);
    }

    template <typename Record> [[nodiscard]] static Record* FirstFrom(Record* record)
    {
        if (record == nullptr) {
            return nullptr;
        }
        while (record->prev != nullptr) {
            record = record->prev;
        }
        return record;
    }

    // Links an owned record after the cursor and moves the cursor to it.
    void Link(T* record)
    {
        if (m_cursor == nullptr) {
            record->prev = nullptr;
            record->next = nullptr;
            m_count = 1;
        } else {
            record->prev = m_cursor;
            record->next = m_cursor->next;
            if (m_cursor->next != nullptr) {
                m_cursor->next->prev = record;
            }
            m_cursor->next = record;
            ++m_count;
        }
        m_cursor = record;
        Touch();
    }

    T* m_cursor = nullptr;
    std::int32_t m_count = 0;
    std::uint64_t m_revision = NextRevision();
};

} // namespace orvane
