// CPairList: a polygon's host pairs, 8 raw bytes each, kept in order. Nearly every polygon
// has none, so the list is a single pointer, null while it is empty, instead of a vector's
// three: millions of polygons are 16 bytes smaller each. It behaves as the std::vector it
// stands in for does, as far as the scene uses one.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CPairList {
  public:
    using Pair = std::array<std::uint8_t, 8>;

    CPairList() = default;
    CPairList(const CPairList& other) {
        if (!other.empty())
            m_pairs = std::make_unique<std::vector<Pair>>(*other.m_pairs);
    }
    CPairList& operator=(const CPairList& other) {
        if (this != &other)
            *this = CPairList(other);
        return *this;
    }
    CPairList(CPairList&&) noexcept = default;
    CPairList& operator=(CPairList&&) noexcept = default;
    ~CPairList() = default;

    std::size_t size() const { return m_pairs ? m_pairs->size() : 0; }
    bool empty() const { return size() == 0; }
    void push_back(const Pair& pair) { Pairs().push_back(pair); }
    void reserve(std::size_t n) {
        if (n > 0)
            Pairs().reserve(n);
    }
    const Pair* begin() const { return m_pairs ? m_pairs->data() : nullptr; }
    const Pair* end() const { return begin() + size(); }

    friend bool operator==(const CPairList& a, const CPairList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    std::vector<Pair>& Pairs() {
        if (!m_pairs)
            m_pairs = std::make_unique<std::vector<Pair>>();
        return *m_pairs;
    }

    std::unique_ptr<std::vector<Pair>> m_pairs;
};
