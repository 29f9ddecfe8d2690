#include "formats/IniIndex.h"

#include <cstring>
#include <random>

namespace automenu {

namespace {

// Names are hashed and compared eight bytes at a time, folded to lower case
// in one step: a byte gets 0x20 added when it lies in 'A'..'Z'.
std::uint64_t FoldWord(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    const std::uint64_t low7 = x & ~kHigh;
    const std::uint64_t above_z = low7 + (0x7F - 'Z') * kOnes;  // high bit set when > 'Z'
    const std::uint64_t from_a = low7 + (0x80 - 'A') * kOnes;   // high bit set when >= 'A'
    const std::uint64_t upper = ~x & (from_a ^ above_z) & kHigh;
    return x | (upper >> 2);
}

std::uint64_t LoadWord(const char* p, std::size_t n) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    return w;
}

std::uint64_t HashSeed() {
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }();
    return seed;
}

constexpr std::uint64_t kHashMul = 0xFF51AFD7ED558CCDull;

std::uint64_t MixWord(std::uint64_t h, std::uint64_t word) {
    h = (h ^ word) * kHashMul;
    return h ^ (h >> 32);
}

// The bytes a node of a map takes: its value, the link to the next node, the
// hash kept with it (libstdc++ keeps it for a hash that is not noexcept) and
// the allocator's header, rounded up as glibc's allocator does.
template <typename Map>
std::size_t NodeBytes() {
    const std::size_t bytes = sizeof(typename Map::value_type) + sizeof(void*) + 2 * sizeof(std::size_t);
    return (bytes + 15) / 16 * 16;
}

template <typename Map>
std::size_t MapBytes(const Map& map) {
    return map.size() * NodeBytes<Map>() + map.bucket_count() * sizeof(void*);
}

}  // namespace

std::size_t IniIndex::FoldedHash::operator()(std::string_view name) const {
    const char* p = name.data();
    std::size_t n = name.size();
    std::uint64_t h = HashSeed() ^ (n * 0x9E3779B97F4A7C15ull);
    for (; n >= 8; p += 8, n -= 8) h = MixWord(h, FoldWord(LoadWord(p, 8)));
    if (n != 0) h = MixWord(h, FoldWord(LoadWord(p, n)));
    h *= kHashMul;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

bool IniIndex::FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    const char* x = a.data();
    const char* y = b.data();
    std::size_t n = a.size();
    for (; n >= 8; x += 8, y += 8, n -= 8)
        if (FoldWord(LoadWord(x, 8)) != FoldWord(LoadWord(y, 8))) return false;
    return n == 0 || FoldWord(LoadWord(x, n)) == FoldWord(LoadWord(y, n));
}

std::size_t IniIndex::KeyHash::operator()(const KeyName& k) const {
    return FoldedHash{}(k.name) ^ (k.section * 0x9E3779B97F4A7C15ull);
}

bool IniIndex::KeyEqual::operator()(const KeyName& a, const KeyName& b) const {
    return a.section == b.section && FoldedEqual{}(a.name, b.name);
}

std::pair<IniIndex::Section*, bool> IniIndex::AddSection(std::string_view name, std::uint32_t line) {
    const auto id = static_cast<std::uint32_t>(m_sections.size());
    auto [it, added] = m_sections.try_emplace(name, Section{line, 0, id});
    return {&it->second, added};
}

std::pair<const IniKeyEntry*, bool> IniIndex::AddKey(const Section& section, std::string_view name,
                                                     const IniKeyEntry& entry) {
    auto [it, added] = m_keys.try_emplace(KeyName{section.id, name}, entry);
    return {&it->second, added};
}

const IniIndex::Section* IniIndex::FindSection(std::string_view name) const {
    const auto it = m_sections.find(name);
    return it == m_sections.end() ? nullptr : &it->second;
}

const IniKeyEntry* IniIndex::FindKey(std::string_view section, std::string_view key) const {
    const Section* s = FindSection(section);
    return s ? FindKey(*s, key) : nullptr;
}

const IniKeyEntry* IniIndex::FindKey(const Section& section, std::string_view key) const {
    const auto it = m_keys.find(KeyName{section.id, key});
    return it == m_keys.end() ? nullptr : &it->second;
}

void IniIndex::Reserve(std::size_t lines) { m_keys.reserve(lines); }

std::size_t IniIndex::StorageBytes() const { return MapBytes(m_sections) + MapBytes(m_keys); }

}  // namespace automenu
