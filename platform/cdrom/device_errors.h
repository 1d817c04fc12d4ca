#pragma once

// The error numbers the device calls report, with the values of the Windows error codes the CD
// code was written against (0 is success). Linux failures are folded onto the few that callers
// tell apart.
namespace rv {

inline constexpr int ERROR_SUCCESS = 0;
inline constexpr int ERROR_INVALID_FUNCTION = 1;  // the device does not take the request
inline constexpr int ERROR_FILE_NOT_FOUND = 2;
inline constexpr int ERROR_ACCESS_DENIED = 5;
inline constexpr int ERROR_GEN_FAILURE = 31;
inline constexpr int ERROR_DEV_NOT_EXIST = 55;
inline constexpr int ERROR_SEM_TIMEOUT = 121;  // the drive did not answer in time
inline constexpr int ERROR_BUSY = 170;
inline constexpr int ERROR_IO_DEVICE = 1117;  // the drive failed the command, or has no disc
inline constexpr int ERROR_NO_SYSTEM_RESOURCES = 1450;

}  // namespace rv
