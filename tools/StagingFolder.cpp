#include "StagingFolder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace automenu::tool {

namespace fs = std::filesystem;

namespace {
// Leaves room in the hidden name for the suffix within a file name's 255 bytes.
constexpr std::size_t kKeptNameBytes = 64;
}  // namespace

StagingFolder::StagingFolder(fs::path target, std::string shown)
    : m_target(std::move(target)), m_shown(std::move(shown)) {}

StagingFolder::~StagingFolder() {
    if (m_committed) return;
    std::error_code ec;
    if (!m_path.empty()) fs::remove_all(m_path, ec);
    RemoveMadeFolders();
}

void StagingFolder::RemoveMadeFolders() {
    std::error_code ec;
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) fs::remove(*it, ec);  // only while empty
    m_made.clear();
}

std::optional<std::string> StagingFolder::Make() {
    const fs::path parent = m_target.parent_path();
    std::error_code ec;
    std::vector<fs::path> missing;
    for (fs::path p = parent; !p.empty() && !fs::exists(fs::symlink_status(p, ec)); p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!fs::create_directory(*it, ec) && ec) return "cannot make " + it->string() + ": " + ec.message();
        m_made.push_back(*it);
    }
    std::string name = m_target.filename().string().substr(0, kKeptNameBytes);
    name.insert(name.begin(), '.');
    name.append(".XXXXXX");
    std::string pattern = (parent / name).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return "cannot make " + m_shown + ": " + std::strerror(errno) + " (in " + parent.string() + ")";
    m_path = pattern;
    return std::nullopt;
}

std::optional<std::string> StagingFolder::Commit(const fs::path& made) {
    struct stat st {};
    if (::lstat(m_target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) m_replaced_folder = st.st_mode & 07777;
    if (std::rename(made.c_str(), m_target.c_str()) != 0) {
        const int error = errno;
        if (error == ENOTEMPTY || error == EEXIST)
            return m_shown + " is no longer an empty folder: nothing written there";
        return "cannot put " + m_shown + " in place: " + std::strerror(error);
    }
    std::error_code ec;
    if (made != m_path) fs::remove(m_path, ec);
    m_committed = true;
    return std::nullopt;
}

void StagingFolder::Withdraw() {
    if (!m_committed) return;
    std::error_code ec;
    fs::remove_all(m_target, ec);
    if (m_replaced_folder && ::mkdir(m_target.c_str(), 0700) == 0) ::chmod(m_target.c_str(), *m_replaced_folder);
    RemoveMadeFolders();
    m_committed = false;
    m_path.clear();
}

}  // namespace automenu::tool
