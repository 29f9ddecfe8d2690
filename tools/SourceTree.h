// The author's folder as it will go on a medium: every file and folder, what
// each is copied from, and all that stops it going on a medium as it is: a
// link out of the folder, to nothing or in a loop, a device or pipe, a folder
// that cannot be read, and names a medium cannot tell apart.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace automenu::tool {

// A name as FAT, Joliet and Windows compare names: case folded in ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic ("Ä" is "ä"); other bytes as
// they are.
std::string FoldNameCase(std::string_view name);

struct SourceEntry {
    std::string path;            // within the folder, "/" between names
    std::filesystem::path from;  // the entry in the author's folder
    bool folder = false;
    bool runnable = false;  // the author's file is executable
};

struct SourceRules {
    std::vector<std::string> added;      // names pack puts beside the author's files at the top
    std::vector<std::string> keep;       // of names one in another case, the one that goes on
    std::vector<std::string> leave_out;  // never go on
    bool follow_links = false;           // a link out of the folder: copy the file it names
};

class SourceTree {
public:
    // Reads the folder `root` (resolved); messages name it `shown`.
    SourceTree(std::filesystem::path root, std::string shown, SourceRules rules);

    // What goes on the medium, in byte order, each folder before what it holds.
    const std::vector<SourceEntry>& Entries() const { return m_entries; }
    // What stops the pack: every one found, not only the first.
    const std::vector<std::string>& Problems() const { return m_problems; }
    // What the author is told: files left off, links followed.
    const std::vector<std::string>& Notes() const { return m_notes; }
    // Whether pack still adds `name` (no --keep put the author's in its place).
    bool Adds(std::string_view name) const { return m_added.contains(std::string(name)); }
    // Whether some of the problems are names a medium cannot tell apart.
    bool HasCollisions() const { return m_collisions; }
    // The top-level entry whose name is `name` ignoring ASCII case.
    const SourceEntry* TopEntryIgnoringCase(std::string_view name) const;

private:
    struct Name {
        std::string name;
        bool tool = false;  // one pack adds
    };
    void Read(const std::filesystem::path& folder, const std::string& relative);
    std::vector<Name> WithoutCollisions(std::vector<Name> names, const std::string& relative);
    void Add(const std::filesystem::path& from, const std::string& path);
    std::string Shown(const std::string& path) const { return m_shown + "/" + path; }
    bool Listed(const std::vector<std::string>& list, const std::string& path);

    std::filesystem::path m_root;
    std::string m_shown;
    SourceRules m_rules;
    std::set<std::string> m_added;
    std::set<std::string> m_used;  // paths of --keep and --leave-out met
    std::vector<SourceEntry> m_entries;
    std::vector<std::string> m_problems;
    std::vector<std::string> m_notes;
    bool m_collisions = false;
};

}  // namespace automenu::tool
