#include "SourceTree.h"

#include <algorithm>
#include <map>

#include "ResolvedPath.h"
#include "base/AsciiCase.h"
#include "formats/TextDecoding.h"
#include "platform/HostSystem.h"

namespace automenu::tool {

namespace fs = std::filesystem;

namespace {

// The lower-case letter of the upper-case letters Windows' case table folds
// in the scripts authors name files in most.
char32_t FoldCodePoint(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(FoldAsciiCase(static_cast<char>(c)));
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // Latin-1, not "×"
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;                                        // "Ÿ"
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;      // Greek
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 0x25;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 0x3F;
    if (c == 0x3C2) return 0x3C3;                     // final sigma: Windows upper-cases it to "Σ" too
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;  // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

// A path as given to --keep or --leave-out, as the tree names it.
std::string Normal(const std::string& path) {
    const std::u8string generic = platform::host::PathOf(path).lexically_normal().generic_u8string();
    std::string normal(generic.begin(), generic.end());
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

}  // namespace

std::string FoldNameCase(std::string_view name) {
    std::string folded;
    for (std::size_t pos = 0; pos < name.size();) {
        char32_t c = 0;
        const std::size_t length = DecodeUtf8(name, pos, c);
        if (length == 0) {
            folded += name[pos++];
            continue;
        }
        AppendUtf8(folded, FoldCodePoint(c));
        pos += length;
    }
    return folded;
}

SourceTree::SourceTree(fs::path root, std::string shown, SourceRules rules)
    : m_root(std::move(root)), m_shown(std::move(shown)), m_rules(std::move(rules)) {
    while (m_shown.size() > 1 && m_shown.back() == '/') m_shown.pop_back();
    for (std::vector<std::string>* list : {&m_rules.keep, &m_rules.leave_out})
        for (std::string& path : *list) path = Normal(path);
    m_added.insert(m_rules.added.begin(), m_rules.added.end());
    Read(m_root, "");
    for (const auto& [list, option] : {std::pair{&m_rules.keep, "--keep "}, {&m_rules.leave_out, "--leave-out "}}) {
        for (const std::string& path : *list)
            if (!m_used.contains(path)) m_problems.push_back(option + path + ": " + m_shown + " has no " + path);
    }
}

const SourceEntry* SourceTree::TopEntryIgnoringCase(std::string_view name) const {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const SourceEntry& entry) {
        return entry.path.find('/') == std::string::npos && EqualsIgnoringCase(entry.path, name);
    });
    return it == m_entries.end() ? nullptr : &*it;
}

bool SourceTree::Listed(const std::vector<std::string>& list, const std::string& path) {
    if (std::find(list.begin(), list.end(), path) == list.end()) return false;
    m_used.insert(path);
    return true;
}

void SourceTree::Read(const fs::path& folder, const std::string& relative) {
    std::error_code ec;
    std::vector<Name> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back({platform::host::Utf8Of(it->path().filename())});
    if (ec) {
        m_problems.push_back((relative.empty() ? m_shown : Shown(relative)) + " cannot be read: " + ec.message());
        return;
    }
    std::erase_if(names, [&](const Name& n) {
        const std::string path = Join(relative, n.name);
        Listed(m_rules.keep, path);
        if (!Listed(m_rules.leave_out, path)) return false;
        m_notes.push_back(path + ": left off the medium (--leave-out)");
        return true;
    });
    if (relative.empty()) {
        for (const std::string& name : m_rules.added) names.push_back({name, true});
    }
    for (const Name& n : WithoutCollisions(std::move(names), relative)) {
        if (!n.tool) Add(folder / platform::host::PathOf(n.name), Join(relative, n.name));
    }
}

std::vector<SourceTree::Name> SourceTree::WithoutCollisions(std::vector<Name> names, const std::string& relative) {
    std::map<std::string, std::vector<Name>> groups;
    for (Name& n : names) groups[FoldNameCase(n.name)].push_back(std::move(n));
    std::vector<Name> kept;
    for (auto& [folded, group] : groups) {
        std::sort(group.begin(), group.end(), [](const Name& a, const Name& b) { return a.name < b.name; });
        if (group.size() == 1) {
            kept.push_back(group.front());
            continue;
        }
        const auto chosen = std::find_if(group.begin(), group.end(), [&](const Name& n) {
            return !n.tool && std::find(m_rules.keep.begin(), m_rules.keep.end(), Join(relative, n.name)) !=
                                  m_rules.keep.end();
        });
        if (chosen == group.end()) {
            std::string names_text;
            for (std::size_t i = 0; i < group.size(); ++i) {
                names_text += i == 0 ? "" : i + 1 == group.size() ? " and " : ", ";
                names_text += group[i].tool ? group[i].name + " (added by pack)" : Shown(Join(relative, group[i].name));
            }
            m_problems.push_back(names_text + " are one name on a medium: FAT, Joliet and Windows do not tell "
                                              "upper from lower case");
            m_collisions = true;
            // Read on, so that what lies within is reported too.
            for (const Name& n : group)
                if (!n.tool) kept.push_back(n);
            continue;
        }
        for (auto n_it = group.begin(); n_it != group.end(); ++n_it) {
            const Name& n = *n_it;
            if (n_it == chosen) continue;
            const std::string path = Join(relative, chosen->name);
            if (n.tool) {
                m_added.erase(n.name);
                m_notes.push_back(path + ": the author's, on the medium in place of the " + n.name +
                                  " pack adds (--keep)");
            } else {
                m_notes.push_back(Join(relative, n.name) + ": left off the medium, " + path + " goes on (--keep)");
            }
        }
        kept.push_back(*chosen);
    }
    std::sort(kept.begin(), kept.end(), [](const Name& a, const Name& b) { return a.name < b.name; });
    return kept;
}

void SourceTree::Add(const fs::path& from, const std::string& path) {
    const auto problem = [&](const std::string& what) { m_problems.push_back(Shown(path) + " " + what); };
    std::error_code ec;
    fs::file_status st = fs::symlink_status(from, ec);
    if (ec) return problem("cannot be read: " + ec.message());
    if (fs::is_symlink(st)) {
        st = fs::status(from, ec);
        if (ec == std::errc::too_many_symbolic_link_levels) return problem("is a link in a loop of links");
        if (st.type() == fs::file_type::not_found || ec == std::errc::no_such_file_or_directory ||
            ec == std::errc::not_a_directory)
            return problem("is a link to nothing");
        if (ec) return problem("cannot be read: " + ec.message());
        if (fs::is_directory(st)) return problem("is a link to a folder: put the folder itself there");
        const fs::path target = fs::canonical(from, ec);
        if (ec) return problem("cannot be read: " + ec.message());
        if (fs::is_regular_file(st) && !Within(target, m_root)) {
            if (!m_rules.follow_links) {
                return problem("is a link to " + platform::host::Utf8Of(target) + ", outside " + m_shown +
                               ": give --follow-links to put the file it names on the medium");
            }
            m_notes.push_back(path + ": a link out of " + m_shown + "; the medium gets a copy of " + platform::host::Utf8Of(target) +
                              " (--follow-links)");
        }
    }
    if (fs::is_directory(st)) {
        m_entries.push_back({path, from, true, false});
        Read(from, path);
        return;
    }
    if (!fs::is_regular_file(st)) return problem("is not a file or folder");
    m_entries.push_back({path, from, false, (st.permissions() & fs::perms::owner_exec) != fs::perms::none});
}

}  // namespace automenu::tool
