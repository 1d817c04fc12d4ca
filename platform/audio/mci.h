#pragma once

#include <cstdint>
#include <string>

#include "platform/audio/mci_errors.h"
#include "platform/messages/messages.h"

// The media control interface for audio files: a device per opened file that plays, pauses,
// resumes, stops and seeks, answers its length, position and mode, and tells a window when a play
// has ended. MPEG audio (layers I, II and III) and Windows Media Audio files are played; the sound
// goes to the output that REELVAULT_AUDIO names (auto: PulseAudio, else ALSA; pulse; alsa; null,
// an output that plays into nothing at the pace of a clock, platform/audio/null_output.h).
//
// Every call is synchronous: once it returns, the device is in its new state (open reads the
// file's header only; the audio is decoded by a thread of the device as it plays). Each call
// answers 0 or an error number of platform/audio/mci_errors.h; nothing here throws.
namespace rv {

using MCIERROR = std::uint32_t;
using MCIDEVICEID = std::uint16_t;  // 0 is no device

// The notification a play sends its callback window when it ends: WParam is one of the
// MCI_NOTIFY_* codes; LParam holds the device id in its low 16 bits and, above them, the number
// of the play that ended (MciPlay gives it), so that a window can tell the notification of an
// earlier play of the same device, still on its way, from that of the play it started last.
inline constexpr UINT MM_MCINOTIFY = 0x3B9;
inline constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 1;  // played to its end
inline constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 2;  // a newer play took over its notification
inline constexpr WPARAM MCI_NOTIFY_ABORTED = 4;     // stopped, sought or closed before its end
inline constexpr WPARAM MCI_NOTIFY_FAILURE = 8;     // the sound output failed while playing
inline MCIDEVICEID MciNotifyDevice(LPARAM lParam) {
    return MCIDEVICEID(lParam & 0xFFFF);
}
inline std::uint32_t MciNotifyPlay(LPARAM lParam) {
    return std::uint32_t(std::uint64_t(lParam) >> 16);
}

// Status items and the modes that MCI_STATUS_MODE answers.
inline constexpr std::uint32_t MCI_STATUS_LENGTH = 1;
inline constexpr std::uint32_t MCI_STATUS_POSITION = 2;
inline constexpr std::uint32_t MCI_STATUS_MODE = 4;
inline constexpr std::uint32_t MCI_MODE_NOT_READY = 524;
inline constexpr std::uint32_t MCI_MODE_STOP = 525;
inline constexpr std::uint32_t MCI_MODE_PLAY = 526;
inline constexpr std::uint32_t MCI_MODE_RECORD = 527;
inline constexpr std::uint32_t MCI_MODE_SEEK = 528;
inline constexpr std::uint32_t MCI_MODE_PAUSE = 529;
inline constexpr std::uint32_t MCI_MODE_OPEN = 530;

// Time formats; the devices keep time in milliseconds only.
inline constexpr std::uint32_t MCI_FORMAT_MILLISECONDS = 0;

// Opens the file as a new device (each open is a device of its own, so opening is always
// shareable) and stores its id in `id` (0 on failure). The device starts stopped at 0.
MCIERROR MciOpen(const std::string& element, MCIDEVICEID& id);
// Stops the device and frees it; a pending notification is aborted.
MCIERROR MciClose(MCIDEVICEID id);

// Length and position in the device's time format, or the mode (MCI_MODE_*).
MCIERROR MciStatus(MCIDEVICEID id, std::uint32_t item, std::uint32_t& value);
MCIERROR MciSetTimeFormat(MCIDEVICEID id, std::uint32_t format);

// Plays from the current position to the end. With a callback window, MM_MCINOTIFY tells it how
// the play ended (a play still pending is superseded). Playing a paused device resumes it.
// `play` is the play's number, which its notification carries; no two plays of the process
// share one (until 2^32 plays have passed).
MCIERROR MciPlay(MCIDEVICEID id, HWND callback, std::uint32_t& play);
MCIERROR MciPlay(MCIDEVICEID id, HWND callback);
// Stops and stays at the position reached.
MCIERROR MciStop(MCIDEVICEID id);
MCIERROR MciPause(MCIDEVICEID id);
MCIERROR MciResume(MCIDEVICEID id);
// Stops and moves to `to` (0 up to the length). A seek never sends a notification of its own.
MCIERROR MciSeek(MCIDEVICEID id, std::uint32_t to);

// The text of an error number; false for a number that is not one of ours.
bool MciGetErrorString(MCIERROR error, std::string& text);

}  // namespace rv
