#pragma once

#include <cstdint>

// The error numbers of the audio devices, with the values of the media control interface's
// numbers for the same failures (0 is success); the texts are ours (MciGetErrorString).
namespace rv {

inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_ID = 257;
inline constexpr std::uint32_t MCIERR_HARDWARE = 262;             // the sound output failed
inline constexpr std::uint32_t MCIERR_INVALID_DEVICE_NAME = 263;  // REELVAULT_AUDIO unknown
inline constexpr std::uint32_t MCIERR_OUT_OF_MEMORY = 264;
inline constexpr std::uint32_t MCIERR_CANNOT_LOAD_DRIVER = 266;  // a format we do not play
inline constexpr std::uint32_t MCIERR_UNSUPPORTED_FUNCTION = 274;
inline constexpr std::uint32_t MCIERR_FILE_NOT_FOUND = 275;
inline constexpr std::uint32_t MCIERR_INTERNAL = 277;
inline constexpr std::uint32_t MCIERR_OUTOFRANGE = 282;
inline constexpr std::uint32_t MCIERR_BAD_TIME_FORMAT = 293;
inline constexpr std::uint32_t MCIERR_INVALID_FILE = 296;          // damaged, or no audio in it
inline constexpr std::uint32_t MCIERR_DEVICE_NOT_INSTALLED = 306;  // no sound output at all
inline constexpr std::uint32_t MCIERR_WAVE_OUTPUTSINUSE = 320;     // the output is busy
inline constexpr std::uint32_t MCIERR_FILE_READ = 348;

}  // namespace rv
