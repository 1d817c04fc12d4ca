// The ALSA mixer's simple controls, read and set as volume words.

#include "platform/audio/internal/alsa_mixer.h"

#include <alsa/asoundlib.h>

#include <algorithm>

#include "platform/text/round.h"

namespace rv::audio_internal {

namespace {

constexpr double kFullWord = 0xFFFF;

// A mixer of one control device with its simple controls loaded; closed with the object.
class Mixer {
public:
    explicit Mixer(const std::string& device) {
        if (snd_mixer_open(&handle_, 0) < 0) {
            handle_ = nullptr;
            return;
        }
        if (snd_mixer_attach(handle_, device.c_str()) < 0 ||
            snd_mixer_selem_register(handle_, nullptr, nullptr) < 0 ||
            snd_mixer_load(handle_) < 0) {
            snd_mixer_close(handle_);
            handle_ = nullptr;
        }
    }
    ~Mixer() {
        if (handle_) snd_mixer_close(handle_);
    }
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // The control of that name, when it has a playback volume.
    snd_mixer_elem_t* PlaybackControl(const std::string& name) {
        if (!handle_) return nullptr;
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, name.c_str());
        snd_mixer_elem_t* control = snd_mixer_find_selem(handle_, id);
        return control && snd_mixer_selem_has_playback_volume(control) ? control : nullptr;
    }

private:
    snd_mixer_t* handle_ = nullptr;
};

// The control's left and right channels; one channel serves as both.
struct Channels {
    snd_mixer_selem_channel_id_t left = SND_MIXER_SCHN_FRONT_LEFT;
    snd_mixer_selem_channel_id_t right = SND_MIXER_SCHN_FRONT_RIGHT;
};

Channels ChannelsOf(snd_mixer_elem_t* control) {
    Channels c;
    if (snd_mixer_selem_is_playback_mono(control)) {
        c.left = c.right = SND_MIXER_SCHN_MONO;
    } else if (!snd_mixer_selem_has_playback_channel(control, c.right)) {
        c.right = c.left;
    }
    return c;
}

std::uint32_t ToWord(long level, long min, long max) {
    if (max <= min) return 0;
    const double share = double(std::clamp(level, min, max) - min) / double(max - min);
    return std::uint32_t(Round(share * kFullWord));
}

long ToLevel(std::uint32_t word, long min, long max) {
    if (max <= min) return min;
    return min + long(Round(double(word & 0xFFFF) / kFullWord * double(max - min)));
}

}  // namespace

bool ReadMixerVolume(const std::string& device, const std::string& name, std::uint32_t& volume) {
    Mixer mixer(device);
    snd_mixer_elem_t* control = mixer.PlaybackControl(name);
    if (!control) return false;
    long min = 0, max = 0, left = 0, right = 0;
    const Channels c = ChannelsOf(control);
    if (snd_mixer_selem_get_playback_volume_range(control, &min, &max) < 0 ||
        snd_mixer_selem_get_playback_volume(control, c.left, &left) < 0 ||
        snd_mixer_selem_get_playback_volume(control, c.right, &right) < 0) {
        return false;
    }
    volume = ToWord(left, min, max) | ToWord(right, min, max) << 16;
    return true;
}

bool WriteMixerVolume(const std::string& device, const std::string& name, std::uint32_t volume) {
    Mixer mixer(device);
    snd_mixer_elem_t* control = mixer.PlaybackControl(name);
    if (!control) return false;
    long min = 0, max = 0;
    if (snd_mixer_selem_get_playback_volume_range(control, &min, &max) < 0) return false;
    const Channels c = ChannelsOf(control);
    if (c.left == c.right) {
        const std::uint32_t mean = ((volume & 0xFFFF) + (volume >> 16)) / 2;
        return snd_mixer_selem_set_playback_volume(control, c.left, ToLevel(mean, min, max)) >= 0;
    }
    return snd_mixer_selem_set_playback_volume(control, c.left, ToLevel(volume, min, max)) >= 0 &&
           snd_mixer_selem_set_playback_volume(control, c.right, ToLevel(volume >> 16, min, max)) >=
               0;
}

std::vector<int> SoundCards() {
    std::vector<int> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0) cards.push_back(card);
    return cards;
}

}  // namespace rv::audio_internal
