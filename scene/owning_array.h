// COwningArray: the ordered list that owns its elements, as the scene's lists
// (parts, points, polygons) and the export object's lists do. Add() takes
// ownership and returns the new element's index; removing an element deletes it.
#pragma once

#include <cstddef>
#include <memory>
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
    int Add(T* p) { return Add(std::unique_ptr<T>(p)); }
    int Add(std::unique_ptr<T> p) {
        m_items.push_back(std::move(p));
        return static_cast<int>(m_items.size()) - 1;
    }

    int GetSize() const { return static_cast<int>(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    T* GetAt(int i) const { return m_items[static_cast<std::size_t>(i)].get(); }
    T* operator[](int i) const { return GetAt(i); }

    // Deletes the element at i; the later elements move up by one.
    void RemoveAt(int i) { m_items.erase(m_items.begin() + i); }
    // Deletes every element, front to back.
    void RemoveAll() {
        for (auto& p : m_items)
            p.reset();
        m_items.clear();
    }
    // Deletes, in one pass, every element for which pred(element) is true;
    // the others keep their order.
    template <class Pred> void RemoveIf(Pred pred) {
        std::erase_if(m_items, [&](const std::unique_ptr<T>& p) { return pred(p.get()); });
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
    // Gives up ownership of the element at i without deleting it.
    std::unique_ptr<T> Detach(int i) {
        auto p = std::move(m_items[static_cast<std::size_t>(i)]);
        m_items.erase(m_items.begin() + i);
        return p;
    }
    void Reserve(std::size_t n) { m_items.reserve(n); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

    ~COwningArray() { RemoveAll(); }

  private:
    std::vector<std::unique_ptr<T>> m_items;
};
