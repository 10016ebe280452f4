// make_objects lwo|lwo2 POLYGONS FILE | dxf FACES LAYERS FILE | dxf-blocks FACES FILE: writes a
// large test object.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bench/object_generator.h"

int main(int argc, char** argv) {
    std::string_view kind = argc > 1 ? argv[1] : "";
    std::string bytes;
    const char* path = nullptr;
    if (kind == "lwo" && argc == 4) {
        bytes = MakeLwoObject(std::strtoull(argv[2], nullptr, 10));
        path = argv[3];
    } else if (kind == "lwo2" && argc == 4) {
        bytes = MakeLwo2Object(std::strtoull(argv[2], nullptr, 10));
        path = argv[3];
    } else if (kind == "dxf-blocks" && argc == 4) {
        bytes = MakeDxfBlocksObject(std::strtoull(argv[2], nullptr, 10));
        path = argv[3];
    } else if (kind == "dxf" && argc == 5) {
        bytes = MakeDxfObject(std::strtoull(argv[2], nullptr, 10), std::atoi(argv[3]));
        path = argv[4];
    } else {
        std::fputs(
            "usage: make_objects lwo|lwo2 POLYGONS FILE | make_objects dxf FACES LAYERS FILE |\n"
            "       make_objects dxf-blocks FACES FILE\n",
            stderr);
        return 2;
    }
    std::string temp = std::string(path) + ".tmp";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() ||
        std::fclose(out) != 0) {
        std::fprintf(stderr, "make_objects: cannot write %s\n", temp.c_str());
        return 1;
    }
    if (std::rename(temp.c_str(), path) != 0) {
        std::fprintf(stderr, "make_objects: cannot rename %s to %s\n", temp.c_str(), path);
        return 1;
    }
    return 0;
}
