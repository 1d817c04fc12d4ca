#pragma once

#include <cstddef>
#include <cstdint>

// How Linux reports a failed device call, folded onto the error numbers of
// platform/cdrom/device_errors.h.
namespace rv::cdrom_internal {

int ErrorFromErrno(int error);

// The outcome of an SG_IO request that the kernel accepted: SCSI status, host and driver
// status, and the sense data the drive returned.
int ErrorFromScsiOutcome(std::uint8_t status, std::uint16_t hostStatus, std::uint16_t driverStatus,
                         const std::uint8_t* sense, std::size_t senseLength);

}  // namespace rv::cdrom_internal
