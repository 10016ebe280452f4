// CExportSurface: one surface per converted scene part; it becomes the part's
// DXF layer.
#pragma once

#include <string>
#include <utility>

class CExportSurface {
  public:
    explicit CExportSurface(std::string strName) : m_strName(std::move(strName)) {}
    virtual ~CExportSurface() = default;

    // The name with every character outside A-Z, a-z, 0-9 replaced by "_",
    // byte for byte (a multi-byte UTF-8 character becomes several "_"). The
    // length never changes; an empty name stays empty.
    std::string GetLayerName() const;

    std::string m_strName;
};

// The layer name the writer uses for surface (null gives "") or a part's name: GetLayerName()
// when bRename is exactly 1, else the name as it is except that control bytes
// (below 0x20) become "_", since a line feed or carriage return inside a
// value would break the file's line structure.
std::string ExportLayerName(const CExportSurface* surface, int bRename);
std::string ExportLayerName(const std::string& name, int bRename);
