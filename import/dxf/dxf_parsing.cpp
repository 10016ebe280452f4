#include "import/dxf/dxf_parsing.h"

#include "import/dxf/dxf_drawing_parser.h"
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

// Items per batch: few enough hand-overs to cost nothing, small enough to stay in cache.
constexpr std::size_t kBatchItems = 4096;
// Batches the parser may be ahead of the merging, which bounds the memory they take.
constexpr std::size_t kBatchesAhead = 4;
constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

// The batches on their way from the parser to the merging, in order.
class CItemBatches {
  public:
    // How many batches may wait; set before a parsing thread starts.
    void SetCapacity(std::size_t capacity) { m_nCapacity = capacity; }

    // Waits for room. false once the merging side has stopped: the parser stops too.
    bool Push(std::vector<CDxfItem>&& batch) {
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
    bool Pop(std::vector<CDxfItem>& batch) {
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
    std::deque<std::vector<CDxfItem>> m_batches;
    std::size_t m_nCapacity = kUnbounded;
    bool m_bClosed = false;
    bool m_bStopped = false;
};

// Reads every entity of text, pushing faces and INSERTs in batches, until the end or an error.
void ParseAll(std::string_view text, bool blocksInPlace, CItemBatches& batches,
              CDxfDrawing& drawing) {
    CDxfPairReader pairs(text);
    CDxfDrawingParser parser(drawing, blocksInPlace);
    std::string_view name;
    std::uint32_t line = 0;
    std::vector<CDxfPair> entity;
    std::vector<CDxfItem> batch;
    batch.reserve(kBatchItems);
    while (pairs.NextEntity(name, line, entity)) {
        if (!parser.Take(name, line, entity, batch)) {
            batches.Push(std::move(batch));
            return;
        }
        if (batch.size() >= kBatchItems) {
            if (!batches.Push(std::move(batch))) {
                return;
            }
            batch = {};
            batch.reserve(kBatchItems);
        }
    }
    drawing.m_strError = pairs.Error();
    drawing.m_bEndsEarly = !pairs.ReachedEof();
    parser.Finish();
    batches.Push(std::move(batch));
}

} // namespace

void ParseDxfDrawing(std::string_view text, std::size_t threadedFrom, bool blocksInPlace,
                     CDxfDrawing& drawing,
                     const std::function<bool(const std::vector<CDxfItem>&)>& merge) {
    CItemBatches batches;
    std::exception_ptr parseFailure;
    auto parse = [&]() noexcept {
        try {
            ParseAll(text, blocksInPlace, batches, drawing);
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
        CItemBatches& m_batches;
        std::thread& m_parser;
        ~CParserEnd() {
            m_batches.Stop();
            if (m_parser.joinable()) {
                m_parser.join();
            }
        }
    } parserEnd{batches, parser};

    std::vector<CDxfItem> batch;
    while (batches.Pop(batch)) {
        if (!merge(batch)) {
            break;
        }
    }
    batches.Stop(); // a parser still waiting for room gives up
    if (parser.joinable()) {
        parser.join();
    }
    if (parseFailure) {
        std::rethrow_exception(parseFailure);
    }
}
