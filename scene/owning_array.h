// COwningArray: the ordered list that owns its elements, as the scene's lists
// (parts, points, polygons) and the export object's lists do. Add() takes
// ownership of a heap object; Emplace() builds the element in the array's own
// blocks (CBlockArena), so millions of points or polygons cost a few large
// allocations instead of one each. Either way, removing an element destroys it.
#pragma once

#include "scene/block_arena.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

template <class T> class COwningArray {
  public:
    COwningArray() = default;
    COwningArray(const COwningArray&) = delete;
    COwningArray& operator=(const COwningArray&) = delete;
    COwningArray(COwningArray&&) noexcept = default;
    COwningArray& operator=(COwningArray&&) noexcept = default;

    // Takes ownership of p (which may be null: an empty entry).
    int Add(T* p) { return Append(Item(p, false)); }
    int Add(std::unique_ptr<T> p) { return Add(p.release()); }
    // Constructs a T from args in the array's blocks and appends it.
    template <class... Args> T* Emplace(Args&&... args) {
        void* memory = m_arena.Allocate(sizeof(T), alignof(T));
        T* p = new (memory) T(std::forward<Args>(args)...);
        Append(Item(p, true));
        return p;
    }

    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    T* GetAt(int i) const { return m_items[static_cast<std::size_t>(i)].get(); }
    T* operator[](int i) const { return GetAt(i); }

    // Deletes the element at i; the later elements move up by one.
    void RemoveAt(int i) { m_items.erase(m_items.begin() + i); }
    // Deletes every element, front to back, and gives back the blocks.
    void RemoveAll() {
        for (auto& p : m_items)
            p.reset();
        m_items.clear();
        m_arena.Reset();
    }
    // Deletes, in one pass, every element for which pred(element) is true;
    // the others keep their order.
    template <class Pred> void RemoveIf(Pred pred) {
        std::erase_if(m_items, [&](const Item& p) { return pred(p.get()); });
    }
    // Deletes, in one pass, every element whose index i (counted before the
    // call) makes pred(i) true; pred is called once per index, in order.
    template <class Pred> void RemoveIfIndex(Pred pred) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (pred(static_cast<int>(i)))
                m_items[i].reset();
            else if (kept++ != i)
                m_items[kept - 1] = std::move(m_items[i]);
        }
        m_items.resize(kept);
    }
    void Reserve(std::size_t n) { m_items.reserve(n); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    ~COwningArray() {
        for (auto& p : m_items)
            p.reset();
    }

  private:
    // The owning pointer to one element. Its lowest bit (free, as every element is aligned
    // to at least two bytes) says whether the element was built in the blocks, where it is
    // only destroyed, or handed over from the heap, where it is deleted: an element costs
    // the list one pointer, which for millions of points is worth the bit.
    class Item {
      public:
        static_assert(alignof(T) >= 2, "the lowest address bit must be free");

        Item() = default;
        Item(T* p, bool inBlock)
            : m_nBits(reinterpret_cast<std::uintptr_t>(p) | (inBlock ? kInBlock : 0)) {}
        Item(Item&& other) noexcept : m_nBits(std::exchange(other.m_nBits, 0)) {}
        Item& operator=(Item&& other) noexcept {
            if (this != &other) {
                reset();
                m_nBits = std::exchange(other.m_nBits, 0);
            }
            return *this;
        }
        Item(const Item&) = delete;
        Item& operator=(const Item&) = delete;
        ~Item() { reset(); }

        T* get() const { return reinterpret_cast<T*>(m_nBits & ~kInBlock); }
        T& operator*() const { return *get(); }
        T* operator->() const { return get(); }
        friend bool operator==(const Item& item, std::nullptr_t) { return item.get() == nullptr; }
        void reset() {
            if (T* p = get(); p != nullptr) {
                if ((m_nBits & kInBlock) != 0)
                    p->~T();
                else
                    delete p;
            }
            m_nBits = 0;
        }

      private:
        static constexpr std::uintptr_t kInBlock = 1;
        std::uintptr_t m_nBits = 0;
    };

    int Append(Item item) {
        m_items.push_back(std::move(item));
        return static_cast<int>(m_items.size()) - 1;
    }

    // Declared first, so it is destroyed after the elements that live in it.
    CBlockArena m_arena;
    std::vector<Item> m_items;
};
