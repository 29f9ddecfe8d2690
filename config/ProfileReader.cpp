#include "config/ProfileReader.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <span>
#include <type_traits>
#include <utility>

#include "formats/TextDecoding.h"
#include "platform/posix/PosixFiles.h"

namespace automenu {

using platform::FileReadStatus;
using platform::PosixReadFile;

// Compacted records, written over the file's own bytes (never longer than the
// line they come from, except one unit for a last line without line end):
//   section header:        CR name LF
//   key line with "=":     name NUL value LF
//   key line without "=":  name LF
// Names and values can hold neither CR, LF nor NUL (a NUL cuts them), so the
// markers are unambiguous. UTF-16 records are stored as little-endian units.

namespace {

constexpr std::uint32_t kNul = 0x00;
constexpr std::uint32_t kLf = 0x0A;
constexpr std::uint32_t kCr = 0x0D;

// A slot holds its record's unit offset in the low 25 bits (records lie below
// 2^24 + 2 units) and seven more bits of the name's hash above them, so most
// slots of other names are passed over without reading the store.
constexpr std::uint32_t kRecordBits = 25;
constexpr std::uint32_t kRecordMask = (1u << kRecordBits) - 1;
constexpr std::uint32_t kEmptyRecord = kRecordMask;
constexpr std::uint32_t kLeadingSection = kRecordMask - 1;  // id of the unnamed section before any header
constexpr std::uint32_t kUnreachable = kRecordMask - 2;     // id of a repeated section
constexpr std::uint32_t kNoSection = kRecordMask - 3;       // a section asked for that the file lacks
constexpr std::uint32_t kSectionOwner = 0xFFFFFFFFu;
static_assert(ProfileReader::kMaxFileBytes + 2 < kNoSection);

constexpr std::uint32_t Tag(std::uint32_t hash) { return hash << kRecordBits; }

constexpr bool IsLineEnd(std::uint32_t u) { return u == kCr || u == kLf; }
constexpr bool IsBlank(std::uint32_t u) { return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20; }
constexpr std::uint32_t Fold(std::uint32_t u) { return (u >= 'A' && u <= 'Z') ? u + ('a' - 'A') : u; }

// Byte names are hashed and compared eight bytes at a time, folded to lower
// case in one step: a byte gets 0x20 added when it lies in 'A'..'Z'.
std::uint64_t FoldWord(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    const std::uint64_t low7 = x & ~kHigh;
    const std::uint64_t above_z = low7 + (0x7F - 'Z') * kOnes;  // high bit set when > 'Z'
    const std::uint64_t from_a = low7 + (0x80 - 'A') * kOnes;   // high bit set when >= 'A'
    const std::uint64_t upper = ~x & (from_a ^ above_z) & kHigh;
    return x | (upper >> 2);
}

std::uint64_t LoadWord(const unsigned char* p, std::size_t n) {
    std::uint64_t w = 0;
    std::memcpy(&w, p, n);
    return w;
}

// Every record of a file within the cap is indexed, so a file could pile its
// names into one probe chain if it could predict the hash: the hash starts
// from a seed chosen at random once per process.
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

std::uint32_t FinishHash(std::uint64_t h) {
    h *= kHashMul;
    h ^= h >> 29;
    return static_cast<std::uint32_t>(h >> 16);
}

std::uint32_t HashBytes(const unsigned char* p, std::size_t n) {
    std::uint64_t h = HashSeed() ^ (n * 0x9E3779B97F4A7C15ull);
    for (; n >= 8; p += 8, n -= 8) h = MixWord(h, FoldWord(LoadWord(p, 8)));
    if (n != 0) h = MixWord(h, FoldWord(LoadWord(p, n)));
    return FinishHash(h);
}

bool EqualBytesFolded(const unsigned char* a, const unsigned char* b, std::size_t n) {
    for (; n >= 8; a += 8, b += 8, n -= 8)
        if (FoldWord(LoadWord(a, 8)) != FoldWord(LoadWord(b, 8))) return false;
    return n == 0 || FoldWord(LoadWord(a, n)) == FoldWord(LoadWord(b, n));
}

// Views of the store as a sequence of units. The views over `unsigned char`
// also write (while compacting); those over `const unsigned char` only read.
template <typename Byte>
struct ByteUnitsOf {
    Byte* data;
    std::uint32_t operator[](std::size_t i) const { return data[i]; }
    void Put(std::size_t i, std::uint32_t u) const { data[i] = static_cast<unsigned char>(u); }
    std::size_t Find(std::size_t from, std::size_t to, std::uint32_t u) const {
        const void* hit = std::memchr(data + from, static_cast<int>(u), to - from);
        return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data) : to;
    }
};

// Reads UTF-16 in either byte order; writes little-endian.
template <bool kBigEndian, typename Byte>
struct Utf16UnitsOf {
    Byte* data;
    std::uint32_t operator[](std::size_t i) const {
        const unsigned char a = data[2 * i];
        const unsigned char b = data[2 * i + 1];
        return kBigEndian ? (std::uint32_t{a} << 8 | b) : (std::uint32_t{b} << 8 | a);
    }
    void Put(std::size_t i, std::uint32_t u) const {
        data[2 * i] = static_cast<unsigned char>(u & 0xFF);
        data[2 * i + 1] = static_cast<unsigned char>(u >> 8);
    }
    std::size_t Find(std::size_t from, std::size_t to, std::uint32_t u) const {
        for (std::size_t i = from; i < to; ++i)
            if ((*this)[i] == u) return i;
        return to;
    }
};

using ByteUnits = ByteUnitsOf<const unsigned char>;
using Utf16Units = Utf16UnitsOf<false, const unsigned char>;  // the stored records
using WritableByteUnits = ByteUnitsOf<unsigned char>;
using WritableUtf16LeUnits = Utf16UnitsOf<false, unsigned char>;
using WritableUtf16BeUnits = Utf16UnitsOf<true, unsigned char>;

// A name asked for, seen as units like those of the store.
struct Char16Units {
    const char16_t* data;
    std::uint32_t operator[](std::size_t i) const { return data[i]; }
};
ByteUnits QueryUnits(std::string_view q) { return {reinterpret_cast<const unsigned char*>(q.data())}; }
Char16Units QueryUnits(const std::u16string& q) { return {q.data()}; }

template <typename Units>
void TrimRange(const Units& u, std::size_t& begin, std::size_t& end) {
    while (begin < end && IsBlank(u[begin])) ++begin;
    while (end > begin && IsBlank(u[end - 1])) --end;
}

// A NUL ends a name or value: what follows it is dropped.
template <typename Units>
std::size_t CutAtNul(const Units& u, std::size_t begin, std::size_t end) {
    return u.Find(begin, end, kNul);
}

template <typename Units>
std::uint32_t HashUnits(const Units& u, std::size_t begin, std::size_t end) {
    if constexpr (std::is_same_v<Units, ByteUnits>) {
        return HashBytes(u.data + begin, end - begin);
    } else {
        std::uint64_t h = HashSeed() ^ ((end - begin) * 0x9E3779B97F4A7C15ull);
        for (std::size_t i = begin; i < end; ++i) h = MixWord(h, Fold(u[i]));
        return FinishHash(h);
    }
}

template <typename Query>
std::uint32_t HashQuery(const Query& q) {
    return HashUnits(QueryUnits(q), 0, q.size());
}

std::uint32_t KeyHash(std::uint32_t name_hash, std::uint32_t section_id) {
    return FinishHash(MixWord(HashSeed() ^ name_hash, section_id));
}

// Whether units [a_begin, a_end) of `a` and [b_begin, b_end) of `b` are the
// same name.
template <typename UnitsA, typename UnitsB>
bool NamesEqual(const UnitsA& a, std::size_t a_begin, std::size_t a_end, const UnitsB& b, std::size_t b_begin,
                std::size_t b_end) {
    const std::size_t n = a_end - a_begin;
    if (n != b_end - b_begin) return false;
    if constexpr (std::is_same_v<UnitsA, ByteUnits> && std::is_same_v<UnitsB, ByteUnits>)
        return EqualBytesFolded(a.data + a_begin, b.data + b_begin, n);
    for (std::size_t i = 0; i < n; ++i)
        if (Fold(a[a_begin + i]) != Fold(b[b_begin + i])) return false;
    return true;
}

template <typename Units, typename Query>
bool NameIs(const Units& u, std::size_t begin, std::size_t end, const Query& q) {
    return NamesEqual(u, begin, end, QueryUnits(q), 0, q.size());
}

// Whether the name that starts at `pos` is the query: the query's length is
// tried first, so a mismatch costs no scan of the name.
template <typename Units, typename Query>
bool RecordNameIs(const Units& u, std::size_t pos, std::size_t count, const Query& q) {
    const std::size_t end = pos + q.size();
    if (end >= count || (u[end] != kNul && u[end] != kLf)) return false;
    return NameIs(u, pos, end, q);
}

struct Record {
    bool is_section = false;
    bool has_value = false;
    std::size_t name_begin = 0;
    std::size_t name_end = 0;
    std::size_t value_begin = 0;
    std::size_t value_end = 0;
    std::size_t next = 0;
};

// The key record at `pos` whose name ends at `name_end`.
template <typename Units>
Record KeyRecord(const Units& u, std::size_t pos, std::size_t name_end, std::size_t count) {
    Record r;
    r.name_begin = pos;
    r.name_end = name_end;
    std::size_t i = name_end;
    if (u[i] == kNul) {
        r.has_value = true;
        r.value_begin = i + 1;
        r.value_end = u.Find(i + 1, count, kLf);
        i = r.value_end;
    }
    r.next = i + 1;
    return r;
}

// Every record ends in LF, so the searches stop inside the records.
template <typename Units>
Record ReadRecord(const Units& u, std::size_t pos, std::size_t count) {
    if (u[pos] == kCr) {
        Record r;
        r.is_section = true;
        r.name_begin = pos + 1;
        r.name_end = u.Find(pos + 1, count, kLf);
        r.next = r.name_end + 1;
        return r;
    }
    std::size_t name_end = pos;
    while (u[name_end] != kNul && u[name_end] != kLf) ++name_end;
    return KeyRecord(u, pos, name_end, count);
}

// The slot of `hash` and `owner` whose record `matches`, or else the empty
// slot where the search ended. The table is never full. The high bits of the
// hash choose the first slot; the low ones are the tag kept in the slot.
template <typename Slots, typename Matches>
std::size_t Probe(const Slots& index, std::uint32_t hash, std::uint32_t owner, const Matches& matches) {
    const std::size_t size = index.size();
    std::size_t i = static_cast<std::size_t>((std::uint64_t{hash} * size) >> 32);
    const std::uint32_t tag = Tag(hash);
    for (; (index[i].entry & kRecordMask) != kEmptyRecord; i = i + 1 == size ? 0 : i + 1) {
        const auto& slot = index[i];
        if (slot.owner == owner && (slot.entry & ~kRecordMask) == tag && matches(slot.entry & kRecordMask)) break;
    }
    return i;
}

// A query name as the API receives it: a C string, trimmed of blanks.
std::string_view TrimQuery(std::string_view q) {
    const std::size_t nul = q.find('\0');
    if (nul != std::string_view::npos) q = q.substr(0, nul);
    while (!q.empty() && IsBlank(static_cast<unsigned char>(q.front()))) q.remove_prefix(1);
    while (!q.empty() && IsBlank(static_cast<unsigned char>(q.back()))) q.remove_suffix(1);
    return q;
}

// UTF-8 to UTF-16, for names asked of a UTF-16 file. A byte that does not
// start a valid sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        char32_t cp = static_cast<unsigned char>(s[i]);
        std::size_t len = cp < 0x80 ? 1 : DecodeUtf8(s, i, cp);
        if (len == 0) {
            cp = 0xFFFD;
            len = 1;
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

constexpr std::size_t kSlackBytes = 2;  // room for the line end of a last line without one

}  // namespace

template <typename Units>
void ProfileReader::Compact(std::size_t begin, std::size_t end) {
    const Units u{reinterpret_cast<unsigned char*>(m_store.data())};
    m_recordCount = 0;
    std::size_t w = 0;
    // Copies forward; the destination never passes the source.
    auto copy = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) u.Put(w++, u[i]);
    };
    std::size_t r = begin;
    while (r < end) {
        if (IsLineEnd(u[r])) {
            ++r;
            continue;
        }
        std::size_t a = r;
        while (r < end && !IsLineEnd(u[r])) ++r;
        std::size_t b = r;
        TrimRange(u, a, b);
        if (a == b) continue;

        if (u[a] == '[') {
            std::size_t close = b;
            while (close > a + 1 && u[close - 1] != ']') --close;
            if (close > a + 1) {
                std::size_t name_begin = a + 1;
                std::size_t name_end = close - 1;
                TrimRange(u, name_begin, name_end);
                name_end = CutAtNul(u, name_begin, name_end);
                u.Put(w++, kCr);
                copy(name_begin, name_end);
                u.Put(w++, kLf);
                ++m_recordCount;
                continue;
            }
            // No "]": an ordinary key line.
        }

        const std::size_t eq = u.Find(a, b, '=');
        if (eq == b) {
            copy(a, CutAtNul(u, a, b));
            u.Put(w++, kLf);
            ++m_recordCount;
            continue;
        }
        std::size_t name_end = eq;
        while (name_end > a && IsBlank(u[name_end - 1])) --name_end;
        std::size_t value_begin = eq + 1;
        std::size_t value_end = b;
        while (value_begin < value_end && IsBlank(u[value_begin])) ++value_begin;
        // The platform cuts at the NUL first: a quote after it does not count.
        value_end = CutAtNul(u, value_begin, value_end);
        if (value_end - value_begin >= 2) {
            const std::uint32_t q = u[value_begin];
            if ((q == '"' || q == '\'') && u[value_end - 1] == q) {
                ++value_begin;
                --value_end;
            }
        }
        name_end = CutAtNul(u, a, name_end);
        copy(a, name_end);
        u.Put(w++, kNul);
        copy(value_begin, value_end);
        u.Put(w++, kLf);
        ++m_recordCount;
    }
    m_unitCount = w;
}

template <typename Units>
void ProfileReader::BuildIndex(const Units& u) {
    const std::size_t records = m_recordCount;
    if (records == 0) return;
    // Load at most two thirds: 8 bytes a slot, 12 bytes a record once all
    // are in. The table starts small and grows with the names kept, so that
    // a file of one line repeated millions of times keeps a small index.
    const std::size_t most_slots = records + records / 2 + 2;
    m_index.assign(std::min<std::size_t>(most_slots, 1024), Slot{0, kEmptyRecord});
    std::size_t kept = 0;

    // The hash a slot was filed under, from the name of its record.
    auto slot_hash = [&](const Slot& slot) {
        const std::uint32_t record = slot.entry & kRecordMask;
        if (record == kLeadingSection) return HashUnits(u, 0, 0);
        const Record r = ReadRecord(u, record, m_unitCount);
        const std::uint32_t name_hash = HashUnits(u, r.name_begin, r.name_end);
        return slot.owner == kSectionOwner ? name_hash : KeyHash(name_hash, slot.owner);
    };
    auto grow = [&] {
        const std::vector<Slot> old =
            std::exchange(m_index, std::vector<Slot>(std::min(2 * m_index.size(), most_slots), Slot{0, kEmptyRecord}));
        for (const Slot& slot : old)
            if ((slot.entry & kRecordMask) != kEmptyRecord)
                m_index[Probe(m_index, slot_hash(slot), slot.owner, [](std::uint32_t) { return false; })] = slot;
    };

    // Adds a slot for the record unless its owner has one of that name: the
    // first section of a name, and the first line of a key, win. So a file
    // of one key repeated a million times indexes one key.
    auto insert = [&](std::uint32_t hash, std::uint32_t owner, const Record& r, std::uint32_t record) {
        const std::size_t length = r.name_end - r.name_begin;
        Slot& slot = m_index[Probe(m_index, hash, owner, [&](std::uint32_t other) {
            if (other == kLeadingSection) return length == 0;
            const std::size_t begin = owner == kSectionOwner ? other + 1 : other;
            const std::size_t end = begin + length;
            return end < m_unitCount && (u[end] == kNul || u[end] == kLf) &&
                   NamesEqual(u, begin, end, u, r.name_begin, r.name_end);
        })];
        if ((slot.entry & kRecordMask) != kEmptyRecord) return false;
        slot = Slot{owner, Tag(hash) | record};
        if (3 * ++kept >= 2 * m_index.size() && m_index.size() < most_slots) grow();
        return true;
    };

    // The unnamed section exists even without lines: a header named "" only
    // repeats it.
    std::uint32_t section = kLeadingSection;
    insert(HashUnits(u, 0, 0), kSectionOwner, Record{}, kLeadingSection);
    for (std::size_t pos = 0; pos < m_unitCount;) {
        const Record r = ReadRecord(u, pos, m_unitCount);
        const std::uint32_t name_hash = HashUnits(u, r.name_begin, r.name_end);
        const auto record = static_cast<std::uint32_t>(pos);
        if (r.is_section)
            section = insert(name_hash, kSectionOwner, r, record) ? record : kUnreachable;
        else if (section != kUnreachable)
            insert(KeyHash(name_hash, section), section, r, record);
        pos = r.next;
    }
}

template <typename Units, typename Query>
std::optional<std::string> ProfileReader::FindIn(const Units& u, std::string_view section_text, const Query& section,
                                                 const Query& key) const {
    if (!m_memoValid || m_memoSection != section_text) {
        auto is_section = [&](std::uint32_t other) {
            return other == kLeadingSection ? section.size() == 0 : RecordNameIs(u, other + 1, m_unitCount, section);
        };
        const std::uint32_t entry = m_index[Probe(m_index, HashQuery(section), kSectionOwner, is_section)].entry;
        m_memoSectionId = (entry & kRecordMask) == kEmptyRecord ? kNoSection : entry & kRecordMask;
        m_memoSection.assign(section_text);
        m_memoValid = true;
    }
    const std::uint32_t section_id = m_memoSectionId;
    if (section_id == kNoSection) return std::nullopt;
    auto is_key = [&](std::uint32_t other) { return RecordNameIs(u, other, m_unitCount, key); };
    const std::uint32_t record =
        m_index[Probe(m_index, KeyHash(HashQuery(key), section_id), section_id, is_key)].entry & kRecordMask;
    if (record == kEmptyRecord) return std::nullopt;
    const Record found = KeyRecord(u, record, record + key.size(), m_unitCount);
    if (!found.has_value) return std::nullopt;

    if (m_encoding == Encoding::Bytes || m_encoding == Encoding::Utf8) {
        const char* value = m_store.data() + found.value_begin;
        const std::size_t size = found.value_end - found.value_begin;
        std::size_t kept = std::min(size, kMaxValueBytes);
        // Decoded text is cut before the character that would not fit.
        if (m_encoding == Encoding::Utf8 && kept < size)
            while (kept > 0 && (static_cast<unsigned char>(value[kept]) & 0xC0) == 0x80) --kept;
        return std::string(value, kept);
    }
    const std::string_view units(m_store.data() + 2 * found.value_begin, 2 * (found.value_end - found.value_begin));
    return Utf16ToUtf8(units, false, kMaxValueBytes, U'?');
}

ProfileReader ProfileReader::FromBytes(std::string bytes) {
    ProfileReader reader;
    reader.m_hasFile = true;
    if (bytes.size() > kMaxFileBytes) bytes.resize(kMaxFileBytes);
    const std::size_t size = bytes.size();
    auto starts_with = [&](std::string_view mark) { return std::string_view(bytes).substr(0, mark.size()) == mark; };
    if (starts_with("\xEF\xBB\xBF")) {
        reader.m_encoding = Encoding::Utf8;
    } else if (starts_with("\xFF\xFE")) {
        reader.m_encoding = Encoding::Utf16Le;
    } else if (starts_with("\xFE\xFF")) {
        reader.m_encoding = Encoding::Utf16Be;
    }
    if (bytes.capacity() < size + kSlackBytes) {
        // Growing in place could double the buffer; copy into one of exact size.
        std::string exact;
        exact.reserve(size + kSlackBytes);
        exact.append(bytes);
        bytes.swap(exact);
    }
    bytes.resize(size + kSlackBytes);
    reader.m_store = std::move(bytes);

    switch (reader.m_encoding) {
    case Encoding::Bytes:
        reader.Compact<WritableByteUnits>(0, size);
        break;
    case Encoding::Utf8: {
        // As the platform's conversion: what is not UTF-8 becomes "?".
        const std::size_t end = 3 + ReplaceInvalidUtf8(std::span<char>(reader.m_store).subspan(3, size - 3), '?');
        reader.Compact<WritableByteUnits>(3, end);
        break;
    }
    case Encoding::Utf16Le:
        reader.Compact<WritableUtf16LeUnits>(1, size / 2);
        break;
    case Encoding::Utf16Be:
        reader.Compact<WritableUtf16BeUnits>(1, size / 2);
        break;
    }
    const bool wide = reader.m_encoding == Encoding::Utf16Le || reader.m_encoding == Encoding::Utf16Be;
    reader.m_store.resize(reader.m_unitCount * (wide ? 2 : 1));
    const auto* data = reinterpret_cast<const unsigned char*>(reader.m_store.data());
    if (wide) {
        reader.BuildIndex(Utf16Units{data});
    } else {
        reader.BuildIndex(ByteUnits{data});
    }
    return reader;
}

#ifndef _WIN32
// (The Windows program reads the file through the system's profile API.)
ProfileReader ProfileReader::FromFile(const std::string& path) {
    std::string bytes;
    if (PosixReadFile(path, kMaxFileBytes, bytes, kSlackBytes) == FileReadStatus::CannotOpen) return ProfileReader();
    return FromBytes(std::move(bytes));
}
#endif

std::optional<std::string> ProfileReader::Find(std::string_view section, std::string_view key) const {
    if (!m_hasFile || m_unitCount == 0) return std::nullopt;
    section = TrimQuery(section);
    key = TrimQuery(key);
    // No name holds a line end. Such a query could otherwise match a name and
    // the start of the next record, which lie next to each other in the store.
    if (section.find_first_of("\r\n") != std::string_view::npos || key.find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt;
    const auto* data = reinterpret_cast<const unsigned char*>(m_store.data());
    if (m_encoding == Encoding::Bytes || m_encoding == Encoding::Utf8) return FindIn(ByteUnits{data}, section, section, key);
    return FindIn(Utf16Units{data}, section, Utf8ToUtf16(section), Utf8ToUtf16(key));
}

std::string ProfileReader::GetString(std::string_view section, std::string_view key,
                                     std::string_view default_text) const {
    std::optional<std::string> value = Find(section, key);
    if (value) return std::move(*value);
    return std::string(default_text);
}

std::size_t ProfileReader::StorageBytes() const {
    return m_store.capacity() + m_index.capacity() * sizeof(Slot);
}

}  // namespace automenu
