#include "tests/support/dxf_builders.h"

#include <sstream>

std::string Dxf(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs,
                std::string_view eol) {
    std::string text;
    for (const auto& [code, value] : pairs) {
        text += std::string(code) + std::string(eol) + std::string(value) + std::string(eol);
    }
    return text;
}

std::string Face(std::string_view layer, std::initializer_list<std::array<int, 3>> corners) {
    std::ostringstream out;
    out << "0\n3DFACE\n";
    if (!layer.empty()) {
        out << "8\n" << layer << "\n";
    }
    int d = 0;
    for (const auto& c : corners) {
        out << "1" << d << "\n"
            << c[0] << "\n2" << d << "\n"
            << c[1] << "\n3" << d << "\n"
            << c[2] << "\n";
        ++d;
    }
    return out.str();
}

std::string Polyline(std::string_view layer, int flags,
                     std::initializer_list<std::array<int, 3>> vertices) {
    std::ostringstream out;
    out << "0\nPOLYLINE\n8\n" << layer << "\n66\n1\n70\n" << flags << "\n";
    for (const auto& v : vertices) {
        out << "0\nVERTEX\n8\n"
            << layer << "\n10\n"
            << v[0] << "\n20\n"
            << v[1] << "\n30\n"
            << v[2] << "\n";
    }
    out << "0\nSEQEND\n8\n" << layer << "\n";
    return out.str();
}

std::string Polyface(std::string_view layer, const std::string& faceRecords) {
    std::string text = "0\nPOLYLINE\n8\n" + std::string(layer) + "\n66\n1\n70\n64\n71\n4\n72\n1\n";
    const int square[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& v : square) {
        text += "0\nVERTEX\n8\n" + std::string(layer) + "\n10\n" + std::to_string(v[0]) + "\n20\n" +
                std::to_string(v[1]) + "\n30\n0\n70\n192\n";
    }
    return text + faceRecords + "0\nSEQEND\n";
}

std::string FaceRecord(std::initializer_list<std::pair<int, int>> codes) {
    std::string text = "0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n128\n";
    for (const auto& [code, number] : codes) {
        text += std::to_string(code) + "\n" + std::to_string(number) + "\n";
    }
    return text;
}

std::string Section(const std::string& entities) {
    return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

std::string Block(std::string_view name, const std::string& entities) {
    return "0\nBLOCK\n8\n0\n2\n" + std::string(name) + "\n70\n0\n10\n0\n20\n0\n30\n0\n" + entities +
           "0\nENDBLK\n8\n0\n";
}

std::string Insert(std::string_view block, const std::string& pairs) {
    return "0\nINSERT\n8\n0\n2\n" + std::string(block) + "\n10\n0\n20\n0\n30\n0\n" + pairs;
}

std::string Drawing(const std::string& blocks, const std::string& entities) {
    return "0\nSECTION\n2\nBLOCKS\n" + blocks + "0\nENDSEC\n" + Section(entities);
}
