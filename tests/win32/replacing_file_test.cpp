// CReplacingFile on Windows: a device (NUL) is written to directly or refused, never
// replaced by a file, and a folder is refused.
#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

TEST(ReplacingFile, DevicesAreWrittenDirectlyAndFoldersRefused) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const struct {
        std::string path;
        NonRegularTarget nonRegular;
        int error; // 0: written
    } kCases[] = {
        {"NUL", NonRegularTarget::WriteDirectly, 0},
        {"NUL", NonRegularTarget::Refuse, EINVAL},
        {folder, NonRegularTarget::WriteDirectly, EISDIR},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.path);
        CReplacingFile file;
        CStatus status = file.Open(c.path, c.nonRegular);
        EXPECT_EQ(file.IsDirect(), c.error == 0);
        if (status)
            status = file.Write("  0\nEOF\n", 8);
        if (status)
            status = file.Commit();
        EXPECT_EQ(status.GetErrorNumber(), c.error) << status.GetReason();
    }
}
