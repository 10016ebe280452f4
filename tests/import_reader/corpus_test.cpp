// Real files from other producers: every LWOB and DXF sample loads with the counts that an
// independent reader gives (MANIFEST.tsv for LWOB, ezdxf for DXF); the negative samples are
// rejected or read as empty. Skipped when the corpus folder is absent.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "import/import_object.h"
#include "import/object_file.h"

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(QR_SOURCE_DIR) / ".." / "shared" / "corpus";

std::vector<fs::path> FilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// "pts=64 surfs=1 ..." -> the number after key=.
long ManifestValue(const std::string& summary, const std::string& key) {
    std::size_t at = summary.find(" " + key + "=");
    if (at == std::string::npos) {
        return -1;
    }
    return std::strtol(summary.c_str() + at + key.size() + 2, nullptr, 10);
}

std::map<std::string, long> OurPolygonsPerLayer(const CImportObject& object) {
    std::map<std::string, long> counts;
    for (std::size_t i = 0; i < object.GetPolygonCount(); ++i) {
        std::int32_t surface = object.GetPolygon(i).m_nSurface;
        if (surface >= 1 && static_cast<std::size_t>(surface) <= object.GetSurfaceCount()) {
            ++counts[object.GetSurface(static_cast<std::size_t>(surface - 1)).m_strName];
        }
    }
    return counts;
}

// counts: polygons per layer as ezdxf reads and places them (ezdxf_polygons.py).
bool RunEzdxf(const fs::path& file, std::map<std::string, long>& counts, std::string& error) {
    std::string command =
        "/usr/bin/python3 '" +
        (fs::path(QR_SOURCE_DIR) / "tests/import_reader/ezdxf_polygons.py").string() +
        "' counts '" + file.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        error = "popen failed";
        return false;
    }
    char line[4096];
    while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') {
            text.pop_back();
        }
        std::size_t tab = text.find('\t');
        if (tab != std::string::npos) {
            counts[text.substr(tab + 1)] = std::strtol(text.c_str(), nullptr, 10);
        }
    }
    int status = pclose(pipe.release());
    if (status != 0) {
        error = "ezdxf_polygons.py exited with " + std::to_string(status);
        return false;
    }
    return true;
}

bool EzdxfAvailable() {
    return fs::exists("/usr/bin/python3") &&
           std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") == 0;
}

TEST(Corpus, LwobFilesLoadWithTheManifestCounts) {
    if (!fs::exists(kCorpus / "MANIFEST.tsv")) {
        GTEST_SKIP() << "corpus not found at " << kCorpus;
    }
    std::ifstream manifest(kCorpus / "MANIFEST.tsv");
    std::string line;
    int checked = 0;
    while (std::getline(manifest, line)) {
        if (line.rfind("lwo/", 0) != 0) {
            continue;
        }
        std::istringstream fields(line);
        std::string name;
        std::string field;
        std::vector<std::string> columns;
        while (std::getline(fields, field, '\t')) {
            columns.push_back(field);
        }
        ASSERT_GE(columns.size(), 7u);
        name = columns[0];
        const std::string summary = " " + columns[6];
        SCOPED_TRACE(name);
        CImportObject object;
        EXPECT_NE(object.LoadLwo((kCorpus / name).string()), 0) << object.m_strError;
        EXPECT_EQ(static_cast<long>(object.GetPointCount()), ManifestValue(summary, "pts"));
        EXPECT_EQ(static_cast<long>(object.GetSurfaceCount()), ManifestValue(summary, "surfs"));
        EXPECT_EQ(static_cast<long>(object.GetPolygonCount()), ManifestValue(summary, "polys"));
        EXPECT_EQ(object.m_nDroppedPolygons, 0u);
        ++checked;
    }
    EXPECT_EQ(static_cast<std::size_t>(checked), FilesIn(kCorpus / "lwo").size());
}

// A tab-separated field as the manifest writes it: "..." with "" for a quote inside.
std::string Unquoted(const std::string& field) {
    if (field.size() < 2 || field.front() != '"' || field.back() != '"') {
        return field;
    }
    std::string text;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        text += field[i];
        if (field[i] == '"' && field[i + 1] == '"') {
            ++i;
        }
    }
    return text;
}

// The strings of a JSON list of strings, such as ["Back", "Default"].
std::vector<std::string> JsonStrings(const std::string& list) {
    std::vector<std::string> strings;
    bool inside = false;
    std::string current;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!inside) {
            inside = list[i] == '"';
        } else if (list[i] == '\\' && i + 1 < list.size()) {
            current += list[++i];
        } else if (list[i] == '"') {
            strings.push_back(current);
            current.clear();
            inside = false;
        } else {
            current += list[i];
        }
    }
    return strings;
}

TEST(Corpus, LaterFormsLoadWithTheManifestCountsAndNames) {
    const fs::path folder = kCorpus / "lwo2";
    if (!fs::exists(folder / "MANIFEST.tsv")) {
        GTEST_SKIP() << "LWO2/LWO3 corpus not found at " << folder;
    }
    std::ifstream manifest(folder / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);
    ASSERT_EQ(
        line.rfind("file\tform\tpoints\tsurfaces\tpolygons\tskipped\tdropped\tsurface_names\t", 0),
        0u)
        << "the manifest's columns changed: " << line;
    std::size_t checked = 0;
    while (std::getline(manifest, line)) {
        std::vector<std::string> columns;
        std::istringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) {
            columns.push_back(field);
        }
        ASSERT_GE(columns.size(), 8u) << line;
        SCOPED_TRACE(columns[0]);
        CImportObject object;
        ASSERT_NE(object.LoadLwo((folder / columns[0]).string()), 0) << object.m_strError;
        EXPECT_EQ(std::to_string(object.GetPointCount()), columns[2]);
        EXPECT_EQ(std::to_string(object.GetSurfaceCount()), columns[3]);
        EXPECT_EQ(std::to_string(object.GetPolygonCount()), columns[4]);
        EXPECT_EQ(std::to_string(object.m_nSkippedElements), columns[5]);
        EXPECT_EQ(std::to_string(object.m_nDroppedPolygons), columns[6]);
        std::vector<std::string> names;
        for (std::size_t k = 0; k < object.GetSurfaceCount(); ++k) {
            names.push_back(object.GetSurface(k).m_strName);
        }
        EXPECT_EQ(names, JsonStrings(Unquoted(columns[7])));
        ++checked;
    }
    EXPECT_EQ(checked, FilesIn(folder).size() - 1); // every object but the manifest
}

TEST(Corpus, DxfFilesLoadWithEzdxfCountsPerLayer) {
    if (!fs::exists(kCorpus / "dxf")) {
        GTEST_SKIP() << "corpus not found at " << kCorpus;
    }
    if (!EzdxfAvailable()) {
        GTEST_SKIP()
            << "Debian's python3-ezdxf is not installed (/usr/bin/python3 -c 'import ezdxf' fails)";
    }
    for (const fs::path& file : FilesIn(kCorpus / "dxf")) {
        SCOPED_TRACE(file.filename().string());
        CImportObject object;
        ASSERT_EQ(object.LoadDxf(file.string()), 5) << object.m_strError;
        std::map<std::string, long> expected;
        std::string error;
        ASSERT_TRUE(RunEzdxf(file, expected, error)) << error;
        EXPECT_EQ(OurPolygonsPerLayer(object), expected);
    }
}

TEST(Corpus, NegativeFilesRejectedOrEmpty) {
    if (!fs::exists(kCorpus / "negative")) {
        GTEST_SKIP() << "corpus not found at " << kCorpus;
    }
    for (const fs::path& file : FilesIn(kCorpus / "negative")) {
        SCOPED_TRACE(file.filename().string());
        // Both readers, whatever the name says: neither may take anything from these. The one
        // sound LightWave object here has no extension, so the import refuses it by its name.
        CImportObject lwo;
        if (lwo.LoadLwo(file.string()) != 0) {
            EXPECT_EQ(GetObjectExtension(file.string()), "")
                << "only an object without an extension may load";
        } else {
            EXPECT_FALSE(lwo.m_strError.empty());
            EXPECT_EQ(lwo.GetPointCount(), 0u);
        }
        CImportObject dxf;
        int result = dxf.LoadDxf(file.string());
        if (result == 0) {
            EXPECT_FALSE(dxf.m_strError.empty());
        }
        EXPECT_EQ(dxf.GetPolygonCount(), 0u);
        // The binary samples hold lines and a text only: they read, as nothing.
        if (file.extension() == ".dxf" &&
            file.filename().string().find("_bin_") == std::string::npos) {
            EXPECT_EQ(result, 0) << "a non-DXF file must be rejected with a reason";
        }
    }
}

} // namespace
