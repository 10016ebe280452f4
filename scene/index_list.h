// CIndexList: a polygon's corner indices. Up to four are held in the list itself, so the
// triangles and quadrilaterals that make up most scenes need no allocation of their own
// and live wherever their polygon lives (in a part's blocks); longer lists go to the heap.
// It behaves as the std::vector it stands in for does, as far as the scene uses one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

class CIndexList {
  public:
    using value_type = std::int32_t;
    using size_type = std::size_t;
    using iterator = std::int32_t*;
    using const_iterator = const std::int32_t*;

    CIndexList() = default;
    CIndexList(std::initializer_list<std::int32_t> indices) {
        Assign(indices.begin(), indices.size());
    }
    // From a vector: tests and callers that build corner lists as vectors hand them over.
    CIndexList(const std::vector<std::int32_t>& indices) { Assign(indices.data(), indices.size()); }
    CIndexList(const CIndexList& other) { Assign(other.data(), other.size()); }
    CIndexList(CIndexList&& other) noexcept { TakeFrom(other); }
    CIndexList& operator=(const CIndexList& other) {
        if (this != &other)
            Assign(other.data(), other.size());
        return *this;
    }
    CIndexList& operator=(CIndexList&& other) noexcept {
        if (this != &other) {
            FreeHeap();
            TakeFrom(other);
        }
        return *this;
    }
    ~CIndexList() { FreeHeap(); }

    std::size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }
    std::int32_t* data() { return IsOnHeap() ? m_heap : m_aInline; }
    const std::int32_t* data() const { return IsOnHeap() ? m_heap : m_aInline; }
    std::int32_t& operator[](std::size_t i) { return data()[i]; }
    std::int32_t operator[](std::size_t i) const { return data()[i]; }
    iterator begin() { return data(); }
    iterator end() { return data() + m_nSize; }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + m_nSize; }

    void push_back(std::int32_t index) {
        if (m_nSize == m_nCapacity)
            reserve(std::size_t{m_nCapacity} * 2);
        data()[m_nSize++] = index;
    }
    void reserve(std::size_t capacity) {
        if (capacity <= m_nCapacity)
            return;
        auto* grown = new std::int32_t[capacity];
        std::copy_n(data(), m_nSize, grown);
        FreeHeap();
        m_heap = grown;
        m_nCapacity = static_cast<std::uint32_t>(capacity);
    }
    void clear() { m_nSize = 0; }

    operator std::vector<std::int32_t>() const { return {begin(), end()}; }
    friend bool operator==(const CIndexList& a, const CIndexList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const CIndexList& a, const std::vector<std::int32_t>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    static constexpr std::size_t kInline = 4;

    // A capacity beyond the inline corners means the corners are on the heap.
    bool IsOnHeap() const { return m_nCapacity > kInline; }
    void FreeHeap() {
        if (IsOnHeap())
            delete[] m_heap;
        m_nCapacity = kInline;
    }
    // Takes other's corners (its heap block, or a copy of its inline ones) and leaves it empty.
    void TakeFrom(CIndexList& other) {
        if (other.IsOnHeap())
            m_heap = other.m_heap;
        else
            std::copy_n(other.m_aInline, kInline, m_aInline);
        m_nSize = other.m_nSize;
        m_nCapacity = other.m_nCapacity;
        other.m_nSize = 0;
        other.m_nCapacity = kInline;
    }
    void Assign(const std::int32_t* indices, std::size_t count) {
        m_nSize = 0;
        reserve(count);
        std::copy_n(indices, count, data());
        m_nSize = static_cast<std::uint32_t>(count);
    }

    // The inline corners and the heap block share their place: 24 bytes in all.
    union {
        std::int32_t m_aInline[kInline] = {};
        std::int32_t* m_heap;
    };
    std::uint32_t m_nSize = 0;
    std::uint32_t m_nCapacity = kInline;
};
