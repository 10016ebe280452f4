// The floor for reading a face-only DXF file: getline over the text, the coordinates of
// every 3DFACE parsed with std::from_chars, corners merged in a hash map, layers counted.
// No checks, no entity model: what any reader of this text has to pay at least. For
// bench/whole_jobs.sh.
//
//   plain_dxf_reader FILE.dxf     prints the point and face counts
#include <charconv>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

struct PointKey {
    float x, y, z;
    bool operator==(const PointKey&) const = default;
};
struct PointHash {
    std::size_t operator()(const PointKey& p) const {
        return std::hash<float>()(p.x) * 31 * 31 + std::hash<float>()(p.y) * 31 +
               std::hash<float>()(p.z);
    }
};

std::string_view Trimmed(const std::string& line) {
    std::string_view text = line;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' '))
        text.remove_suffix(1);
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: plain_dxf_reader FILE.dxf\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "plain_dxf_reader: cannot open %s\n", argv[1]);
        return 1;
    }
    std::unordered_map<PointKey, int, PointHash> points;
    std::unordered_set<std::string> layers;
    std::size_t faces = 0;
    std::string code;
    std::string value;
    bool inFace = false;
    float corner[4][3] = {};
    auto finishFace = [&] {
        for (auto& c : corner)
            points.emplace(PointKey{c[0], c[1], c[2]}, static_cast<int>(points.size()));
        ++faces;
    };
    while (std::getline(in, code) && std::getline(in, value)) {
        const std::string_view c = Trimmed(code);
        const std::string_view v = Trimmed(value);
        if (c == "0") {
            if (inFace)
                finishFace();
            inFace = v == "3DFACE";
        } else if (inFace && c == "8") {
            layers.emplace(v);
        } else if (inFace && c.size() == 2 && c[0] >= '1' && c[0] <= '3' && c[1] >= '0' &&
                   c[1] <= '3') {
            float f = 0;
            std::from_chars(v.data(), v.data() + v.size(), f);
            corner[c[1] - '0'][c[0] - '1'] = f;
        }
    }
    std::printf("Points: %zu\nLayers: %zu\nFaces: %zu\n", points.size(), layers.size(), faces);
    return 0;
}
