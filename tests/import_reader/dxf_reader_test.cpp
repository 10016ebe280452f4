// The DXF reader: faces, 3-D polylines, polyface meshes, layers, merging and the mended
// faults of a line-matching reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/loaded_object.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(DxfReader, FacesOnTwoLayersShareTheirEdgePoints) {
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, Section(Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                                          Face("B", {{{1, 0, 0}}, {{1, 1, 0}}, {{2, 1, 0}}}))),
              5);
    ASSERT_EQ(object.GetSurfaceCount(), 2u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "A");
    EXPECT_EQ(object.GetSurface(1).m_strName, "B");
    EXPECT_EQ(object.GetPointCount(), 4u);
    EXPECT_EQ(Printed(object),
              "X: 0.000000 Y: 0.000000 Z: 0.000000\nX: 1.000000 Y: 0.000000 Z: 0.000000\n"
              "X: 1.000000 Y: 1.000000 Z: 0.000000\nX: 2.000000 Y: 1.000000 Z: 0.000000\n"
              "A\nB\n"
              "Surf: 1  Pts: 3  (0 1 2 )\nSurf: 2  Pts: 3  (1 2 3 )\n");
}

// DXF's triangle is a face whose fourth corner repeats its third; every other face keeps
// its four corners, repeats included.
TEST(DxfReader, FourthCornerRepeatingTheThirdMakesATriangle) {
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object,
                          Section(Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}, {{1, 1, 0}}}) +
                                  Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}, {{0, 1, 0}}}) +
                                  Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}, {{0, 0, 0}}}) +
                                  Face("A", {{{0, 0, 0}}, {{1, 1, 0}}, {{1, 1, 0}}, {{0, 1, 0}}}) +
                                  Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}))),
              5);
    ASSERT_EQ(object.GetPolygonCount(), 5u);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(Indices(object, 1), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(Indices(object, 2), (std::vector<std::int32_t>{0, 1, 2, 0}));
    EXPECT_EQ(Indices(object, 3), (std::vector<std::int32_t>{0, 2, 2, 3}));
    EXPECT_EQ(Indices(object, 4), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST(DxfReader, MissingLayerIsDefaultAndTwoCornersMakeNoPolygon) {
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, Section(Face("", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                                          Face("Edge", {{{0, 0, 0}}, {{1, 0, 0}}}))),
              5);
    ASSERT_EQ(object.GetSurfaceCount(), 2u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "Default");
    EXPECT_EQ(object.GetSurface(1).m_strName, "Edge");
    EXPECT_EQ(object.GetPolygonCount(), 1u);
}

// Writers leave out a coordinate group that is 0: a corner without z lies at z = 0, as DXF's
// default says; a corner without its x or y ends the corners.
TEST(DxfReader, CornerWithoutZLiesAtZeroAndOneWithoutYEndsTheCorners) {
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, Dxf({{"0", "3DFACE"},
                                       {"8", "L"},
                                       {"10", "0"},
                                       {"20", "0"},
                                       {"30", "2"},
                                       {"11", "1"},
                                       {"21", "0"},
                                       {"12", "1"},
                                       {"22", "1"},
                                       {"13", "0"},
                                       {"33", "5"},
                                       {"0", "EOF"}})),
              5);
    ASSERT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(Printed(object), "X: 0.000000 Y: 0.000000 Z: 2.000000\n"
                               "X: 1.000000 Y: 0.000000 Z: 0.000000\n"
                               "X: 1.000000 Y: 1.000000 Z: 0.000000\nL\n"
                               "Surf: 1  Pts: 3  (0 1 2 )\n");
}

TEST(DxfReader, ThreeDPolylines) {
    CImportObject object;
    ASSERT_EQ(
        LoadDxfText(object, Section(Polyline("Four", 8,
                                             {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}, {{0, 1, 0}}}) +
                                    Polyline("Closed", 9, {{{0, 0, 5}}, {{1, 0, 5}}, {{1, 1, 5}}}) +
                                    Polyline("Two", 8, {{{0, 0, 0}}, {{7, 7, 7}}}))),
        5);
    ASSERT_EQ(object.GetSurfaceCount(), 3u);
    ASSERT_EQ(object.GetPolygonCount(), 2u);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(object.GetPolygon(1).m_nSurface, 2);
    EXPECT_EQ(object.GetPolygon(1).m_nCount, 3);
    // The two-vertex polyline's points are merged in all the same.
    EXPECT_EQ(object.GetPointCount(), 8u);
}

TEST(DxfReader, TwoDPolylinesPassedOver) {
    CImportObject object;
    ASSERT_EQ(
        LoadDxfText(object,
                    Section(Polyline("Flat", 0, {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                            Polyline("FlatClosed", 1, {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}))),
        5);
    EXPECT_EQ(object.GetPointCount(), 0u);
    EXPECT_EQ(object.GetSurfaceCount(), 0u);
    EXPECT_EQ(object.GetPolygonCount(), 0u);
}

TEST(DxfReader, PolyfaceNegativeNumberNamesItsVertex) {
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, Section(Polyface(
                                      "Mesh", FaceRecord({{71, 1}, {72, -2}, {73, 3}, {74, 4}})))),
              5);
    ASSERT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(object.GetSurface(0).m_strName, "Mesh");
}

TEST(DxfReader, PolyfaceZeroAndOutOfRangeNumbersLeftOut) {
    CImportObject object;
    ASSERT_EQ(
        LoadDxfText(object,
                    Section(Polyface("Mesh", FaceRecord({{71, 2}, {72, 0}, {73, 0}}) +
                                                 FaceRecord({{71, 4}, {72, 9}, {73, -3}, {74, 1}}) +
                                                 FaceRecord({{72, 1}, {73, 2}, {74, 3}}) +
                                                 FaceRecord({{71, -2147483647 - 1}})))),
        5);
    ASSERT_EQ(object.GetPolygonCount(), 4u);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{1}));
    EXPECT_EQ(Indices(object, 1), (std::vector<std::int32_t>{3, 2, 0}));
    EXPECT_EQ(Indices(object, 2), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(object.GetPolygon(3).m_nCount, 0);
}

TEST(DxfReader, FacesNumberedBeforePolylines) {
    CImportObject object;
    ASSERT_EQ(
        LoadDxfText(object, Section(Polyline("P", 8, {{{5, 5, 5}}, {{6, 5, 5}}, {{6, 6, 5}}}) +
                                    Face("F", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}))),
        5);
    ASSERT_EQ(object.GetSurfaceCount(), 2u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "F");
    EXPECT_EQ(object.GetSurface(1).m_strName, "P");
    EXPECT_EQ(object.GetPolygon(0).m_nSurface, 1);
    EXPECT_EQ(object.GetPolygon(1).m_nSurface, 2);
    EXPECT_EQ(Indices(object, 0), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST(DxfReader, LineEndsAndLayoutReadAlike) {
    std::string lf = Section(Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                             Polyline("P", 8, {{{5, 5, 5}}, {{6, 5, 5}}, {{6, 6, 5}}}));
    std::string crlf;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    // Right-aligned codes, trailing blanks, no final line end, bytes after EOF.
    std::string padded;
    std::istringstream lines(lf);
    std::string line;
    bool code = true;
    while (std::getline(lines, line)) {
        padded += (code ? "  " + line : line + " \t") + "\n";
        code = !code;
    }
    std::string crcrlf;
    std::string cr;
    for (char c : lf) {
        crcrlf += c == '\n' ? std::string("\r\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
    }
    // A UTF-8 byte-order mark before the first code.
    std::string bom = "\xEF\xBB\xBF" + lf;
    std::string bomCr = "\xEF\xBB\xBF" + cr;
    std::string noFinalEol = lf.substr(0, lf.size() - 1);
    std::string trailing = lf + "\x1a garbage\nnot a code\n";
    std::string withoutEof = lf.substr(0, lf.size() - 6) + "\n \r\n\n";
    CImportObject reference;
    ASSERT_EQ(LoadDxfText(reference, lf), 5);
    ASSERT_EQ(reference.GetPolygonCount(), 2u);
    for (const std::string& text :
         {crlf, crcrlf, cr, bom, bomCr, padded, noFinalEol, trailing, withoutEof}) {
        CImportObject object;
        EXPECT_EQ(LoadDxfText(object, text), 5) << object.m_strError;
        EXPECT_EQ(Printed(object), Printed(reference));
    }
}

// Line ends are searched many bytes at a time where enough bytes remain: lines of every
// length around that stride, and ends near the end of the text, are read whole.
TEST(DxfReader, LinesOfEveryLengthAreReadWhole) {
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(eol[0] == '\r' && eol[1] == 0 ? "CR" : eol[0] == '\r' ? "CR LF" : "LF");
        std::string entities;
        std::vector<std::string> names;
        for (std::size_t length = 1; length <= 40; ++length) {
            std::string name;
            for (std::size_t k = 0; k < length; ++k)
                name += static_cast<char>('a' + (k + length) % 26);
            names.push_back(name);
            entities += Face(name, {{{0, 0, 0}}, {{1, 0, 0}}, {{static_cast<int>(length), 1, 0}}});
        }
        std::string text = Section(entities);
        // With and without the last line end.
        for (std::size_t cut : {text.size(), text.size() - 1}) {
            std::string converted;
            for (char c : text.substr(0, cut))
                converted += c == '\n' ? std::string(eol) : std::string(1, c);
            CImportObject object;
            ASSERT_EQ(LoadDxfText(object, converted), 5) << object.m_strError;
            ASSERT_EQ(object.GetSurfaceCount(), names.size());
            for (std::size_t i = 0; i < names.size(); ++i)
                EXPECT_EQ(object.GetSurface(i).m_strName, names[i]);
            EXPECT_EQ(object.GetPoint(object.GetPointCount() - 1).m_fX, 40.0f);
        }
    }
}

TEST(DxfReader, EntityNamesCountOnlyAsGroupCodeZero) {
    // A line-matching reader starts phantom entities at the layer names and the text value.
    std::string text =
        Section(Face("POLYLINE_001", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                Face("3DFACE layer", {{{0, 0, 1}}, {{1, 0, 1}}, {{1, 1, 1}}}) +
                Dxf({{"0", "TEXT"},
                     {"8", "Notes"},
                     {"1", "3DFACE"},
                     {"10", "9"},
                     {"20", "9"},
                     {"30", "9"},
                     {"11", "8"},
                     {"21", "8"},
                     {"31", "8"},
                     {"12", "7"},
                     {"22", "7"},
                     {"32", "7"}}) +
                Dxf({{"0", "TEXT"}, {"8", "Notes"}, {"1", "VERTEX SEQEND POLYLINE"}, {"70", "8"}}));
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, text), 5);
    ASSERT_EQ(object.GetSurfaceCount(), 2u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "POLYLINE_001");
    EXPECT_EQ(object.GetSurface(1).m_strName, "3DFACE layer");
    EXPECT_EQ(object.GetPolygonCount(), 2u);
    EXPECT_EQ(object.GetPointCount(), 6u);
}

TEST(DxfReader, EntitiesInsideBlocksAreRead) {
    std::string text = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n8\n0\n2\nB\n70\n0\n" +
                       Face("Inside", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                       "0\nENDBLK\n0\nENDSEC\n0\nEOF\n";
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, text), 5);
    EXPECT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(object.GetSurface(0).m_strName, "Inside");
}

// Placements multiply a small file: beyond the limit the file is refused before the memory
// is spent, however the multiplying is spread over grids and levels; a block that places
// itself is skipped, not followed.
TEST(DxfReader, PlacementsBeyondTheLimitAreRefusedAndCyclesSkipped) {
    const std::string face = Face("F", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}});
    const std::string grid = "70\n32767\n71\n32767\n44\n1\n45\n1\n";
    std::string deep = Block("L16", face);
    for (int level = 15; level >= 0; --level) {
        deep += Block("L" + std::to_string(level),
                      Insert("L" + std::to_string(level + 1), "70\n3\n44\n1\n"));
    }
    const struct {
        const char* name;
        std::string text;
        bool refused;
        std::size_t skipped;
    } cases[] = {
        {"a grid of a face", Drawing(Block("B", face), Insert("B", grid)), true, 0},
        {"a grid of an empty block", Drawing(Block("E", ""), Insert("E", grid)), true, 0},
        {"three at every level", Drawing(deep, Insert("L0")), true, 0},
        {"a block placing itself twice",
         Drawing(Block("S", face + Insert("S") + Insert("S", "10\n5\n")), Insert("S")), false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CImportObject object;
        EXPECT_EQ(LoadDxfText(object, c.text), c.refused ? 0 : 5);
        if (c.refused) {
            EXPECT_NE(object.m_strError.find("would place more than 10000000 polygons"),
                      std::string::npos)
                << object.m_strError;
            EXPECT_EQ(object.GetPolygonCount(), 0u);
        } else {
            EXPECT_EQ(object.GetPolygonCount(), 1u);
            EXPECT_EQ(object.m_nSkippedElements, c.skipped);
        }
    }
}

TEST(DxfReader, PolylineWithoutSeqendRunsToTheEnd) {
    std::string text =
        "0\nPOLYLINE\n8\nP\n70\n8\n0\nVERTEX\n10\n1\n20\n2\n0\nVERTEX\n10\n3\n0\nVERTEX\n30\n4.5\n";
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, text), 5);
    ASSERT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(Printed(object),
              "X: 1.000000 Y: 2.000000 Z: 0.000000\nX: 3.000000 Y: 0.000000 Z: 0.000000\n"
              "X: 0.000000 Y: 0.000000 Z: 4.500000\nP\nSurf: 1  Pts: 3  (0 1 2 )\n");
}

// Every prefix of a drawing loads what it holds, and ends early until its 0/EOF pair is
// whole: "EO" or a lone code line "0" is no end.
TEST(DxfReader, EveryPrefixLoadsAndEndsEarlyUntilItsEof) {
    const std::string text =
        Drawing(Block("B", Face("0", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}})),
                Insert("B") + Polyline("P", 8, {{{0, 0, 1}}, {{1, 0, 1}}, {{1, 1, 1}}}));
    const std::size_t whole = text.rfind("0\nEOF") + 5;
    CImportObject full;
    ASSERT_EQ(LoadDxfText(full, text), 5);
    ASSERT_EQ(full.GetPolygonCount(), 2u);
    EXPECT_FALSE(full.m_bEndsEarly);
    for (std::size_t length = 0; length <= text.size(); ++length) {
        SCOPED_TRACE(length);
        CImportObject object;
        ASSERT_EQ(LoadDxfText(object, text.substr(0, length)), 5) << object.m_strError;
        EXPECT_EQ(object.m_bEndsEarly, length < whole);
        EXPECT_LE(object.GetPolygonCount(), full.GetPolygonCount());
    }
}

TEST(DxfReader, NoFixedCapacities) {
    std::string vertices;
    for (int i = 0; i < 12000; ++i) {
        vertices += "0\nVERTEX\n10\n" + std::to_string(i) + "\n20\n0\n30\n0\n";
    }
    CImportObject object;
    ASSERT_EQ(
        LoadDxfText(object, "0\nPOLYLINE\n8\nBig\n70\n8\n" + vertices + "0\nSEQEND\n0\nEOF\n"), 5);
    ASSERT_EQ(object.GetPolygonCount(), 1u);
    EXPECT_EQ(object.GetPolygon(0).m_nCount, 12000);
    EXPECT_EQ(object.GetPolygon(0).m_anIndex[11999], 11999);
}

TEST(DxfReader, RejectsWhatIsNotTextDxf) {
    // A binary file is read, but one cut inside its first pair is damaged where it is cut.
    CImportObject binary;
    EXPECT_EQ(LoadDxfText(binary, std::string("AutoCAD Binary DXF\r\n\x1a\0\0SECTION", 30)), 0);
    EXPECT_NE(binary.m_strError.find("binary DXF, byte offset 22"), std::string::npos)
        << binary.m_strError;

    CImportObject notDxf;
    EXPECT_EQ(
        LoadDxfText(notDxf, Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) + "EXTENTS,1\n0\n"),
        0);
    EXPECT_NE(notDxf.m_strError.find("line 23"), std::string::npos) << notDxf.m_strError;
    EXPECT_EQ(notDxf.GetPolygonCount(), 0u);
    EXPECT_EQ(notDxf.GetSurfaceCount(), 0u);

    CImportObject empty;
    EXPECT_EQ(LoadDxfText(empty, ""), 5);
    EXPECT_EQ(empty.GetSurfaceCount(), 0u);

    // What the user cannot see is shown escaped: here UTF-16 text with its byte-order mark.
    CImportObject wide;
    EXPECT_EQ(LoadDxfText(wide, std::string("\xFF\xFE \0 \0 \0"
                                            "0\0\n\0",
                                            10)),
              0);
    EXPECT_EQ(wide.m_strError,
              "line 1: group code \"\\xFF\\xFE \\x00 \\x00 \\x000\\x00\" is not a number");
    // A CR alone ends no line when the file has LFs.
    CImportObject mixed;
    EXPECT_EQ(LoadDxfText(mixed, "0\rSECTION\n2\nENTITIES\n"), 0);
    EXPECT_EQ(mixed.m_strError, "line 1: group code \"0\\x0DSECTION\" is not a number");
}

TEST(DxfReader, RejectionFromAFileNamesTheFile) {
    CScratchFolder folder;
    const std::string file = folder / "site.dxf";
    WriteFile(file, "\"quoted\"\n");
    CImportObject object;
    EXPECT_EQ(object.LoadDxf(file), 0);
    EXPECT_EQ(object.m_strError,
              "\"" + file + "\": line 1: group code \"\\\"quoted\\\"\" is not a number");
}

TEST(DxfReader, MissingFileReturnsZero) {
    CImportObject object;
    EXPECT_EQ(object.LoadDxf("/nonexistent/folder/site.dxf"), 0);
    EXPECT_FALSE(object.m_strError.empty());
}

TEST(DxfReader, LoadsFromAFile) {
    CScratchFolder folder;
    const std::string file = folder / "site.dxf";
    WriteFile(file, Section(Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}})));
    CImportObject object;
    EXPECT_EQ(object.LoadDxf(file), 5);
    EXPECT_EQ(object.GetPolygonCount(), 1u);
}

TEST(DxfReader, NumbersReadAsInTheCLocale) {
    std::string text = Dxf({{"0", "3DFACE"},
                            {"8", "N"},
                            {"10", "1.5"},
                            {"20", " -2.25e1xyz"},
                            {"30", ".5"},
                            {"11", "1."},
                            {"21", "abc"},
                            {"31", "+3"},
                            {"12", "1,5"},
                            {"22", "0x10"},
                            {"32", "-inf"},
                            {"0", "EOF"}});
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "nl_NL.UTF-8"};
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    bool changed = false;
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            changed = true;
            break;
        }
    }
    CImportObject object;
    int result = LoadDxfText(object, text);
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_EQ(result, 5);
    EXPECT_EQ(Printed(object), "X: 1.500000 Y: -22.500000 Z: 0.500000\n"
                               "X: 1.000000 Y: 0.000000 Z: 3.000000\n"
                               "X: 1.000000 Y: 0.000000 Z: 0.000000\n"
                               "N\nSurf: 1  Pts: 3  (0 1 2 )\n");
    if (!changed) {
        GTEST_SKIP() << "no locale with a decimal comma is installed; read in the C locale only";
    }
}

// Only the leading decimal number counts: hexadecimal and special values are 0, as the
// runtime the format grew up with reads them, and no NaN or infinity enters the object.
TEST(DxfReader, CoordinatesAreDecimalNumbersOnly) {
    std::string text = Dxf({{"0", "3DFACE"},
                            {"8", "N"},
                            {"10", "0x10"},
                            {"20", "inf"},
                            {"30", "nan"},
                            {"11", "-INFINITY"},
                            {"21", "7x0p4"},
                            {"31", "NaN(1)"},
                            {"12", "2e1x"},
                            {"22", "-0x8"},
                            {"32", "3.4028235e38"},
                            {"0", "EOF"}});
    CImportObject object;
    ASSERT_EQ(LoadDxfText(object, text), 5) << object.m_strError;
    ASSERT_EQ(object.GetPointCount(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const CImportPoint& p = object.GetPoint(i);
        EXPECT_TRUE(std::isfinite(p.m_fX) && std::isfinite(p.m_fY) && std::isfinite(p.m_fZ)) << i;
    }
    EXPECT_EQ(object.GetPoint(0).m_fX, 0.0f);
    EXPECT_EQ(object.GetPoint(0).m_fY, 0.0f);
    EXPECT_EQ(object.GetPoint(0).m_fZ, 0.0f);
    EXPECT_EQ(object.GetPoint(1).m_fX, 0.0f);
    EXPECT_EQ(object.GetPoint(1).m_fY, 7.0f);
    EXPECT_EQ(object.GetPoint(1).m_fZ, 0.0f);
    EXPECT_EQ(object.GetPoint(2).m_fX, 20.0f);
    EXPECT_EQ(object.GetPoint(2).m_fY, 0.0f);
    // Just below the halfway point to 2^128: rounds to the largest float.
    EXPECT_EQ(object.GetPoint(2).m_fZ, std::numeric_limits<float>::max());
}

// A value beyond single precision would be an infinity in the scene: the file is damaged,
// and the reason names the value's line, in faces, 3-D polylines and polyface meshes alike.
TEST(DxfReader, CoordinateTooLargeForAFloatRejectsTheFile) {
    struct Case {
        std::string text;
        const char* reason;
    };
    const std::string face = Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}});
    const Case cases[] = {
        {Dxf({{"0", "3DFACE"},
              {"8", "A"},
              {"10", "0"},
              {"20", "1e39"},
              {"30", "0"},
              {"11", "1"},
              {"21", "0"},
              {"31", "0"},
              {"12", "1"},
              {"22", "1"},
              {"32", "0"}}),
         "line 12: the value \"1e39\" is too large for a coordinate"},
        {face + Dxf({{"0", "POLYLINE"},
                     {"8", "P"},
                     {"70", "8"},
                     {"0", "VERTEX"},
                     {"10", "-1e999"},
                     {"0", "SEQEND"}}),
         "line 36: the value \"-1e999\" is too large for a coordinate"},
        {Dxf({{"0", "POLYLINE"},
              {"8", "M"},
              {"70", "64"},
              {"0", "VERTEX"},
              {"10", "0"},
              {"20", "0"},
              {"30", "3.5e38"},
              {"70", "192"},
              {"0", "SEQEND"}}),
         "line 18: the value \"3.5e38\" is too large for a coordinate"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        CImportObject object;
        EXPECT_EQ(LoadDxfText(object, Section(c.text)), 0);
        EXPECT_EQ(object.m_strError, c.reason);
        EXPECT_EQ(object.GetPointCount(), 0u);
        EXPECT_EQ(object.GetSurfaceCount(), 0u);
        EXPECT_EQ(object.GetPolygonCount(), 0u);
    }
}

TEST(DxfReader, AddPointMatchesTheLinearSearch) {
    CImportObject object;
    EXPECT_EQ(object.AddPoint(0.0f, 1.0f, 2.0f), 0);
    EXPECT_EQ(object.AddPoint(-0.0f, 1.0f, 2.0f), 0);
    float nan = std::nanf("");
    EXPECT_EQ(object.AddPoint(nan, 0.0f, 0.0f), 1);
    EXPECT_EQ(object.AddPoint(nan, 0.0f, 0.0f), 2);

    // Many points from a small value set, so most are repeats; past several hash growths.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 30);
    std::vector<CImportPoint> linear(object.GetPoints());
    for (int i = 0; i < 20000; ++i) {
        float x = static_cast<float>(pick(random)) - 15.0f;
        float y = static_cast<float>(pick(random) % 5) * (pick(random) % 2 ? -0.0f : 0.5f);
        float z = pick(random) == 0 ? nan : static_cast<float>(pick(random) % 3);
        std::int32_t expected = -1;
        for (std::size_t k = 0; k < linear.size(); ++k) {
            if (linear[k].m_fX == x && linear[k].m_fY == y && linear[k].m_fZ == z) {
                expected = static_cast<std::int32_t>(k);
                break;
            }
        }
        if (expected < 0) {
            linear.emplace_back(x, y, z);
            expected = static_cast<std::int32_t>(linear.size() - 1);
        }
        ASSERT_EQ(object.AddPoint(x, y, z), expected) << i;
    }
    EXPECT_EQ(object.GetPointCount(), linear.size());
}

// Faces are merged a batch at a time, with the points of faces further on looked up ahead:
// every count of faces below, at and past that distance keeps the file's order of points,
// polygons and surfaces, and a face of two corners or a triangle keeps its own corner count.
TEST(DxfReader, FacesKeepTheirOrderWhateverTheirCount) {
    for (int n = 1; n <= 40; ++n) {
        SCOPED_TRACE(n);
        std::string entities;
        std::vector<std::array<int, 3>> points; // first appearance order, the reference
        std::string polygons;
        for (int i = 0; i < n; ++i) {
            // A strip: face i shares two corners with face i - 1.
            std::vector<std::array<int, 3>> corners = {{i, 0, 0}, {i + 1, 0, 0}, {i + 1, 1, 0}};
            if (i % 4 == 1)
                corners.push_back({i, 1, 0});
            if (i % 4 == 2)
                corners.push_back(corners[2]); // a triangle
            if (i % 4 == 3)
                corners.resize(2); // no polygon
            const std::string layer = "L" + std::to_string(i % 3);
            std::string face = "0\n3DFACE\n8\n" + layer + "\n";
            std::string list;
            for (std::size_t d = 0; d < corners.size(); ++d) {
                for (int axis = 0; axis < 3; ++axis)
                    face += std::to_string(10 * (axis + 1) + static_cast<int>(d)) + "\n" +
                            std::to_string(corners[d][static_cast<std::size_t>(axis)]) + "\n";
                const auto found = std::find(points.begin(), points.end(), corners[d]);
                const auto index = found - points.begin();
                if (found == points.end())
                    points.push_back(corners[d]);
                if (i % 4 != 2 || d < 3)
                    list += std::to_string(index) + " ";
            }
            entities += face;
            if (i % 4 != 3)
                polygons += "Surf: " + std::to_string(i % 3 + 1) +
                            "  Pts: " + std::to_string(i % 4 == 1 ? 4 : 3) + "  (" + list + ")\n";
        }
        CImportObject object;
        ASSERT_EQ(LoadDxfText(object, Section(entities)), 5);
        std::string expected;
        for (const auto& p : points)
            expected += "X: " + std::to_string(p[0]) + ".000000 Y: " + std::to_string(p[1]) +
                        ".000000 Z: " + std::to_string(p[2]) + ".000000\n";
        for (int k = 0; k < std::min(n, 3); ++k)
            expected += "L" + std::to_string(k) + "\n";
        EXPECT_EQ(Printed(object), expected + polygons);
    }
}

TEST(DxfReader, AddSurfaceIsExactAndCaseSensitive) {
    CImportObject object;
    EXPECT_EQ(object.AddSurface("Hull"), 1);
    EXPECT_EQ(object.AddSurface("hull"), 2);
    EXPECT_EQ(object.AddSurface("Deck"), 3);
    EXPECT_EQ(object.AddSurface("Hull"), 1);
    EXPECT_EQ(object.AddSurface("Deck"), 3);
    EXPECT_EQ(object.GetSurfaceCount(), 3u);
}

} // namespace
