#include "platform/cdrom/internal/sg_status.h"

#include <cerrno>

#include "platform/cdrom/device_errors.h"

namespace rv::cdrom_internal {
namespace {

// SCSI status bytes, host (adapter) and driver statuses as SG_IO reports them.
constexpr std::uint8_t kStatusCheckCondition = 0x02;
constexpr std::uint8_t kStatusBusy = 0x08;
constexpr std::uint16_t kHostNoConnect = 0x01;
constexpr std::uint16_t kHostBusBusy = 0x02;
constexpr std::uint16_t kHostTimeOut = 0x03;
constexpr std::uint16_t kHostBadTarget = 0x04;
constexpr std::uint16_t kDriverTimeout = 0x06;

// Sense key of fixed (0x70, 0x71) or descriptor (0x72, 0x73) sense data; -1 when there is none.
int SenseKey(const std::uint8_t* sense, std::size_t length) {
    if (sense == nullptr || length < 3) return -1;
    switch (sense[0] & 0x7F) {
        case 0x70:
        case 0x71:
            return sense[2] & 0x0F;
        case 0x72:
        case 0x73:
            return sense[1] & 0x0F;
        default:
            return -1;
    }
}

}  // namespace

int ErrorFromErrno(int error) {
    switch (error) {
        case 0:
            return ERROR_SUCCESS;
        case EACCES:
        case EPERM:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        case ENOENT:
            return ERROR_FILE_NOT_FOUND;
        case ENXIO:
        case ENODEV:
            return ERROR_DEV_NOT_EXIST;
        case ENOMEDIUM:
        case EMEDIUMTYPE:
        case EIO:
            return ERROR_IO_DEVICE;
        case ENOMEM:
            return ERROR_NO_SYSTEM_RESOURCES;
        case EBUSY:
            return ERROR_BUSY;
        case ETIMEDOUT:
            return ERROR_SEM_TIMEOUT;
        case ENOTTY:
        case EINVAL:
        case ENOSYS:
        case EOPNOTSUPP:
            return ERROR_INVALID_FUNCTION;
        default:
            return ERROR_GEN_FAILURE;
    }
}

int ErrorFromScsiOutcome(std::uint8_t status, std::uint16_t hostStatus, std::uint16_t driverStatus,
                         const std::uint8_t* sense, std::size_t senseLength) {
    status &= 0x7E;
    if (hostStatus == kHostTimeOut || (driverStatus & 0x0F) == kDriverTimeout) {
        return ERROR_SEM_TIMEOUT;
    }
    if (hostStatus == kHostNoConnect || hostStatus == kHostBadTarget) return ERROR_DEV_NOT_EXIST;
    if (hostStatus == kHostBusBusy || status == kStatusBusy) return ERROR_BUSY;
    if (hostStatus != 0 || (driverStatus & 0x07) != 0) return ERROR_IO_DEVICE;
    if (status == kStatusCheckCondition) {
        // No sense and a recovered error still delivered the data; anything else (among it
        // "not ready": no disc) is a failed command.
        const int key = SenseKey(sense, senseLength);
        return key == 0 || key == 1 ? ERROR_SUCCESS : ERROR_IO_DEVICE;
    }
    return status == 0 ? ERROR_SUCCESS : ERROR_IO_DEVICE;
}

}  // namespace rv::cdrom_internal
