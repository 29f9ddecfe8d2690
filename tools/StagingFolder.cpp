#include "StagingFolder.h"
#include "platform/HostSystem.h"

#include <random>

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
    // A new name of its own, as mkdtemp makes one: the target's, hidden, and
    // six random letters or digits, until one is not taken.
    std::string kept(1, '.');
    kept.append(platform::host::Utf8Of(m_target.filename()), 0, kKeptNameBytes);
    kept.push_back('.');
    constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = kept;
        for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
        const fs::path path = parent / platform::host::PathOf(name);
        if (fs::create_directory(path, ec)) {
            // Only the author reads it while it is being built.
            fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, ec);
            m_path = path;
            return std::nullopt;
        }
        if (ec) break;
    }
    if (!ec) ec = std::make_error_code(std::errc::file_exists);
    return "cannot make " + m_shown + ": " + ec.message() + " (in " + platform::host::Utf8Of(parent) + ")";
}

std::optional<std::string> StagingFolder::Commit(const fs::path& made) {
    std::error_code ec;
    if (const fs::file_status st = fs::symlink_status(m_target, ec); fs::is_directory(st))
        m_replaced_folder = st.permissions();
    fs::rename(made, m_target, ec);
    if (ec == std::errc::directory_not_empty || ec == std::errc::file_exists)
        return m_shown + " is no longer an empty folder: nothing written there";
    if (ec) return "cannot put " + m_shown + " in place: " + ec.message();
    if (made != m_path) fs::remove(m_path, ec);
    m_committed = true;
    return std::nullopt;
}

void StagingFolder::Withdraw() {
    if (!m_committed) return;
    std::error_code ec;
    fs::remove_all(m_target, ec);
    if (m_replaced_folder && fs::create_directory(m_target, ec))
        fs::permissions(m_target, *m_replaced_folder, fs::perm_options::replace, ec);
    RemoveMadeFolders();
    m_committed = false;
    m_path.clear();
}

}  // namespace automenu::tool
