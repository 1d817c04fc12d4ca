// The command entry: the table of open devices and the calls on them.

#include <map>
#include <memory>
#include <mutex>

#include "platform/audio/internal/playback_device.h"
#include "platform/audio/mci.h"

namespace rv {

namespace {

using audio_internal::PlaybackDevice;

// A device stays alive while a call on it runs, even when another thread closes it meanwhile.
struct DeviceTable {
    std::mutex mutex;
    std::map<MCIDEVICEID, std::shared_ptr<PlaybackDevice>> devices;
    MCIDEVICEID last = 0;

    // The next id not in use; 0 when all are.
    MCIDEVICEID NextId() {
        for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
            last = MCIDEVICEID(last == 0xFFFF ? 1 : last + 1);
            if (devices.count(last) == 0) return last;
        }
        return 0;
    }
};

DeviceTable& Table() {
    static DeviceTable table;
    return table;
}

std::shared_ptr<PlaybackDevice> Find(MCIDEVICEID id) {
    std::lock_guard lock(Table().mutex);
    const auto it = Table().devices.find(id);
    return it == Table().devices.end() ? nullptr : it->second;
}

}  // namespace

MCIERROR MciOpen(const std::string& element, MCIDEVICEID& id) {
    id = 0;
    MCIDEVICEID newId = 0;
    {
        std::lock_guard lock(Table().mutex);
        newId = Table().NextId();
        if (newId == 0) return MCIERR_OUT_OF_MEMORY;
        Table().devices[newId] = nullptr;  // reserved while the file is read
    }
    MCIERROR error = 0;
    std::shared_ptr<PlaybackDevice> device = PlaybackDevice::Open(element, newId, error);
    std::lock_guard lock(Table().mutex);
    if (!device) {
        Table().devices.erase(newId);
        return error;
    }
    Table().devices[newId] = std::move(device);
    id = newId;
    return 0;
}

MCIERROR MciClose(MCIDEVICEID id) {
    std::shared_ptr<PlaybackDevice> device;
    {
        std::lock_guard lock(Table().mutex);
        const auto it = Table().devices.find(id);
        if (it == Table().devices.end() || !it->second) return MCIERR_INVALID_DEVICE_ID;
        device = std::move(it->second);
        Table().devices.erase(it);
    }
    return 0;  // the device stops and goes with the last reference
}

MCIERROR MciStatus(MCIDEVICEID id, std::uint32_t item, std::uint32_t& value) {
    value = 0;
    const auto device = Find(id);
    if (!device) return MCIERR_INVALID_DEVICE_ID;
    switch (item) {
        case MCI_STATUS_LENGTH:
            value = device->LengthMs();
            return 0;
        case MCI_STATUS_POSITION:
            value = device->PositionMs();
            return 0;
        case MCI_STATUS_MODE:
            value = device->Mode();
            return 0;
        default:
            return MCIERR_UNSUPPORTED_FUNCTION;
    }
}

MCIERROR MciSetTimeFormat(MCIDEVICEID id, std::uint32_t format) {
    if (!Find(id)) return MCIERR_INVALID_DEVICE_ID;
    return format == MCI_FORMAT_MILLISECONDS ? 0 : MCIERR_BAD_TIME_FORMAT;
}

MCIERROR MciPlay(MCIDEVICEID id, HWND callback, std::uint32_t& play) {
    const auto device = Find(id);
    return device ? device->Play(callback, play) : MCIERR_INVALID_DEVICE_ID;
}

MCIERROR MciPlay(MCIDEVICEID id, HWND callback) {
    std::uint32_t play = 0;
    return MciPlay(id, callback, play);
}

MCIERROR MciStop(MCIDEVICEID id) {
    const auto device = Find(id);
    return device ? device->Stop() : MCIERR_INVALID_DEVICE_ID;
}

MCIERROR MciPause(MCIDEVICEID id) {
    const auto device = Find(id);
    return device ? device->Pause() : MCIERR_INVALID_DEVICE_ID;
}

MCIERROR MciResume(MCIDEVICEID id) {
    const auto device = Find(id);
    return device ? device->Resume() : MCIERR_INVALID_DEVICE_ID;
}

MCIERROR MciSeek(MCIDEVICEID id, std::uint32_t to) {
    const auto device = Find(id);
    return device ? device->Seek(to) : MCIERR_INVALID_DEVICE_ID;
}

}  // namespace rv
