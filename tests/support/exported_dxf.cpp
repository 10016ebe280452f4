#include "tests/support/exported_dxf.h"

const std::string kEmptyDxf =
    "  0\r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nENDSEC\r\n"
    "  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n 70\r\n0\r\n"
    "  0\r\nENDTAB\r\n  0\r\nENDSEC\r\n"
    "  0\r\nSECTION\r\n  2\r\nBLOCKS\r\n  0\r\nENDSEC\r\n"
    "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
    "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

std::string Crlf(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '\n')
            out += '\r';
        out += ch;
    }
    return out;
}

std::string ExportedLayer(const std::string& name) {
    return Crlf("  0\nLAYER\n  2\n" + name + "\n 70\n    64\n 62\n     7\n  6\nCONTINUOUS\n");
}

std::string ExportedDxf(const std::vector<std::string>& layers, const std::string& entities) {
    std::string text = Crlf("  0\nSECTION\n  2\nHEADER\n  0\nENDSEC\n"
                            "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n 70\n") +
                       std::to_string(layers.size()) + "\r\n";
    for (const auto& layer : layers)
        text += ExportedLayer(layer);
    text += Crlf("  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nBLOCKS\n  0\nENDSEC\n"
                 "  0\nSECTION\n  2\nENTITIES\n");
    return text + entities + Crlf("  0\nENDSEC\n  0\nEOF\n");
}
