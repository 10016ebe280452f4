// The floor for writing a DXF file of 3DFACEs: the same layout the export writes (group
// codes right-aligned, reals in "%f" form, CR LF) formatted with std::to_chars into a
// buffer written out every megabyte, for the points and faces of an exchange file's parts.
// No layer table, no checks. For bench/whole_jobs.sh: the export of the same scene writes
// the same entities.
//
//   plain_dxf_writer SCENE.qrc OUT.dxf
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"
#include "scene/scene_part.h"

#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

class CBufferedOut {
  public:
    explicit CBufferedOut(int fd) : m_fd(fd) { m_buffer.reserve(kFlush + 4096); }
    ~CBufferedOut() { Flush(); }
    void Append(std::string_view text) {
        m_buffer.append(text);
        if (m_buffer.size() >= kFlush)
            Flush();
    }
    void Real(double value) {
        char text[64];
        auto [end, error] =
            std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
        m_buffer.append(text, end);
        m_buffer.append("\r\n");
    }
    void Flush() {
        if (!m_buffer.empty() && ::write(m_fd, m_buffer.data(), m_buffer.size()) < 0)
            std::perror("write");
        m_buffer.clear();
    }

  private:
    static constexpr std::size_t kFlush = 1 << 20;
    int m_fd;
    std::string m_buffer;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: plain_dxf_writer SCENE.qrc OUT.dxf\n", stderr);
        return 2;
    }
    const int in = ::open(argv[1], O_RDONLY);
    const int out = ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        std::perror("plain_dxf_writer");
        return 1;
    }
    CSceneDocument doc;
    {
        CArchive ar(in, CArchive::load, argv[1]);
        if (ReadExchangeArchive(doc, ar) != ExchangeStatus::Read)
            return 1;
    }
    static const char* const kCodes[4][3] = {{" 10\r\n", " 20\r\n", " 30\r\n"},
                                             {" 11\r\n", " 21\r\n", " 31\r\n"},
                                             {" 12\r\n", " 22\r\n", " 32\r\n"},
                                             {" 13\r\n", " 23\r\n", " 33\r\n"}};
    CBufferedOut text(out);
    text.Append("  0\r\nSECTION\r\n  2\r\nENTITIES\r\n");
    for (const auto& part : doc.m_parts) {
        for (const auto& polygon : part->m_polygons) {
            text.Append("  0\r\n3DFACE\r\n  8\r\n");
            text.Append(part->m_strName);
            text.Append("\r\n");
            for (std::size_t k = 0; k < 4 && k < polygon->m_indices.size(); ++k) {
                const CScenePoint& p = part->GetCornerPoint(polygon->m_indices[k]);
                text.Append(kCodes[k][0]);
                text.Real(p.m_x);
                text.Append(kCodes[k][1]);
                text.Real(p.m_z);
                text.Append(kCodes[k][2]);
                text.Real(p.m_y);
            }
        }
    }
    text.Append("  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    text.Flush();
    ::close(in);
    return ::close(out) == 0 ? 0 : 1;
}
