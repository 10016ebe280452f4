// The exchange file's reader and writer as a fresh process meets them: reads SCENE.qrc
// into a document and writes it to OUT.qrc, timing each and printing MB/s. For
// bench/whole_jobs.sh (the in-process scene_io_bench reuses warm memory).
//
//   exchange_io SCENE.qrc OUT.qrc
#include "scene/archive.h"
#include "scene/exchange_file.h"
#include "scene/scene_document.h"

#include "platform/replacing_file.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: exchange_io SCENE.qrc OUT.qrc\n", stderr);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    struct stat info {};
    const int in = ::open(argv[1], O_RDONLY);
    if (in < 0 || ::fstat(in, &info) != 0) {
        std::perror("exchange_io");
        return 1;
    }
    const double megabytes = static_cast<double>(info.st_size) / 1e6;
    CSceneDocument doc;
    const auto start = Clock::now();
    {
        CArchive ar(in, CArchive::load, argv[1]);
        if (ReadExchangeArchive(doc, ar) != ExchangeStatus::Read)
            return 1;
    }
    const auto read = Clock::now();
    CReplacingFile file;
    if (!file.Open(argv[2]))
        return 1;
    {
        CArchive ar(file.GetDescriptor(), CArchive::store, argv[2]);
        WriteExchangeArchive(doc, ar);
        ar.Flush();
    }
    if (!file.Commit())
        return 1;
    const auto written = Clock::now();
    const double readSeconds = std::chrono::duration<double>(read - start).count();
    const double writeSeconds = std::chrono::duration<double>(written - read).count();
    std::printf("read %.3f s %.0f MB/s\nwrite %.3f s %.0f MB/s\n", readSeconds,
                megabytes / readSeconds, writeSeconds, megabytes / writeSeconds);
    return 0;
}
