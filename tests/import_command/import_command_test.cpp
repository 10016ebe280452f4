// The import command: settings, object file choice, merge rules, summary and
// the scene written back, run with an in-memory profile and scripted answers
// over real exchange and object files in a scratch host folder.
#include "import/import_command.h"

#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/lwo_bytes.h"
#include "tests/support/program_run.h"
#include "tests/support/scene_parts.h"
#include "tests/support/test_application.h"
#include "tests/support/test_host.h"

#include "import/import_object.h"
#include "platform/file_lock.h"
#include "scene/scene_document.h"
#include "settings/plugin_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A little object: surface "Hull" holds a rectangle, "Deck" a triangle
// and an L-shaped (concave) hexagon. Point 0 is (1, 2, 3).
std::string HullAndDeckLwo(std::uint32_t hullSurface = 1) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, hullSurface);
    PutPolygon(polygons, {4, 5, 6}, 2);
    PutPolygon(polygons, {7, 8, 9, 10, 11, 12}, 2);
    return AsString(
        Form({Chunk("PNTS", Points({1, 2, 3, 1, 0, 3, 1, 0, 5, 1, 2, 5, // rectangle in x = 1
                                    5, 5, 5, 6, 5, 5, 6, 6, 5,          // triangle
                                    0, 0, 0, 2, 0, 0, 2, 0, 1, 1, 0, 1, // L-hexagon
                                    1, 0, 2, 0, 0, 2})),
              Chunk("SRFS", SurfaceNames({"Hull", "Deck"})), Chunk("POLS", polygons)}));
}

// Objects are written into the host's folder; each run gets a new
// application over the same settings, as each call from the host does.
class ImportCommandTest : public ::testing::Test {
  protected:
    // A new, empty host folder: for cases run in a loop.
    void NewHost() { m_host = CTestHost(); }

    void SetKarvel(const std::string& key, const std::string& value) { m_settings[key] = value; }

    fs::path Object(const std::string& name, const std::string& bytes) {
        WriteFile(Host() / name, bytes);
        return Host() / name;
    }
    fs::path Object(const std::string& name, const ByteVector& bytes) {
        return Object(name, AsString(bytes));
    }

    const fs::path& Host() const { return m_host.Folder(); }
    fs::path ExchangePath() const { return m_host.ExchangePath(); }
    void WriteScene(CSceneDocument& doc) { m_host.WriteScene(doc); }
    std::unique_ptr<CSceneDocument> ReadScene() { return m_host.ReadScene(); }

    // Runs the command; returns the transcript of its message boxes.
    std::string Run(std::deque<std::string> answers, std::optional<std::string> open) {
        CTestApplication app(std::move(answers), std::move(open));
        m_host.NameIn(app.App());
        for (const auto& [key, value] : m_settings)
            app.Profile().Write("Karvel", key, value);
        EXPECT_EQ(RunImportCommand(app.App()), 1);
        return app.Transcript();
    }
    std::string RunOpen(const fs::path& object, std::deque<std::string> answers = {}) {
        return Run(std::move(answers), object.string());
    }

    CTestHost m_host;
    std::map<std::string, std::string> m_settings; // of section [Karvel]
};

// A scene part with one triangle, a position, a material text and a link.
CScenePart* AddPart(CSceneDocument& doc, const std::string& name) {
    auto* part = new CScenePart;
    part->m_strName = name;
    for (double x : {0.0, 1.0, 2.0}) {
        auto* point = new CScenePoint;
        point->Set(x, x * x, 7.0);
        part->AddPoint(point);
    }
    auto* polygon = new CScenePolygon;
    for (int i : {0, 1, 2})
        polygon->AddIndex(i);
    part->AddPolygon(polygon);
    part->m_transform.m_position.Set(10, 20, 30);
    part->m_materials[3].m_strText = name + " paint";
    doc.m_parts.Add(part);
    return part;
}

std::vector<std::int32_t> Corners(const CScenePart& part, int polygon) {
    return part.m_polygons[polygon]->m_indices;
}

std::string Names(const CSceneDocument& doc) {
    std::string names;
    for (const auto& part : doc.m_parts)
        names += part->m_strName + ";";
    return names;
}

constexpr const char* kHullQuestion = "[message icon=question buttons=yesno answer=%s]\n"
                                      "Part with name \"Hull\" already exists. Update this part??\n"
                                      "(Otherweise it import \"Hull\" as a new part)\n"
                                      "[end]\n";

std::string HullQuestion(const char* answer) {
    char text[512];
    std::snprintf(text, sizeof text, kHullQuestion, answer);
    return text;
}

} // namespace

TEST_F(ImportCommandTest, SummaryTextAndPartsWithTheirOwnPoints) {
    SetKarvel(kKeyFlipPoly, "0");
    const auto transcript = RunOpen(Object("boat.lwo", HullAndDeckLwo()));
    EXPECT_EQ(transcript, "[message icon=information buttons=ok]\n"
                          "                   OK - Import was successful\n"
                          "\n"
                          "-- KARVEL INFO "
                          "-------------------------------------------------------------------\n"
                          "\n"
                          "  Points Count: 13\n"
                          "  Polygons Count: 3\n"
                          "  Parts Count: 2\n"
                          "  Updates: 0\n"
                          "\n"
                          "Imported Parts:\n"
                          "  Hull (1)\n"
                          "  Deck (2)  WARNING (concave polygon)\n"
                          "[end]\n");
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Hull;Deck;");
    const CScenePart& hull = *doc->m_parts[0];
    ASSERT_EQ(hull.m_points.GetSize(), 4);
    EXPECT_EQ(Corners(hull, 0), (std::vector<std::int32_t>{0, 1, 2, 3}));
    // LWO axes map unchanged.
    EXPECT_EQ(hull.m_points[0]->m_x, 1.0);
    EXPECT_EQ(hull.m_points[0]->m_y, 2.0);
    EXPECT_EQ(hull.m_points[0]->m_z, 3.0);
    const CScenePart& deck = *doc->m_parts[1];
    ASSERT_EQ(deck.m_points.GetSize(), 9); // only the points its polygons use, renumbered
    EXPECT_EQ(Corners(deck, 0), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(Corners(deck, 1), (std::vector<std::int32_t>{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(deck.m_points[3]->m_x, 0.0);
    EXPECT_EQ(deck.m_points[4]->m_x, 2.0);
    // New parts get fresh ids in order; their derived values are computed.
    EXPECT_EQ(hull.m_nId, 1);
    EXPECT_EQ(deck.m_nId, 2);
    EXPECT_EQ(doc->m_nNextPartId, 3);
    EXPECT_DOUBLE_EQ(deck.m_polygons[0]->m_center.m_x, 17.0 / 3.0);
}

TEST_F(ImportCommandTest, UpdateQuestionAnswers) {
    struct Case {
        const char* name;
        const char* vzdyUpdate;
        std::deque<std::string> answers;
        const char* expectQuestion; // answer shown, or null for no question
        bool updated;
    };
    const Case cases[] = {
        {"ask, yes", "0", {"yes"}, "yes", true},     {"ask, no", "0", {"no"}, "no", false},
        {"always update", "1", {}, nullptr, true},   {"never ask, add", "2", {}, nullptr, false},
        {"negative adds", "-1", {}, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewHost();
        SetKarvel(kKeyFlipPoly, "0");
        SetKarvel(kKeyViewInfo, "0");
        SetKarvel(kKeyVzdyUpdate, c.vzdyUpdate);
        CSceneDocument scene;
        AddPart(scene, "Keel");
        AddPart(scene, "Hull")->m_nLinkId = 0;
        scene.m_parts[1]->m_strLink = "Keel.0";
        WriteScene(scene);

        const auto transcript = Run(c.answers, Object("boat.lwo", HullAndDeckLwo()).string());
        EXPECT_EQ(transcript, c.expectQuestion ? HullQuestion(c.expectQuestion) : "");
        auto doc = ReadScene();
        if (c.updated) {
            ASSERT_EQ(Names(*doc), "Keel;Hull;Deck;");
            const CScenePart& hull = *doc->m_parts[1];
            // Same place, id, position, materials and link; new geometry only.
            EXPECT_EQ(hull.m_nId, 2);
            EXPECT_EQ(hull.m_transform.m_position.m_z, 30.0);
            EXPECT_EQ(hull.m_materials[3].m_strText, "Hull paint");
            EXPECT_EQ(hull.m_nLinkId, 1);
            ASSERT_EQ(hull.m_points.GetSize(), 4);
            EXPECT_EQ(hull.m_points[0]->m_x, 1.0);
            ASSERT_EQ(hull.m_polygons.GetSize(), 1);
            EXPECT_EQ(Corners(hull, 0).size(), 4u);
        } else {
            ASSERT_EQ(Names(*doc), "Keel;Hull;Hull;Deck;");
            EXPECT_EQ(doc->m_parts[1]->m_points.GetSize(), 3); // untouched
            EXPECT_EQ(doc->m_parts[2]->m_points.GetSize(), 4);
            EXPECT_EQ(doc->m_parts[2]->m_nId, 3);
        }
    }
}

TEST_F(ImportCommandTest, UpdateCountInSummary) {
    SetKarvel(kKeyVzdyUpdate, "1");
    CSceneDocument scene;
    AddPart(scene, "Hull");
    WriteScene(scene);
    EXPECT_NE(RunOpen(Object("boat.lwo", HullAndDeckLwo())).find("  Updates: 1\n"),
              std::string::npos);
}

TEST_F(ImportCommandTest, OnlyTheFirstOfTwoSameNamedPartsIsOffered) {
    SetKarvel(kKeyViewInfo, "0");
    CSceneDocument scene;
    AddPart(scene, "Hull");
    AddPart(scene, "Hull");
    WriteScene(scene);
    EXPECT_EQ(RunOpen(Object("boat.lwo", HullAndDeckLwo()), {"yes"}), HullQuestion("yes"));
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Hull;Hull;Deck;");
    EXPECT_EQ(doc->m_parts[0]->m_points.GetSize(), 4);
    EXPECT_EQ(doc->m_parts[1]->m_points.GetSize(), 3);
}

TEST_F(ImportCommandTest, SecondSurfaceOfTheSameNameFindsThePartJustMade) {
    SetKarvel(kKeyViewInfo, "0");
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    PutPolygon(polygons, {1, 2, 3}, 2);
    const auto lwo = Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0})),
                           Chunk("SRFS", SurfaceNames({"Hull", "Hull"})), Chunk("POLS", polygons)});
    EXPECT_EQ(RunOpen(Object("twice.lwo", lwo), {"yes"}), HullQuestion("yes"));
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Hull;");
    EXPECT_EQ(doc->m_parts[0]->m_points.GetSize(), 3);
}

TEST_F(ImportCommandTest, NamesCompareCaseSensitively) {
    SetKarvel(kKeyViewInfo, "0");
    CSceneDocument scene;
    AddPart(scene, "hull");
    WriteScene(scene);
    EXPECT_EQ(RunOpen(Object("boat.lwo", HullAndDeckLwo())), "");
    EXPECT_EQ(Names(*ReadScene()), "hull;Hull;Deck;");
}

TEST_F(ImportCommandTest, ExtensionRulesForTheConfiguredPath) {
    const std::string lwo = HullAndDeckLwo();
    struct Case {
        const char* file;
        bool loads;
    };
    for (const Case c : {Case{"upper.LWO", true}, Case{"short.lw", false},
                         Case{"space.lwo ", false}, Case{"none", false}}) {
        SCOPED_TRACE(c.file);
        NewHost();
        SetKarvel(kKeyUseDefLwo, "1");
        SetKarvel(kKeyDefLwo, Object(c.file, lwo).string());
        const auto transcript = Run({}, std::nullopt);
        if (c.loads) {
            EXPECT_NE(transcript.find("OK - Import was successful"), std::string::npos);
            EXPECT_EQ(ReadScene()->GetPartCount(), 2);
        } else {
            // The fixed text, then why: the name the extension was taken from.
            EXPECT_EQ(transcript, "[message icon=stop buttons=ok]\n"
                                  "ERROR - Wrong LW Object\n\n\"" +
                                      (Host() / c.file).string() +
                                      "\": only .lwo and .dxf files can be imported\n"
                                      "[end]\n");
            EXPECT_EQ(ReadScene()->GetPartCount(), 0);
        }
    }
}

TEST_F(ImportCommandTest, CancelledDialogWritesTheSceneBackUnchanged) {
    CSceneDocument scene;
    AddPart(scene, "Hull");
    WriteScene(scene);
    const std::string before = ReadFile(ExchangePath());
    EXPECT_EQ(Run({}, std::string()), "[message icon=stop buttons=ok]\n"
                                      "ERROR - Wrong LW Object\n"
                                      "[end]\n");
    EXPECT_EQ(ReadFile(ExchangePath()), before);
}

TEST_F(ImportCommandTest, DxfAxesAreSwappedAndTrianglesLoseTheirRepeatedCorner) {
    SetKarvel(kKeyFlipPoly, "0");
    const std::string dxf =
        Section(Face("Roof", {{{1, 2, 3}}, {{4, 5, 6}}, {{7, 8, 9}}, {{7, 8, 9}}}));
    RunOpen(Object("roof.DXF", dxf));
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Roof;");
    const CScenePart& roof = *doc->m_parts[0];
    ASSERT_EQ(roof.m_points.GetSize(), 3);
    EXPECT_EQ(roof.m_points[0]->m_x, 1.0);
    EXPECT_EQ(roof.m_points[0]->m_y, 3.0);
    EXPECT_EQ(roof.m_points[0]->m_z, 2.0);
    EXPECT_EQ(Corners(roof, 0), (std::vector<std::int32_t>{0, 1, 2}));
}

// With the default flip, a triangle kept with its repeated fourth corner would
// start with the repeat and get a zero normal.
TEST_F(ImportCommandTest, FlippedDxfTriangleHasANormal) {
    const std::string dxf =
        Section(Face("Roof", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}, {{1, 1, 0}}}));
    RunOpen(Object("roof.dxf", dxf));
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Roof;");
    const CScenePart& roof = *doc->m_parts[0];
    EXPECT_EQ(Corners(roof, 0), (std::vector<std::int32_t>{2, 1, 0}));
    // DXF's z is the scene's y: the flipped triangle faces down.
    const CSceneNormal& normal = roof.m_polygons[0]->m_normal;
    EXPECT_EQ(normal.m_dUnitX, 0.0);
    EXPECT_EQ(normal.m_dUnitY, -1.0);
    EXPECT_EQ(normal.m_dUnitZ, 0.0);
}

TEST_F(ImportCommandTest, FlipFollowsTheSetting) {
    struct Case {
        const char* flip; // null: key missing
        std::vector<std::int32_t> corners;
    };
    const Case cases[] = {
        {nullptr, {3, 2, 1, 0}}, {"1", {3, 2, 1, 0}}, {"0", {0, 1, 2, 3}}, {"2", {0, 1, 2, 3}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flip ? c.flip : "missing");
        NewHost();
        m_settings.clear();
        if (c.flip)
            SetKarvel(kKeyFlipPoly, c.flip);
        RunOpen(Object("boat.lwo", HullAndDeckLwo()));
        auto doc = ReadScene();
        EXPECT_EQ(Corners(*doc->m_parts[0], 0), c.corners);
    }
}

TEST_F(ImportCommandTest, ConcavityWarningOncePerSurfaceAndNeverForConvexShapes) {
    SetKarvel(kKeyFlipPoly, "0");
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2, 3}, 1);       // square
    PutPolygon(polygons, {0, 1, 2}, 1);          // triangle
    PutPolygon(polygons, {0, 1, 2, 2}, 1);       // quadrilateral repeating a corner
    PutPolygon(polygons, {4, 5, 6, 7, 8, 9}, 2); // L-hexagon
    PutPolygon(polygons, {4, 5, 6, 7, 8, 9}, 2); // and again
    const auto lwo =
        Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 0, 0,
                                    2, 0, 0, 2, 0, 1, 1, 0, 1, 1, 0, 2, 0, 0, 2})),
              Chunk("SRFS", SurfaceNames({"Convex", "Concave"})), Chunk("POLS", polygons)});
    const auto transcript = RunOpen(Object("shapes.lwo", lwo));
    EXPECT_NE(transcript.find("\n  Convex (3)\n  Concave (2)  WARNING (concave polygon)\n[end]"),
              std::string::npos)
        << transcript;
}

TEST_F(ImportCommandTest, SurfaceWithoutPolygonsBecomesAnEmptyPart) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    const auto lwo =
        Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0})),
              Chunk("SRFS", SurfaceNames({"Used", "Unused"})), Chunk("POLS", polygons)});
    EXPECT_NE(RunOpen(Object("one.lwo", lwo)).find("  Unused (0)\n"), std::string::npos);
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Used;Unused;");
    EXPECT_EQ(doc->m_parts[1]->m_points.GetSize(), 0);
    EXPECT_EQ(doc->m_parts[1]->m_polygons.GetSize(), 0);
}

TEST_F(ImportCommandTest, Lwo2LayersAndSurfacesBecomeParts) {
    // Layer 1: a square on "Hull". Layer 2, over its own points: a triangle on "Deck", a
    // square on "Mast", a polygon naming a point the layer lacks, and a curve.
    SetKarvel(kKeyFlipPoly, "0");
    const auto lwo = Form(
        {Chunk("TAGS", SurfaceNames({"DkBlu", "Hull", "Deck", "Mast"})), Layer(0),
         Chunk("PNTS", Points({0, 0, 0, 4, 0, 0, 4, 0, 2, 0, 0, 2})),
         Lwo2Polygons("FACE", {{0, 1, 2, 3}}), PolygonTags("COLR", {{0, 0}}),
         PolygonTags("SURF", {{0, 1}}), Layer(1),
         Chunk("PNTS", Points({1, 1, 1, 2, 1, 1, 1, 2, 1, 3, 0, 0, 3, 5, 0, 3, 5, 1, 3, 0, 1})),
         Lwo2Polygons("FACE", {{0, 1, 2}, {3, 4, 5, 6}, {0, 1, 7}}),
         PolygonTags("SURF", {{0, 2}, {1, 3}, {2, 3}}), Lwo2Polygons("CURV", {{0, 3}})},
        "LWO2");
    const auto transcript = RunOpen(Object("boat.lwo", lwo));
    EXPECT_NE(transcript.find("  Points Count: 11\n"
                              "  Polygons Count: 3\n"
                              "  Parts Count: 3\n"
                              "  Updates: 0\n"
                              "\n"
                              "Imported Parts:\n"
                              "  Hull (1)\n"
                              "  Deck (1)\n"
                              "  Mast (1)\n"
                              "  WARNING (1 invalid polygons skipped)\n"
                              "  WARNING (1 curves, bones or other non-polygon elements skipped)\n"
                              "[end]\n"),
              std::string::npos)
        << transcript;
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Hull;Deck;Mast;");
    const CScenePart& hull = *doc->m_parts[0];
    const CScenePart& deck = *doc->m_parts[1];
    const CScenePart& mast = *doc->m_parts[2];
    EXPECT_EQ(hull.m_points.GetSize(), 4);
    EXPECT_EQ(deck.m_points.GetSize(), 3);
    ASSERT_EQ(mast.m_points.GetSize(), 4);
    EXPECT_EQ(Corners(deck, 0), (std::vector<std::int32_t>{0, 1, 2}));
    EXPECT_EQ(Corners(mast, 0), (std::vector<std::int32_t>{0, 1, 2, 3}));
    // The mast's first corner is layer 2's point 3: (3, 0, 0), axes unchanged.
    EXPECT_EQ(mast.m_points[0]->m_x, 3.0);
    EXPECT_EQ(mast.m_points[1]->m_y, 5.0);
    EXPECT_EQ(deck.m_points[0]->m_z, 1.0);
}

TEST_F(ImportCommandTest, SharedDxfPointsAreCountedOnceInTheSummary) {
    // Two faces on two layers share an edge: 4 distinct points in all.
    const std::string dxf = Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                            Face("B", {{{1, 0, 0}}, {{1, 1, 0}}, {{0, 1, 0}}}) + "0\nEOF\n";
    const auto transcript = RunOpen(Object("two.dxf", dxf));
    EXPECT_NE(transcript.find("  Points Count: 4\n  Polygons Count: 2\n  Parts Count: 2\n"),
              std::string::npos)
        << transcript;
    auto doc = ReadScene();
    EXPECT_EQ(doc->m_parts[0]->m_points.GetSize(), 3);
    EXPECT_EQ(doc->m_parts[1]->m_points.GetSize(), 3);
}

TEST_F(ImportCommandTest, DxfThatCannotBeOpenedIsAnErrorNotASuccess) {
    CSceneDocument scene;
    AddPart(scene, "Hull");
    WriteScene(scene);
    const auto transcript = RunOpen(Host() / "missing.dxf");
    EXPECT_EQ(transcript.rfind("[message icon=stop buttons=ok]\nERROR - Wrong LW Object\n", 0), 0u)
        << transcript;
    EXPECT_EQ(transcript.find("successful"), std::string::npos);
    EXPECT_EQ(Names(*ReadScene()), "Hull;");
}

TEST_F(ImportCommandTest, DxfWithoutGeometryStillGetsTheSummary) {
    const auto transcript = RunOpen(Object("empty.dxf", Section("")));
    EXPECT_NE(transcript.find("  Points Count: 0\n  Polygons Count: 0\n  Parts Count: 0\n"
                              "  Updates: 0\n\nImported Parts:\n[end]"),
              std::string::npos)
        << transcript;
}

TEST_F(ImportCommandTest, PolygonsNamingMissingPointsAreReportedNotImported) {
    ByteVector polygons;
    PutPolygon(polygons, {0, 1, 2}, 1);
    PutPolygon(polygons, {0, 1, 9}, 1); // point 9 does not exist
    const auto lwo = Form({Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0})),
                           Chunk("SRFS", SurfaceNames({"Hull"})), Chunk("POLS", polygons)});
    const auto transcript = RunOpen(Object("bad.lwo", lwo));
    EXPECT_NE(transcript.find("  Polygons Count: 1\n"), std::string::npos);
    EXPECT_NE(transcript.find("  Hull (1)\n  WARNING (1 invalid polygons skipped)\n[end]"),
              std::string::npos)
        << transcript;
    EXPECT_EQ(ReadScene()->m_parts[0]->m_polygons.GetSize(), 1);
}

TEST_F(ImportCommandTest, WrongMagicStopsWithoutDialogOrWrite) {
    const std::string foreign = "\x05qrcad and whatever the host keeps here";
    WriteFile(ExchangePath(), foreign);
    // Only the reader's message: no summary, no error about the object.
    EXPECT_EQ(RunOpen(Object("boat.lwo", HullAndDeckLwo())),
              "[message icon=warning buttons=ok]\nInvalid File Format!\n[end]\n");
    EXPECT_EQ(ReadFile(ExchangePath()), foreign);
}

TEST_F(ImportCommandTest, DamagedExchangeFileIsReportedAndKept) {
    CSceneDocument scene;
    AddPart(scene, "Hull");
    WriteScene(scene);
    std::string bytes = ReadFile(ExchangePath());
    bytes.resize(bytes.size() / 2);
    WriteFile(ExchangePath(), bytes);
    const auto transcript = RunOpen(Object("boat.lwo", HullAndDeckLwo()));
    EXPECT_EQ(transcript.rfind("[message icon=stop buttons=ok]\nThe host's scene could not be "
                               "read from the exchange file",
                               0),
              0u)
        << transcript;
    EXPECT_EQ(ReadFile(ExchangePath()), bytes);
}

TEST_F(ImportCommandTest, MissingExchangeFileGivesANewOneWithTheImportedParts) {
    ASSERT_FALSE(fs::exists(ExchangePath()));
    RunOpen(Object("boat.lwo", HullAndDeckLwo()));
    EXPECT_EQ(Names(*ReadScene()), "Hull;Deck;");
}

// A scene file that is there but cannot be opened is not a missing one:
// importing into an empty scene would replace the host's whole scene.
TEST_F(ImportCommandTest, ExchangeFileThatCannotBeOpenedIsReportedAndNotReplaced) {
    // A link to itself: there, and no user (root included) can open it.
    fs::create_symlink("qrplugin.qrc", ExchangePath());
    const std::string path = ExchangePath().string();
    EXPECT_EQ(RunOpen(Object("boat.lwo", HullAndDeckLwo())),
              "[message icon=stop buttons=ok]\nThe host's scene could not be read from the "
              "exchange file \"" +
                  path + "\":\ncannot open \"" + path +
                  "\": Too many levels of symbolic links\nNothing was imported and the file was "
                  "left unchanged.\n[end]\n");
    EXPECT_TRUE(fs::is_symlink(ExchangePath()));
    EXPECT_EQ(fs::read_symlink(ExchangePath()), "qrplugin.qrc");
}

// With qrplugin.qrc linked to the host's real scene, the import must reach
// that scene, and the link must stay.
TEST_F(ImportCommandTest, ExchangeFileBehindALinkIsWrittenThroughIt) {
    CSceneDocument scene;
    AddPart(scene, "Mast");
    WriteScene(scene);
    fs::create_directory(Host() / "scenes");
    fs::rename(ExchangePath(), Host() / "scenes" / "real.qrc");
    fs::create_symlink("../scenes/real.qrc", ExchangePath());
    RunOpen(Object("boat.lwo", HullAndDeckLwo()));
    EXPECT_TRUE(fs::is_symlink(ExchangePath()));
    EXPECT_EQ(Names(*ReadScene()), "Mast;Hull;Deck;");
    EXPECT_EQ(std::distance(fs::directory_iterator(Host() / "scenes"), {}), 1);
}

// The update as the method states it, step by step, on part: RemovePoint(0)
// once per point, every point of the object, the surface's polygons as they
// are, the concavity test on the first s polygons, RemovePoint for each
// unreferenced point in turn, then the flip. Returns whether the concavity
// warning is due.
bool UpdateLiterally(CScenePart& part, const std::vector<CImportPoint>& points,
                     const std::vector<std::vector<std::int32_t>>& polygons, bool flip) {
    for (int k = part.m_points.GetSize(); k > 0; --k)
        part.RemovePoint(0);
    for (const CImportPoint& p : points) {
        auto* point = new CScenePoint;
        point->Set(p.m_fX, p.m_fY, p.m_fZ);
        part.AddPoint(point);
    }
    for (const auto& corners : polygons) {
        auto* polygon = new CScenePolygon;
        for (std::int32_t index : corners)
            polygon->AddIndex(index);
        part.AddPolygon(polygon);
    }
    bool concave = false;
    for (int t = 0; t < static_cast<int>(polygons.size()) && !concave; ++t)
        concave = part.IsPolygonConcave(t) == 1;
    RemoveUnusedPointsOneByOne(part);
    if (flip)
        part.FlipPolygons();
    return concave;
}

// Updating a part must give what the method gives, whatever the part holds:
// points or none, selected polygons, polygons without corners or with corners
// outside its points, current indices in and out of range.
TEST_F(ImportCommandTest, UpdateMatchesTheStepByStepMethodOnRandomParts) {
    SetKarvel(kKeyVzdyUpdate, "1");
    std::mt19937 random(2026);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const bool flip = below(4) != 0;
        SetKarvel(kKeyFlipPoly, flip ? "1" : "0");

        // The object: points on a small grid (so some polygons are concave),
        // surface 1 "P" and surface 2 "Q".
        const int pointCount = 1 + below(9);
        ByteVector pointData;
        std::vector<CImportPoint> points;
        for (int i = 0; i < pointCount; ++i) {
            CImportPoint p{};
            p.m_fX = static_cast<float>(below(3));
            p.m_fY = static_cast<float>(below(3));
            p.m_fZ = static_cast<float>(below(2));
            points.push_back(p);
            PutF32(pointData, p.m_fX);
            PutF32(pointData, p.m_fY);
            PutF32(pointData, p.m_fZ);
        }
        ByteVector polygonData;
        std::vector<std::vector<std::int32_t>> surfaceP;
        for (int k = below(5); k > 0; --k) {
            std::vector<std::int32_t> corners;
            for (int c = 3 + below(3); c > 0; --c)
                corners.push_back(below(pointCount));
            const int surface = 1 + below(2);
            PutU16(polygonData, static_cast<std::uint32_t>(corners.size()));
            for (std::int32_t corner : corners)
                PutU16(polygonData, static_cast<std::uint32_t>(corner));
            PutU16(polygonData, static_cast<std::uint32_t>(surface));
            if (surface == 1)
                surfaceP.push_back(corners);
        }
        const fs::path object = Object(
            "random.lwo", Form({Chunk("PNTS", pointData), Chunk("SRFS", SurfaceNames({"P", "Q"})),
                                Chunk("POLS", polygonData)}));

        // The scene's part "P": with or without points, odd polygons, any current indices.
        CSceneDocument scene;
        auto* part = new CScenePart;
        part->m_strName = "P";
        const int partPoints = below(3) == 0 ? 0 : below(5);
        for (int i = 0; i < partPoints; ++i) {
            auto* point = new CScenePoint;
            point->Set(10.0 + i, 0.0, 0.0);
            part->AddPoint(point);
        }
        for (int k = below(5); k > 0; --k) {
            auto* polygon = new CScenePolygon;
            for (int c = below(4); c > 0; --c)
                polygon->m_indices.push_back(below(14) - 2);
            polygon->m_bSelected = below(3) == 0 ? 1 : 0;
            part->AddPolygon(polygon);
        }
        part->m_nCurPoint = below(8) - 1;
        part->m_nCurPolygon = below(8) - 1;
        scene.m_parts.Add(part);
        WriteScene(scene);

        auto expected = ReadScene();
        CScenePart& literal = *expected->m_parts[0];
        const bool concave = UpdateLiterally(literal, points, surfaceP, flip);

        const std::string transcript = RunOpen(object);
        auto actual = ReadScene();
        ASSERT_EQ(Names(*actual), "P;Q;");
        ExpectSameGeometry(*actual->m_parts[0], literal);
        const std::string line = "\n  P (" + std::to_string(surfaceP.size()) + ")";
        EXPECT_NE(transcript.find(line + (concave ? "  WARNING" : "\n")), std::string::npos)
            << transcript;
    }
}

TEST_F(ImportCommandTest, SettingsAreReadInOrderAfterTheScene) {
    CTestApplication app({}, std::string());
    m_host.NameIn(app.App());
    RunImportCommand(app.App());
    std::vector<std::string> keys;
    for (const auto& [section, key] : app.Profile().GetReads())
        if (section == "Karvel")
            keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"def_lwo", "use_def_lwo", "vzdy_update", "view_info",
                                              "flip_poly"}));
}

// End to end: qrhost loads the real Karvel module, answers from its command line.
TEST_F(ImportCommandTest, QrhostRunsTheImportWithScriptedAnswers) {
    const fs::path profile = Host() / "profile.ini";
    WriteFile(profile, "[Karvel]\nflip_poly=0\n");
    CSceneDocument scene;
    AddPart(scene, "Hull");
    WriteScene(scene);
    const fs::path object = Object("boat.lwo", HullAndDeckLwo());
    const CProgramRun run =
        RunProgram(Host(), {QR_BINARY_DIR "/bin/qrhost", "run", "Karvel", "--profile", profile,
                            "--folder", Host(), "--open", object, "--answer", "yes"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string& transcript = run.out;
    EXPECT_EQ(transcript.rfind(HullQuestion("yes"), 0), 0u) << transcript;
    EXPECT_NE(transcript.find("  Updates: 1\n"), std::string::npos);
    EXPECT_NE(run.err.find("returned 1"), std::string::npos);
    auto doc = ReadScene();
    ASSERT_EQ(Names(*doc), "Hull;Deck;");
    EXPECT_EQ(Corners(*doc->m_parts[0], 0), (std::vector<std::int32_t>{0, 1, 2, 3}));
}

namespace {

// The stop box of a run that found the scene held by another run all along.
std::string SceneBusyBox(const fs::path& exchange, const std::string& consequence) {
    return "[message icon=stop buttons=ok]\nThe exchange file \"" + exchange.string() +
           "\" is in use: another run of a plug-in holds it, and it was still holding it after "
           "0.1 seconds.\n" +
           consequence + "\n[end]\n";
}

} // namespace

// Another run between this one's read and write would be written over: while
// one holds the scene, a second run waits, then stops without a dialog or a write.
TEST_F(ImportCommandTest, SceneHeldByAnotherRunStopsTheImportWritingNothing) {
#ifndef QR_TEST_HOOKS
    GTEST_SKIP() << "needs QR_TEST_HOOKS to shorten the lock's wait";
#endif
    CSceneDocument scene;
    AddPart(scene, "Hull");
    WriteScene(scene);
    const std::string before = ReadFile(ExchangePath());
    CFileLock other;
    ASSERT_TRUE(other.Lock(ExchangePath().string() + ".lock", std::chrono::milliseconds(0)));
    ::setenv("QR_TEST_LOCK_WAIT_MS", "100", 1);
    const std::string transcript = RunOpen(Object("boat.lwo", HullAndDeckLwo()));
    ::unsetenv("QR_TEST_LOCK_WAIT_MS");
    EXPECT_EQ(transcript, SceneBusyBox(ExchangePath(), "Nothing was imported and the file was "
                                                       "left unchanged."));
    EXPECT_EQ(ReadFile(ExchangePath()), before);

    // Once the other run is done, the same import goes through, and leaves no lock file.
    other.Unlock();
    RunOpen(Object("boat.lwo", HullAndDeckLwo()));
    EXPECT_EQ(Names(*ReadScene()), "Hull;Hull;Deck;");
    EXPECT_EQ(CountFiles(m_host.PluginFolder()), 1u);
}

namespace {

// text up to where marker (the n-th from 1) starts, plus extra bytes of it.
std::string CutAt(const std::string& text, std::string_view marker, int n = 1,
                  std::size_t extra = 0) {
    std::size_t at = std::string::npos;
    for (int i = 0; i < n; ++i)
        at = text.find(marker, at + 1);
    return text.substr(0, at + extra);
}

} // namespace

// A file that ends before its own end mark still imports what it holds, with one warning
// line last, and qrhost inspect says the same on standard error; a whole file gets neither.
TEST_F(ImportCommandTest, FilesCutShortImportWhatTheyHoldAndSaySo) {
    const std::string dxf =
        Section(Face("A", {{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}}) +
                Polyline("P", 8, {{{0, 0, 1}}, {{1, 0, 1}}, {{1, 1, 1}}, {{0, 1, 1}}}));
    const ByteVector ptag = PolygonTags("SURF", {{0, 0}, {1, 1}});
    std::vector<ByteVector> chunks{Chunk("TAGS", SurfaceNames({"Hull", "Deck"})), Layer(0),
                                   Chunk("PNTS", Points({0, 0, 0, 1, 0, 0, 1, 1, 0, //
                                                         5, 0, 0, 6, 0, 0, 6, 1, 0})),
                                   Lwo2Polygons("FACE", {{0, 1, 2}, {3, 4, 5}}), ptag};
    const ByteVector lwo = Form(chunks, "LWO2");
    chunks.push_back(Chunk("DESC", ByteVector(7, 'x'))); // odd: a pad byte follows
    const ByteVector padded = Form(chunks, "LWO2");
    struct Case {
        const char* name;
        std::string file;
        std::string bytes;
        std::string parts; // the lines after "Imported Parts:"
        bool cut;
    };
    const std::string warning = std::string("\n  WARNING (") + kEndsEarlyText + ")";
    const Case cases[] = {
        {"whole DXF", "whole.dxf", dxf, "\n  A (1)\n  P (1)", false},
        {"DXF before EOF", "eof.dxf", CutAt(dxf, "0\nEOF"), "\n  A (1)\n  P (1)" + warning, true},
        {"DXF within its section", "section.dxf", CutAt(dxf, "0\nENDSEC"),
         "\n  A (1)\n  P (1)" + warning, true},
        // Inside the POLYLINE, after the group code of its fourth VERTEX: three corners.
        {"DXF inside an entity", "entity.dxf", CutAt(dxf, "0\nVERTEX", 4, 2),
         "\n  A (1)\n  P (1)" + warning, true},
        {"whole LWO", "whole.lwo", AsString(lwo), "\n  Hull (1)\n  Deck (1)", false},
        {"LWO without its last pad byte", "pad.lwo", AsString(CutForm(padded, padded.size() - 1)),
         "\n  Hull (1)\n  Deck (1)", false},
        // Without the PTAG chunk no polygon has a surface of its own.
        {"LWO after POLS", "pols.lwo", AsString(CutForm(lwo, lwo.size() - ptag.size())),
         "\n  Default (2)" + warning, true},
        {"LWO inside POLS", "inside.lwo", AsString(CutForm(lwo, lwo.size() - ptag.size() - 3)),
         "\n  Default (1)" + warning, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewHost();
        const fs::path object = Object(c.file, c.bytes);
        const std::string transcript = RunOpen(object);
        EXPECT_NE(transcript.find("\nImported Parts:" + c.parts + "\n[end]\n"), std::string::npos)
            << transcript;
        const CProgramRun inspect =
            RunProgram(Host(), {QR_BINARY_DIR "/bin/qrhost", "inspect", "--summary", object});
        EXPECT_EQ(inspect.exitCode, 0) << inspect.err;
        EXPECT_EQ(inspect.err.find(std::string("qrhost inspect: ") + kEndsEarlyText + "\n") !=
                      std::string::npos,
                  c.cut)
            << inspect.err;
    }
}
