#include "tests/support/scratch_folder.h"

#include <stdexcept>
#include <stdlib.h>

namespace fs = std::filesystem;

CScratchFolder::CScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "qr-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a scratch folder from " + pattern);
    m_path = pattern;
}

CScratchFolder::~CScratchFolder() {
    Remove();
}

CScratchFolder::CScratchFolder(CScratchFolder&& other) noexcept : m_path(std::move(other.m_path)) {
    other.m_path.clear();
}

CScratchFolder& CScratchFolder::operator=(CScratchFolder&& other) noexcept {
    if (this != &other) {
        Remove();
        m_path = std::move(other.m_path);
        other.m_path.clear();
    }
    return *this;
}

void CScratchFolder::Remove() noexcept {
    if (m_path.empty())
        return;
    // A folder without write or search permission cannot be emptied; links
    // are not followed, so nothing outside the folder changes.
    std::error_code error;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(m_path, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored) && !it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(m_path, error);
}
