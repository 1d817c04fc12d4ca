#include "import/audio_format.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace rv {
namespace {

TEST(AudioFormat, TheLastExtensionOfTheNamePicksTheReaderWhateverItsCase) {
    using enum AudioFormat;
    const std::pair<const char*, AudioFormat> cases[] = {
        {"/music/a.mp1", MPEGaudio},
        {"/music/a.Mp2", MPEGaudio},
        {"/music/Song.MP3", MPEGaudio},
        {"/music/song.mp3", MPEGaudio},
        {"a.mpc", MPEGplus},
        {"a.MP+", MPEGplus},
        {"a.mpp", MPEGplus},
        {"a.ogg", OggVorbis},
        {"a.vqf", TwinVQ},
        {"a.wv", WAVPack},
        {"a.aac", AAC},
        {"a.m4a", AAC},
        {"a.MP4", AAC},
        {"a.wma", WMA},
        {"a.flac", FLAC},
        {"a.ape", Monkey},
        {"a.mac", Monkey},
        {"a.ofr", OptimFROG},
        {"/music/song.mp3.bak", None},
        {"/music/live.v2/track", None},  // a dot in the folder is no extension
        {"/music/a.mp3/track", None},
        {"/music/track", None},
        {"/music/track.", None},
        {"/music/track.wav", None},
        {"/music/track.mp3 ", None},
        {"/music/.mp3", MPEGaudio},
    };
    for (const auto& [name, format] : cases) EXPECT_EQ(AudioFormatOf(name), format) << name;
    EXPECT_EQ(FileExtension("/music/live.v2/song.Tar.GZ"), ".GZ");
    EXPECT_EQ(FileExtension("/music/live.v2/song"), "");
}

TEST(AudioFormat, TheFileTitleIsTheCleanNameWithoutFolderAndExtension) {
    const std::pair<std::string, std::string> cases[] = {
        {"/music/Blue Train.mp3", "Blue Train"},
        {"/music/a.b.mp3", "a.b"},
        {"/music/live.v2/untitled", "untitled"},
        {"/music/ \t Padded \x01.flac", "Padded"},
        {"/music/caf\xE9.ogg", "caf\xEF\xBF\xBD"},  // not UTF-8: the replacement character
        {"/music/.mp3", ".mp3"},                    // nothing but the extension: kept whole
        {"/music/ .mp3", ".mp3"},
    };
    for (const auto& [name, title] : cases) EXPECT_EQ(FileTitle(name), title) << name;
}

}  // namespace
}  // namespace rv
