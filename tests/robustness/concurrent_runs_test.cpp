// Plug-in runs at the same moment over one host folder, as two host windows
// or a host and a script make them: real qrhost processes with the real
// modules. The runs take turns with the exchange file, so no import is lost,
// the file always reads back, and an export sees a whole scene.
#include "tests/support/dxf_builders.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_run.h"
#include "tests/support/test_host.h"

#include "import/import_object.h"
#include "scene/scene_document.h"
#include "scene/scene_part.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kQrhost = QR_BINARY_DIR "/bin/qrhost";

class ConcurrentRuns : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(m_logs);
        // No summaries: a run's output is then only what went wrong.
        WriteFile(m_profile, "[Karvel]\nview_info=0\nexport_view_info=0\n");
        CSceneDocument scene;
        auto* base = new CScenePart;
        base->m_strName = "Base";
        scene.m_parts.Add(base);
        m_host.WriteScene(scene);
    }

    // Object i: layer "Layer_i" with i + 1 faces, so every import is told
    // apart by its name and its polygon count.
    fs::path Object(int i) {
        std::string faces;
        for (int f = 0; f <= i; ++f)
            faces += Face("Layer_" + std::to_string(i), {{f, 0, i}, {f + 1, 0, i}, {f, 1, i}});
        const fs::path path = m_host.Scratch() / ("object" + std::to_string(i) + ".dxf");
        WriteFile(path, Section(faces));
        return path;
    }

    std::unique_ptr<CRunningProgram> StartImport(int i, const fs::path& object) {
        return std::make_unique<CRunningProgram>(
            m_logs, "import" + std::to_string(i),
            std::vector<std::string>{kQrhost, "run", "Karvel", "--folder", m_host.Folder(),
                                     "--profile", m_profile, "--open", object});
    }
    std::unique_ptr<CRunningProgram> StartExport(int j, const fs::path& out) {
        return std::make_unique<CRunningProgram>(
            m_logs, "export" + std::to_string(j),
            std::vector<std::string>{kQrhost, "run", "Brask_Export", "--folder", m_host.Folder(),
                                     "--profile", m_profile, "--save", out});
    }

    // Every run ended well and showed no message box (a stop box would say why not).
    static void ExpectQuietSuccess(std::vector<std::unique_ptr<CRunningProgram>>& runs) {
        for (auto& program : runs) {
            const CProgramRun run = program->Wait();
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(run.out, "") << run.err;
        }
    }

    // The scene holds Base and one part per import, each with all its polygons.
    void ExpectEveryImport(int imports) {
        const auto scene = m_host.ReadScene(); // fails the test when it does not read back
        std::map<std::string, int> polygons;
        for (const auto& part : scene->m_parts)
            polygons[part->m_strName] += part->m_polygons.GetSize() + 1000;
        ASSERT_EQ(scene->GetPartCount(), imports + 1);
        EXPECT_EQ(polygons["Base"], 1000);
        for (int i = 0; i < imports; ++i)
            EXPECT_EQ(polygons["Layer_" + std::to_string(i)], 1000 + i + 1) << "import " << i;
    }

    void ImportAtOnce(int imports) {
        std::vector<fs::path> objects;
        for (int i = 0; i < imports; ++i)
            objects.push_back(Object(i));
        std::vector<std::unique_ptr<CRunningProgram>> runs;
        for (int i = 0; i < imports; ++i)
            runs.push_back(StartImport(i, objects[static_cast<std::size_t>(i)]));
        ExpectQuietSuccess(runs);
        ExpectEveryImport(imports);
        EXPECT_EQ(CountFiles(m_host.PluginFolder()), 1u) << "lock or temporary files left";
    }

    CTestHost m_host;
    fs::path m_logs = m_host.Scratch() / "logs";
    fs::path m_profile = m_host.Scratch() / "Quarrion.ini";
};

} // namespace

TEST_F(ConcurrentRuns, TwoImportsAtOnceKeepBothParts) {
    ImportAtOnce(2);
}

TEST_F(ConcurrentRuns, EightImportsAtOnceKeepEveryPart) {
    ImportAtOnce(8);
}

// An export between imports sees the scene before or after each import,
// never half of one: every layer it writes has all its polygons.
TEST_F(ConcurrentRuns, ExportsBesideImportsSeeWholeScenes) {
    constexpr int kImports = 6;
    constexpr int kExports = 3;
    std::vector<fs::path> objects;
    for (int i = 0; i < kImports; ++i)
        objects.push_back(Object(i));
    std::vector<std::unique_ptr<CRunningProgram>> runs;
    std::vector<fs::path> outs;
    for (int i = 0; i < kImports; ++i) {
        runs.push_back(StartImport(i, objects[static_cast<std::size_t>(i)]));
        if (i % 2 == 1) {
            outs.push_back(m_host.Scratch() / ("export" + std::to_string(outs.size()) + ".dxf"));
            runs.push_back(StartExport(static_cast<int>(outs.size()), outs.back()));
        }
    }
    ASSERT_EQ(outs.size(), static_cast<std::size_t>(kExports));
    ExpectQuietSuccess(runs);
    ExpectEveryImport(kImports);

    for (const fs::path& out : outs) {
        CImportObject exported;
        ASSERT_EQ(exported.LoadDxf(out.string()), 5) << exported.m_strError;
        std::map<std::string, int> polygons;
        for (std::size_t p = 0; p < exported.GetPolygonCount(); ++p) {
            const auto surface = static_cast<std::size_t>(exported.GetPolygon(p).m_nSurface);
            ASSERT_GE(surface, 1u);
            ++polygons[exported.GetSurface(surface - 1).m_strName];
        }
        for (const auto& [layer, count] : polygons) {
            ASSERT_EQ(layer.rfind("Layer_", 0), 0u) << layer;
            EXPECT_EQ(count, std::stoi(layer.substr(6)) + 1) << out << " " << layer;
        }
    }
}
