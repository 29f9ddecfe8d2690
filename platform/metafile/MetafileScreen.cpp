#include "platform/metafile/MetafileScreen.h"

#include <algorithm>

#include "formats/ByteReader.h"
#include "platform/metafile/MetafileDC.h"
#include "platform/metafile/MetafileRecordPlayers.h"

namespace automenu::platform {

namespace {

constexpr std::size_t kEmfBaseHeaderSize = 88;
constexpr std::size_t kWmfHeaderSize = 18;

class RecordWriter {
public:
    void Bytes(std::span<const std::uint8_t> bytes) { m_out.insert(m_out.end(), bytes.begin(), bytes.end()); }
    void U16(std::uint16_t v) {
        m_out.push_back(static_cast<std::uint8_t>(v));
        m_out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void U32(std::uint32_t v) {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }
    void Patch32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) m_out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::vector<std::uint8_t>& Out() { return m_out; }

private:
    std::vector<std::uint8_t> m_out;
};

// The object a record makes, as what it stands for. An enhanced metafile's
// brush keeps its index (the fourth byte on of the record).
void WriteStandIn(RecordWriter& w, bool enhanced, RecordOutcome::StandIn stand_in,
                  std::span<const std::uint8_t> record) {
    const bool white_brush = stand_in == RecordOutcome::StandIn::kWhiteBrush;
    if (enhanced) {
        if (!white_brush || record.size() < 12) return;
        w.U32(39);  // EMR_CREATEBRUSHINDIRECT: index, BS_SOLID, white, no hatch
        w.U32(24);
        w.Bytes(record.subspan(8, 4));
        w.U32(0);
        w.U32(0x00FFFFFF);
        w.U32(0);
    } else if (white_brush) {
        w.U32(7);  // META_CREATEBRUSHINDIRECT: BS_SOLID, white, no hatch
        w.U16(0x02FC);
        w.U16(0);
        w.U32(0x00FFFFFF);
        w.U16(0);
    } else {
        w.U32(7);  // META_CREATEPALETTE of one black entry: takes the slot, selects nothing
        w.U16(0x00F7);
        w.U16(0x0300);
        w.U16(1);
        w.U32(0);
    }
}

}  // namespace

MetafileBits ScreenMetafile(const MetafileBits& metafile, const TRect& dest, TSize size, TSize screen,
                            PlaybackReport* report) {
    MetafileBits out = metafile;
    out.records.clear();
    const std::span<const std::uint8_t> records = metafile.records;
    const std::size_t header_size = metafile.enhanced ? kEmfBaseHeaderSize : kWmfHeaderSize;
    if (records.size() < header_size) {
        if (report) *report = {};
        return out;
    }
    RecordWriter w;
    w.Bytes(records.subspan(0, header_size));
    std::uint32_t count = 1;
    std::size_t largest = 0;  // a Windows metafile's largest record, in words
    auto keep = [&](std::span<const std::uint8_t> record, const RecordOutcome& outcome) {
        const std::size_t before = w.Out().size();
        if (outcome.refused || outcome.loose) return;
        if (outcome.stand_in != RecordOutcome::StandIn::kAsAsked)
            WriteStandIn(w, metafile.enhanced, outcome.stand_in, record);
        else
            w.Bytes(record);
        if (w.Out().size() == before) return;
        ++count;
        largest = std::max(largest, (w.Out().size() - before) / 2);
    };

    NullMetafileSurface nothing;
    const std::uint64_t screen_pixels =
        static_cast<std::uint64_t>(std::max(screen.cx, 0)) * static_cast<std::uint64_t>(std::max(screen.cy, 0));
    {
        MetafileDC dc(nothing, size, screen_pixels);
        if (metafile.enhanced) PlayEmfRecords(dc, metafile, dest, keep);
        else PlayWmfRecords(dc, metafile, dest, keep);
        if (report) *report = dc.Report();
    }

    if (metafile.enhanced) {
        w.U32(14);  // EMR_EOF: no palette
        w.U32(20);
        w.U32(0);
        w.U32(16);
        w.U32(20);
        ++count;
        w.Patch32(4, kEmfBaseHeaderSize);                              // nSize
        w.Patch32(48, static_cast<std::uint32_t>(w.Out().size()));    // nBytes
        w.Patch32(52, count);                                           // nRecords
        w.Patch32(60, 0);                                               // nDescription
        w.Patch32(64, 0);                                               // offDescription
        w.Patch32(68, 0);                                               // nPalEntries
    } else {
        w.U32(3);  // META_EOF
        w.U16(0);
        largest = std::max<std::size_t>(largest, 3);
        w.Patch32(6, static_cast<std::uint32_t>(w.Out().size() / 2));  // mtSize, in words
        w.Patch32(12, static_cast<std::uint32_t>(largest));            // mtMaxRecord
    }
    out.records = std::move(w.Out());
    return out;
}

}  // namespace automenu::platform
