// The 3DFACE entities of a DXF text, parsed: each face's layer and corners, in file order,
// handed on in batches. Parsing the text is most of the reading; merging the corners into
// points is the rest and must happen in file order. On a large text the parsing therefore
// runs on a thread of its own while the caller merges the batches already parsed, so the
// two halves of the work overlap on a machine with more than one core.
//
// Internal to the import library (CDxfReader uses it).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct CDxfFace {
    // The value of the face's first group 8, or "N/A" without one (CDxfReader's rule).
    std::string_view m_strLayer;
    // Corners read: up to four, stopping at the first corner with a coordinate missing.
    std::size_t m_nCount = 0;
    std::array<std::array<float, 3>, 4> m_corners{};
};

struct CDxfFaces {
    int m_nFaces = 0;          // 3DFACE entities met (up to an error)
    bool m_bPolylines = false; // whether a POLYLINE was met
    std::string m_strError;    // why the text cannot be read, naming its line; empty if it can
};

// Parses the faces of text and calls merge for each batch of faces, in file order, on the
// calling thread. From threadedFrom bytes of text on, the parsing runs on a second thread
// (when one can be started); below that, all of it runs first. Parsing stops at the first
// error: the batches before it are still merged. An exception thrown by either side ends
// both and reaches the caller.
CDxfFaces ParseDxfFaces(std::string_view text, std::size_t threadedFrom,
                        const std::function<void(const std::vector<CDxfFace>&)>& merge);
