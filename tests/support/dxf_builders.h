// DXF text for the readers, built in code: group code and value pairs one
// per line, faces, polylines and polyface meshes, and the ENTITIES section.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

// Pairs written one per line each: {"0", "3DFACE"} -> "0\n3DFACE\n".
std::string Dxf(std::initializer_list<std::pair<std::string_view, std::string_view>> pairs,
                std::string_view eol = "\n");

// A 3DFACE with groups 10/20/30, 11/21/31, ... for the corners given; no
// layer group when layer is empty.
std::string Face(std::string_view layer, std::initializer_list<std::array<int, 3>> corners);
// A POLYLINE with its flags (group 70), a VERTEX per point, and SEQEND.
std::string Polyline(std::string_view layer, int flags,
                     std::initializer_list<std::array<int, 3>> vertices);
// A polyface mesh: vertex records 1..4 at the corners of a unit square, then face records.
std::string Polyface(std::string_view layer, const std::string& faceRecords);
// A polyface face record: its (group code, vertex number) pairs.
std::string FaceRecord(std::initializer_list<std::pair<int, int>> codes);

// The entities in an ENTITIES section, then EOF.
std::string Section(const std::string& entities);

// A BLOCK named name with its entities and ENDBLK.
std::string Block(std::string_view name, const std::string& entities);
// An INSERT of block with further pairs as text ("41\n2\n").
std::string Insert(std::string_view block, const std::string& pairs = "");
// A BLOCKS section of the blocks given, then the entities in an ENTITIES section, then EOF.
std::string Drawing(const std::string& blocks, const std::string& entities);
