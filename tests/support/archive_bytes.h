// Scene records as bytes: an independent little-endian builder for the
// records a test expects, and a record stored or loaded through the archive.
#pragma once

#include "tests/support/bytes.h"

#include "scene/archive.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

// Expected bytes, built without the archive under test.
class ByteBuilder {
  public:
    ByteBuilder& I32(std::int32_t v) { return Le(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& W(std::uint16_t v) { return Le(v, 2); }
    ByteBuilder& D(double v);
    // A string shorter than 255 bytes: one length byte, then the bytes.
    ByteBuilder& S(const std::string& s);
    ByteBuilder& Zeros(std::size_t n);
    ByteBuilder& Raw(const ByteVector& b);
    const ByteVector& Bytes() const { return m_bytes; }

  private:
    ByteBuilder& Le(std::uint64_t v, int n);
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
