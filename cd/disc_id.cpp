#include "cd/disc_id.h"

#include <algorithm>
#include <cstddef>

#include "platform/text/format.h"

namespace rv {
namespace {

int Seconds(const TCDTOCEntry& entry) {
    return entry.Minute * 60 + entry.Second;
}

int DigitSum(int value) {
    int sum = 0;
    for (; value > 0; value /= 10) sum += value % 10;
    return sum;
}

std::size_t TrackCount(const TCDTOC& toc) {
    return std::min<std::size_t>(toc.Count, toc.Tracks.size());
}

}  // namespace

std::uint32_t CddbDiscId(const TCDTOC& toc) {
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < TrackCount(toc); ++i) n += DigitSum(Seconds(toc.Tracks[i]));
    // A lead-out before the first track (a damaged table) wraps as the unsigned sum would.
    const auto t = static_cast<std::uint32_t>(Seconds(toc.LeadOut) - Seconds(toc.Tracks[0]));
    return (n % 255) << 24 | t << 8 | toc.Count;
}

std::string DiscIdText(std::uint32_t id) {
    return Format("%08x", id);
}

std::string CddbQueryCommand(const TCDTOC& toc) {
    std::string command =
        Format("cddb query %s %d", DiscIdText(CddbDiscId(toc)).c_str(), toc.Count);
    for (std::size_t i = 0; i < TrackCount(toc); ++i) {
        const TCDTOCEntry& track = toc.Tracks[i];
        command += Format(" %d", track.Minute * 4500 + track.Second * 75 + track.Frame);
    }
    return command + Format(" %d", Seconds(toc.LeadOut));
}

}  // namespace rv
