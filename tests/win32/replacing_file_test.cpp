// CReplacingFile on Windows: a device (NUL) is written to directly or refused, never
// replaced by a file; a folder is refused; a file is still replaced through its temporary.
#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

TEST(ReplacingFile, OnlyFilesOnADiskAreReplaced) {
    const fs::path folder = fs::temp_directory_path() / "qr-replacing-test";
    fs::remove_all(folder);
    fs::create_directories(folder / "sub");
    const struct {
        std::string path;
        NonRegularTarget nonRegular;
        int error; // 0: written
        bool direct;
    } kCases[] = {
        {"NUL", NonRegularTarget::WriteDirectly, 0, true},
        {"NUL", NonRegularTarget::Refuse, EINVAL, false},
        {(folder / "sub").string(), NonRegularTarget::WriteDirectly, EISDIR, false},
        {(folder / "file.dxf").string(), NonRegularTarget::Refuse, 0, false},
    };
    const std::string content = "  0\nEOF\n";
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        CReplacingFile file;
        CStatus status = file.Open(c.path, c.nonRegular);
        EXPECT_EQ(file.IsDirect(), c.direct);
        if (status)
            status = file.Write(content.data(), content.size());
        if (status)
            status = file.Commit();
        EXPECT_EQ(status.GetErrorNumber(), c.error) << status.GetReason();
        EXPECT_EQ(status.IsOk(), c.error == 0);
    }
    // The folder holds the one file written and the sub-folder, no temporary file.
    std::ifstream in(folder / "file.dxf", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), content);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    in.close();
    fs::remove_all(folder);
}
