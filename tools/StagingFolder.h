// A result that appears whole or not at all: it is built in a folder made
// beside its place under a hidden name, then renamed onto its place in one
// step. Unless committed, the folder goes with all it holds, and so do the
// folders made on the way to it; a rerun finds the place as it was.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace automenu::tool {

class StagingFolder {
public:
    // `target` is resolved; messages name it `shown`.
    StagingFolder(std::filesystem::path target, std::string shown);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Makes the folder, and the missing folders above the target. The
    // problem when it cannot.
    std::optional<std::string> Make();
    const std::filesystem::path& Path() const { return m_path; }

    // Renames `made` (the folder itself, or something in it) onto the target:
    // a name not there, an empty folder, or a file, which is replaced.
    std::optional<std::string> Commit(const std::filesystem::path& made);
    // Removes the committed result again, when a later step of what it
    // belongs to failed; an empty folder it replaced is made again.
    void Withdraw();

private:
    void RemoveMadeFolders();

    std::filesystem::path m_target;
    std::string m_shown;
    std::filesystem::path m_path;
    std::vector<std::filesystem::path> m_made;  // folders above the target, outermost first
    bool m_committed = false;
    std::optional<std::filesystem::perms> m_replaced_folder;  // the mode of the empty folder committed onto
};

}  // namespace automenu::tool
