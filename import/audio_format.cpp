#include "import/audio_format.h"

#include <utility>

#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

// In the order the extensions are tried.
constexpr std::pair<std::string_view, AudioFormat> kExtensions[] = {
    {".MP1", AudioFormat::MPEGaudio}, {".MP2", AudioFormat::MPEGaudio},
    {".MP3", AudioFormat::MPEGaudio}, {".MPC", AudioFormat::MPEGplus},
    {".MP+", AudioFormat::MPEGplus},  {".MPP", AudioFormat::MPEGplus},
    {".OGG", AudioFormat::OggVorbis}, {".VQF", AudioFormat::TwinVQ},
    {".WV", AudioFormat::WAVPack},    {".AAC", AudioFormat::AAC},
    {".M4A", AudioFormat::AAC},       {".MP4", AudioFormat::AAC},
    {".WMA", AudioFormat::WMA},       {".FLAC", AudioFormat::FLAC},
    {".APE", AudioFormat::Monkey},    {".MAC", AudioFormat::Monkey},
    {".OFR", AudioFormat::OptimFROG},
};

std::string_view NameWithoutFolder(std::string_view fileName) {
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
}

}  // namespace

std::string_view FileExtension(std::string_view fileName) {
    const std::string_view name = NameWithoutFolder(fileName);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

AudioFormat AudioFormatOf(std::string_view fileName) {
    const std::string_view extension = FileExtension(fileName);
    for (const auto& [known, format] : kExtensions)
        if (SameText(extension, known)) return format;
    return AudioFormat::None;
}

std::string FileTitle(std::string_view fileName) {
    const std::string_view name = NameWithoutFolder(fileName);
    std::string title =
        CleanTagText(name.substr(0, name.size() - FileExtension(name).size()), kText255);
    return title.empty() ? CleanTagText(name, kText255) : title;
}

}  // namespace rv
