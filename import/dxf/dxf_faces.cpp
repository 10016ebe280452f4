#include "import/dxf/dxf_faces.h"

#include "import/dxf/dxf_pairs.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Faces per batch: few enough hand-overs to cost nothing, small enough to stay in cache.
constexpr std::size_t kBatchFaces = 4096;
// Batches the parser may be ahead of the merging, which bounds the memory they take.
constexpr std::size_t kBatchesAhead = 4;
constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

// The batches on their way from the parser to the merging, in order.
class CFaceBatches {
  public:
    // How many batches may wait; set before a parsing thread starts.
    void SetCapacity(std::size_t capacity) { m_nCapacity = capacity; }

    // Waits for room. false once the merging side has stopped: the parser stops too.
    bool Push(std::vector<CDxfFace>&& batch) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_room.wait(lock, [this] { return m_batches.size() < m_nCapacity || m_bStopped; });
        if (m_bStopped) {
            return false;
        }
        m_batches.push_back(std::move(batch));
        m_ready.notify_one();
        return true;
    }
    // The parser is done: no batch follows.
    void Close() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
        m_ready.notify_one();
    }
    // The merging side is done, early or not: a waiting parser gives up.
    void Stop() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopped = true;
        m_room.notify_one();
    }
    // The next batch; false when the parser is done and every batch was taken.
    bool Pop(std::vector<CDxfFace>& batch) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_batches.empty() || m_bClosed; });
        if (m_batches.empty()) {
            return false;
        }
        batch = std::move(m_batches.front());
        m_batches.pop_front();
        m_room.notify_one();
        return true;
    }

  private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    std::deque<std::vector<CDxfFace>> m_batches;
    std::size_t m_nCapacity = kUnbounded;
    bool m_bClosed = false;
    bool m_bStopped = false;
};

// Reads every entity of text, pushing its faces in batches, until the end or an error.
void ParseAll(std::string_view text, CFaceBatches& batches, CDxfFaces& result) {
    CDxfPairReader pairs(text);
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<CDxfPair> entity;
    std::vector<CDxfFace> batch;
    batch.reserve(kBatchFaces);
    while (pairs.NextEntity(name, line, entity)) {
        result.m_bPolylines = result.m_bPolylines || name.starts_with("POLYLINE");
        if (!name.starts_with("3DFACE")) {
            continue;
        }
        ++result.m_nFaces;
        CDxfFace& face = batch.emplace_back();
        face.m_strLayer = kDxfNotFound;
        // Corner d has groups 1d, 2d, 3d; the layer is group 8. One scan keeps each code's
        // first pair.
        std::array<std::array<const CDxfPair*, 4>, 3> value{};
        bool layerFound = false;
        for (const CDxfPair& pair : entity) {
            std::string_view code = pair.m_strCode;
            if (code.size() == 2 && code[0] >= '1' && code[0] <= '3' && code[1] >= '0' &&
                code[1] <= '3') {
                const CDxfPair*& slot = value[static_cast<std::size_t>(code[0] - '1')]
                                             [static_cast<std::size_t>(code[1] - '0')];
                if (slot == nullptr) {
                    slot = &pair;
                }
            } else if (!layerFound && code == "8") {
                face.m_strLayer = pair.m_strValue;
                layerFound = true;
            }
        }
        for (auto& axis : value) {
            for (const CDxfPair*& slot : axis) {
                if (slot != nullptr && slot->m_strValue == kDxfNotFound) {
                    slot = nullptr;
                }
            }
        }
        for (std::size_t d = 0; d < 4; ++d) {
            if (value[0][d] == nullptr || value[1][d] == nullptr || value[2][d] == nullptr) {
                break;
            }
            for (std::size_t axis = 0; axis < 3; ++axis) {
                if (!ReadDxfCoordinate(value[axis][d], face.m_corners[d][axis],
                                       result.m_strError)) {
                    batch.pop_back(); // a face with a bad corner is no face
                    batches.Push(std::move(batch));
                    return;
                }
            }
            ++face.m_nCount;
        }
        if (batch.size() == kBatchFaces) {
            if (!batches.Push(std::move(batch))) {
                return;
            }
            batch = {};
            batch.reserve(kBatchFaces);
        }
    }
    result.m_strError = pairs.Error();
    batches.Push(std::move(batch));
}

} // namespace

CDxfFaces ParseDxfFaces(std::string_view text, std::size_t threadedFrom,
                        const std::function<void(const std::vector<CDxfFace>&)>& merge) {
    CDxfFaces result;
    CFaceBatches batches;
    std::exception_ptr parseFailure;
    auto parse = [&]() noexcept {
        try {
            ParseAll(text, batches, result);
        } catch (...) {
            parseFailure = std::current_exception();
        }
        batches.Close();
    };

    std::thread parser;
    if (text.size() >= threadedFrom) {
        batches.SetCapacity(kBatchesAhead);
        try {
            parser = std::thread(parse);
        } catch (const std::system_error&) {
            batches.SetCapacity(kUnbounded); // no thread to be had: all of it here
        }
    }
    if (!parser.joinable()) {
        parse();
    }
    // The parser ends with the merging, whether the merging ends normally or throws.
    struct CParserEnd {
        CFaceBatches& m_batches;
        std::thread& m_parser;
        ~CParserEnd() {
            m_batches.Stop();
            if (m_parser.joinable()) {
                m_parser.join();
            }
        }
    } parserEnd{batches, parser};

    std::vector<CDxfFace> batch;
    while (batches.Pop(batch)) {
        merge(batch);
    }
    if (parser.joinable()) {
        parser.join();
    }
    if (parseFailure) {
        std::rethrow_exception(parseFailure);
    }
    return result;
}
