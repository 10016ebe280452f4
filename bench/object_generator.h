// Large test objects for the reader benchmarks: LWOB and LWO2 objects of quads over a point
// grid, and a
// text DXF of 3DFACE entities over a shared vertex grid spread over several layers.
#pragma once

#include <cstddef>
#include <string>

// LWOB bytes: a 256 x 256 point grid (16-bit indices reach every point), `polygons` quads
// walking its cells again and again, dealt in turn to `surfaces` surfaces (at most 32767).
std::string MakeLwoObject(std::size_t polygons, int surfaces = 4);

// LWO2 bytes: one layer over a 320 x 320 point grid (102,400 points, so indices from 0xFF00
// on take the four-byte form), `polygons` quads walking its cells, each tagged with a colour
// (PTAG COLR, as real files do) and dealt in turn to `surfaces` surfaces (PTAG SURF).
std::string MakeLwo2Object(std::size_t polygons, int surfaces = 4);

// Text DXF (LF line ends, right-aligned group codes, six decimals as common writers do):
// `faces` four-corner 3DFACE entities over a square grid of shared vertices, on `layers` layers.
std::string MakeDxfObject(std::size_t faces, int layers);
// A DXF drawing of about faces faces made by INSERTs of one 100-face block on layer "0",
// placed on eight layers.
std::string MakeDxfBlocksObject(std::size_t faces);
