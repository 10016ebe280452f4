// The DXF file the export writes, written out independently of the writer:
// CR LF line ends, group codes right-aligned in three characters, a layer
// table entry per layer, and the entities in the ENTITIES section.
#pragma once

#include <string>
#include <vector>

// "\n" -> "\r\n", so golden texts can be written with "\n".
std::string Crlf(const std::string& text);

// The whole file for a scene without parts: every section, a layer table of none.
extern const std::string kEmptyDxf;

// One entry of the LAYER table.
std::string ExportedLayer(const std::string& name);
// The whole file: the layers' table, then the entity texts as given.
std::string ExportedDxf(const std::vector<std::string>& layers, const std::string& entities);
