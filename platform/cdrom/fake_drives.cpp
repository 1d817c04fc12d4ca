// Fake drives described in a text file: they answer INQUIRY, READ TOC, the address query and
// the driver's table of contents the way a drive holding the described disc would.

#include "platform/cdrom/internal/fake_drives.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "platform/base/exception.h"
#include "platform/cdrom/device_errors.h"
#include "platform/files/read_only_file.h"

namespace rv::cdrom_internal {
namespace {

constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kReadToc = 0x43;
constexpr std::uint8_t kLeadOutNumber = 0xAA;
constexpr std::uint8_t kAdrPosition = 0x10;  // ADR 1: the sub-channel gives the position

class LineError {
public:
    std::string what;
};

template <typename T>
T Number(const std::string& word, int base, T max) {
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
    if (word.empty() || ec != std::errc() || end != word.data() + word.size() ||
        value > static_cast<unsigned long>(max)) {
        throw LineError{"\"" + word + "\" is not a number up to " + std::to_string(max)};
    }
    return static_cast<T>(value);
}

std::array<std::uint8_t, 3> Msf(const std::string& word) {
    std::array<std::uint8_t, 3> msf{};
    std::istringstream parts(word);
    std::string part;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!std::getline(parts, part, ':')) throw LineError{"a time must be minute:second:frame"};
        msf[i] = Number<std::uint8_t>(part, 10, 255);
    }
    if (std::getline(parts, part)) throw LineError{"a time must be minute:second:frame"};
    return msf;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

void ReadStatement(const std::string& keyword, const std::string& value, FakeDrive& drive) {
    const std::vector<std::string> words = Words(value);
    const auto want = [&](std::size_t count) {
        if (words.size() != count) {
            throw LineError{"\"" + keyword + "\" takes " + std::to_string(count) + " values"};
        }
    };
    if (keyword == "mount") {
        drive.MountPoint = value;
    } else if (keyword == "vendor") {
        drive.Vendor = value;
    } else if (keyword == "product") {
        drive.Product = value;
    } else if (keyword == "revision") {
        drive.Revision = value;
    } else if (keyword == "vendor-specific") {
        drive.VendorSpecific = value;
    } else if (keyword == "address") {
        want(4);
        drive.Address = ScsiAddress{
            Number<std::uint8_t>(words[0], 10, 255), Number<std::uint8_t>(words[1], 10, 255),
            Number<std::uint8_t>(words[2], 10, 255), Number<std::uint8_t>(words[3], 10, 255)};
    } else if (keyword == "track") {
        want(3);
        FakeTrack track{Number<std::uint8_t>(words[0], 10, 255), Msf(words[1]), 0};
        if (words[2] == "data") {
            track.Control = 4;
        } else if (words[2] != "audio") {
            track.Control = Number<std::uint8_t>(words[2], 10, 15);
        }
        drive.Tracks.push_back(track);
    } else if (keyword == "leadout") {
        want(1);
        drive.LeadOut = Msf(words[0]);
    } else if (keyword == "toc-bytes") {
        std::vector<std::uint8_t> bytes;
        for (const auto& w : words) bytes.push_back(Number<std::uint8_t>(w, 16, 255));
        drive.TocBytes = std::move(bytes);
    } else if (keyword == "error") {
        want(2);
        static const char* const kOperations[] = {"open", "inquiry", "toc", "ioctl"};
        if (std::find(std::begin(kOperations), std::end(kOperations), words[0]) ==
            std::end(kOperations)) {
            throw LineError{"no operation \"" + words[0] + "\" can fail"};
        }
        drive.Errors[words[0]] = Number<int>(words[1], 10, 0xFFFF);
    } else {
        throw LineError{"unknown keyword \"" + keyword + "\""};
    }
}

// Fits `text` to a fixed-width INQUIRY field, padded with blanks.
void PutField(std::vector<std::uint8_t>& answer, std::size_t at, std::size_t width,
              const std::string& text) {
    for (std::size_t i = 0; i < width; ++i) {
        answer[at + i] = static_cast<std::uint8_t>(i < text.size() ? text[i] : ' ');
    }
}

void AppendDescriptor(std::vector<std::uint8_t>& toc, std::uint8_t control, std::uint8_t number,
                      const std::array<std::uint8_t, 3>& msf, bool msfAddress) {
    std::uint8_t address[4] = {0, msf[0], msf[1], msf[2]};
    if (!msfAddress) {
        const long lba = (msf[0] * 60L + msf[1]) * 75 + msf[2] - 150;
        for (int i = 0; i < 4; ++i) address[i] = static_cast<std::uint8_t>(lba >> (24 - 8 * i));
    }
    toc.insert(toc.end(), {0, static_cast<std::uint8_t>(kAdrPosition | control), number, 0});
    toc.insert(toc.end(), address, address + 4);
}

class FakeDevice final : public DeviceBackend {
public:
    explicit FakeDevice(FakeDrive drive) : drive_(std::move(drive)) {}

    int ScsiRead(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, unsigned,
                 std::size_t& received) override {
        received = 0;
        if (cdb.size() == 6 && cdb[0] == kInquiry) {
            if (const int error = drive_.ErrorOf("inquiry")) return error;
            return Deliver(Inquiry(), std::size_t(cdb[3]) << 8 | cdb[4], data, received);
        }
        if (cdb.size() == 10 && cdb[0] == kReadToc) {
            if (const int error = drive_.ErrorOf("toc")) return error;
            if (!drive_.HasDisc()) return ERROR_IO_DEVICE;
            const bool msf = (cdb[1] & 0x02) != 0;
            return Deliver(Toc(msf, cdb[6]), std::size_t(cdb[7]) << 8 | cdb[8], data, received);
        }
        return ERROR_IO_DEVICE;  // a command this drive does not know: CHECK CONDITION
    }

    bool GetScsiAddress(ScsiAddress& address) override {
        if (!drive_.Address) return false;
        address = *drive_.Address;
        return true;
    }

    int ReadTocIoctl(std::span<std::uint8_t> data, std::size_t& received) override {
        received = 0;
        if (const int error = drive_.ErrorOf("ioctl")) return error;
        if (!drive_.HasDisc()) return ERROR_IO_DEVICE;
        return Deliver(Toc(true, 0), data.size(), data, received);
    }

private:
    static int Deliver(const std::vector<std::uint8_t>& answer, std::size_t allocation,
                       std::span<std::uint8_t> data, std::size_t& received) {
        received = std::min({answer.size(), allocation, data.size()});
        std::copy_n(answer.begin(), received, data.begin());
        return ERROR_SUCCESS;
    }

    std::vector<std::uint8_t> Inquiry() const {
        std::vector<std::uint8_t> answer(56, 0);
        answer[0] = 5;     // CD-ROM
        answer[1] = 0x80;  // removable medium
        answer[3] = 2;     // response data format
        answer[4] = static_cast<std::uint8_t>(answer.size() - 5);
        PutField(answer, 8, 8, drive_.Vendor);
        PutField(answer, 16, 16, drive_.Product);
        PutField(answer, 32, 4, drive_.Revision);
        PutField(answer, 36, 20, drive_.VendorSpecific);
        return answer;
    }

    std::vector<std::uint8_t> Toc(bool msf, std::uint8_t startTrack) const {
        if (drive_.TocBytes) return *drive_.TocBytes;
        std::vector<std::uint8_t> toc(4, 0);
        std::uint8_t first = 0xFF, last = 0;
        for (const FakeTrack& t : drive_.Tracks) {
            first = std::min(first, t.Number);
            last = std::max(last, t.Number);
            if (t.Number >= startTrack) AppendDescriptor(toc, t.Control, t.Number, t.Msf, msf);
        }
        const std::uint8_t lastControl = drive_.Tracks.back().Control;
        AppendDescriptor(toc, lastControl, kLeadOutNumber, drive_.LeadOut, msf);
        toc[0] = static_cast<std::uint8_t>((toc.size() - 2) >> 8);
        toc[1] = static_cast<std::uint8_t>(toc.size() - 2);
        toc[2] = first;
        toc[3] = last;
        return toc;
    }

    FakeDrive drive_;
};

}  // namespace

int FakeDrive::ErrorOf(const std::string& operation) const {
    const auto it = Errors.find(operation);
    return it == Errors.end() ? ERROR_SUCCESS : it->second;
}

std::vector<FakeDrive> ParseFakeDrives(const std::string& text, const std::string& fileName) {
    std::vector<FakeDrive> drives;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        const std::size_t keyEnd = std::min(line.find_first_of(" \t", start), line.size());
        const std::string keyword = line.substr(start, keyEnd - start);
        const std::size_t valueStart = std::min(line.find_first_not_of(" \t", keyEnd), line.size());
        const std::size_t valueEnd = line.find_last_not_of(" \t") + 1;
        const std::string value = line.substr(valueStart, valueEnd - valueStart);
        try {
            if (keyword == "drive") {
                if (value.empty()) throw LineError{"a drive needs a name"};
                drives.emplace_back().Device = value;
            } else if (drives.empty()) {
                throw LineError{"\"drive\" must come first"};
            } else {
                ReadStatement(keyword, value, drives.back());
            }
        } catch (const LineError& e) {
            throw Exception(fileName + ", line " + std::to_string(number) + ": " + e.what);
        }
    }
    return drives;
}

std::vector<FakeDrive> ReadFakeDrives(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) throw Exception("Cannot read the fake CD drives file " + path);
    return ParseFakeDrives(text, path);
}

std::unique_ptr<DeviceBackend> MakeFakeDevice(FakeDrive drive) {
    return std::make_unique<FakeDevice>(std::move(drive));
}

}  // namespace rv::cdrom_internal
