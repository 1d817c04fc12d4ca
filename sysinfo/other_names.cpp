// The smaller makers' processors by family and model.
#include "sysinfo/cpu_names.h"

namespace rv {

TCPUNames NameCyrix(const TCPUNameKey& key) {
    if (key.Family == 4) {
        switch (key.Model) {
            case 1:
                return {"Cx486SLC/DLC", "M0.5"};
            case 2:
                return {"Cx486S", "M0.6"};
            case 3:
                return {"Cx486DX/DX2/DX4", "M0.7"};
            case 4:
                return {"Media GX", "Gx86"};
            case 9:
                return {"5x86", "M0.9 or M1sc (0.65 µm)"};
            default:
                return {};
        }
    }
    if (key.Family == 5) {
        if (key.Model == 2) return {"6x86 and 6x86L", "M1 (0.65 µm) and M1L (0.35 µm)"};
        if (key.Model == 4) return {"MediaGXm", "GXm"};
        return {};
    }
    if (key.Family == 6) {
        // The M-II is the 6x86MX die renamed at its faster clocks.
        if (key.Model == 0 && key.Frequency >= 250)
            return {"M-II (PR300-433)", "M2 (0.35-0.25 µm)"};
        if (key.Model == 0) return {"6x86MX (PR166-266)", "M2 (0.35 µm)"};
        if (key.Model == 5) return {"VIA Cyrix III", "Joshua"};
    }
    return {};
}

TCPUNames NameIdt(const TCPUNameKey& key) {
    if (key.Family == 5) {
        switch (key.Model) {
            case 4:
                return {"WinChip", "C6 (0.35 µm)"};
            case 8:
                return {"WinChip 2x", "W2x (0.35-0.25 µm)"};
            case 9:
                return {"WinChip 3", "W3 (0.25 µm)"};
            default:
                return {};
        }
    }
    if (key.Family == 6) {
        switch (key.Model) {
            case 6:
                return {"VIA C3", "C5A Samuel 1 (0.18µm)"};
            case 7:
                if (key.Stepping < 8) return {"VIA C3", "C5B Samuel 2 (0.13µm)"};
                return {"VIA C3", "C5C Ezra (0.13µm)"};
            case 8:
                return {"VIA C3", "C5N Ezra-T (0.13µm)"};
            case 9:
                return {"VIA C3", "C5XL Nehemiah (0.13µm)"};
            default:
                return {};
        }
    }
    return {};
}

TCPUNames NameNexGen(const TCPUNameKey& key) {
    if (key.Family == 5) return {"Nx586", "Nx5x86 (0.50-0.44 µm)"};
    if (key.Family == 6) return {"Nx686", "HA (0,50µm)"};
    return {};
}

TCPUNames NameUmc(const TCPUNameKey& key) {
    if (key.Family != 4) return {};
    switch (key.Model) {
        case 1:
            return {"U5D", ""};
        case 2:
            return {"U5S", ""};
        case 3:
            return {"U486DX2", ""};
        case 5:
            return {"U486SX2", ""};
        default:
            return {};
    }
}

TCPUNames NameRise(const TCPUNameKey& key) {
    if (key.Family != 5) return {};
    switch (key.Model) {
        case 0:
            return {"mP6", "iDragon"};
        case 2:
            return {"mP6", "iDragon 0.18µm"};
        case 8:
            return {"mP6", "iDragon II 0.25µm"};
        case 9:
            return {"mP6", "iDragon II 0.18µm"};
        default:
            return {};
    }
}

// Transmeta's caches are not decoded, so its products are told apart by clock.
TCPUNames NameTransmeta(const TCPUNameKey& key) {
    if (key.Family == 5) {
        if (key.Frequency <= 400) return {"Crusoe", "TM3200"};
        if (key.Frequency <= 700) return {"Crusoe", "TM5400/TM5500"};
        return {"Crusoe", "TM5600/TM5800"};
    }
    if (key.Family == 15) {
        if (key.Frequency <= 1000) return {"Efficeon", "TM8300/TM8500"};
        return {"Efficeon", "TM8600/TM8800"};
    }
    return {};
}

TCPUNames NameSis(const TCPUNameKey& key) {
    return key.Family == 5 ? TCPUNames{"SiS 55x", ""} : TCPUNames{};
}

TCPUNames NameNsc(const TCPUNameKey& key) {
    return key.Family == 5 ? TCPUNames{"NSC", ""} : TCPUNames{};
}

}  // namespace rv
