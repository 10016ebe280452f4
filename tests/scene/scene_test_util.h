// Helpers for the scene tests: an independent little-endian byte builder for
// expected records, hex literals, and an application with an in-memory profile,
// scripted dialogs and a captured transcript.
#pragma once

#include "application.h"
#include "archive.h"
#include "memory_profile.h"
#include "scripted_dialogs.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using ByteVector = std::vector<std::uint8_t>;

// "00 ff 3F" -> bytes.
inline ByteVector Hex(const std::string& text) {
    ByteVector out;
    std::istringstream in(text);
    std::string token;
    while (in >> token)
        out.push_back(static_cast<std::uint8_t>(std::stoul(token, nullptr, 16)));
    return out;
}

// Expected bytes, built without the archive under test.
class ByteBuilder {
  public:
    ByteBuilder& I32(std::int32_t v) { return Le(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& W(std::uint16_t v) { return Le(v, 2); }
    ByteBuilder& D(double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        return Le(bits, 8);
    }
    // A string shorter than 255 bytes: one length byte, then the bytes.
    ByteBuilder& S(const std::string& s) {
        m_bytes.push_back(static_cast<std::uint8_t>(s.size()));
        m_bytes.insert(m_bytes.end(), s.begin(), s.end());
        return *this;
    }
    ByteBuilder& Zeros(std::size_t n) {
        m_bytes.insert(m_bytes.end(), n, 0);
        return *this;
    }
    ByteBuilder& Raw(const ByteVector& b) {
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    const ByteVector& Bytes() const { return m_bytes; }

  private:
    ByteBuilder& Le(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    ByteVector m_bytes;
};

// The record an object stores.
template <class T> ByteVector Stored(T& object) {
    CArchive ar;
    object.Serialize(ar);
    return ar.TakeStoredBytes();
}

// Loads a record from bytes into object; all bytes must be used.
template <class T> void LoadFrom(T& object, const ByteVector& bytes) {
    CArchive ar(bytes);
    object.Serialize(ar);
    if (ar.GetRemaining() != 0)
        throw std::runtime_error("record left bytes unread");
}

struct TestApp {
    CMemoryProfile* profile = nullptr;
    std::ostringstream transcript;
    std::unique_ptr<CApplication> app;

    TestApp() {
        auto store = std::make_unique<CMemoryProfile>();
        profile = store.get();
        app = std::make_unique<CApplication>(
            std::move(store),
            std::make_unique<CScriptedDialogs>(std::deque<std::string>{}, std::nullopt,
                                               std::nullopt),
            &transcript);
    }
};
