// Intel's processors by family, model and, where one die served several products, by brand
// index or cache size.
#include "sysinfo/cpu_names.h"

namespace rv {
namespace {

TCPUNames Family4(const TCPUNameKey& key) {
    switch (key.Model) {
        case 0:
        case 1:
            return {"i80486DX", "P4"};
        case 2:
            return {"i80486SX", "P23"};
        case 3:
            return {"i80486DX2", "P24"};
        case 4:
            return {"i80486SL", ""};
        case 5:
            return {"i80486SX2", ""};
        case 7:
            return {"i80486DX2WB", "P24"};
        case 8:
            return {"i80486DX4", "P24C"};
        case 9:
            return {"i80486DX4WB", "P24C"};
        default:
            return {};
    }
}

TCPUNames Family5(const TCPUNameKey& key) {
    switch (key.Model) {
        case 0:
            return {"Pentium", "P5 A-Step (0,80µm)"};
        case 1:
            return {"Pentium", "P5 (0,80µm)"};
        case 2:
            return {"Pentium", "P54C (0,50µm)"};
        case 3:
            return {"Pentium", "P24T"};
        case 4:
            return {"Pentium MMX", "P55C (0,28µm)"};
        case 7:
            return {"Pentium", "P54C (0,35µm)"};
        case 8:
            return {"Pentium MMX", "P55C (0,25µm)"};
        default:
            return {"Pentium", "P5"};
    }
}

// Models 5 and 6 were sold with no, a small or a large second-level cache.
TCPUNames Deschutes(const TCPUNameKey& key) {
    if (key.Level2 == 0) return {"Celeron", "Covington (0,25µm)"};
    if (key.Level2 <= 128) return {"Celeron A", "Mendocino (0,25µm)"};
    if (key.Level2 <= 256) return {"Pentium II PE", "Dixon (0,25µm)"};
    if (key.Level2 <= 512) return {"Pentium II", "Deschutes (0,25µm)"};
    return {"Pentium II Xeon", "Deschutes (0,25µm)"};
}

TCPUNames Coppermine(const TCPUNameKey& key) {
    const bool xeon = key.Brand == 3 || (key.Brand == 0 && key.Model == 10);
    const char* code = xeon ? "Cascades (0.18 µm)" : "Coppermine (0.18 µm)";
    if (key.Brand == 1) return {"Celeron", code};
    return {xeon ? "Pentium III Xeon" : "Pentium III", code};
}

TCPUNames PentiumM(const TCPUNameKey& key) {
    const bool celeron = key.Brand == 7 || key.Brand == 0x12;
    const char* code = key.Model == 9 ? "Banias (0.13 µm Pentium M)" : "Dothan (0.09 µm Pentium M)";
    return {celeron ? "Celeron M" : "Pentium M", code};
}

TCPUNames Tualatin(const TCPUNameKey& key) {
    const char* code = "Tualatin (0.13 µm)";
    switch (key.Brand) {
        case 3:
            return {"Celeron", code};
        case 6:
            return {"Pentium III (mobile)", code};
        case 7:
            return {"Celeron (mobile)", code};
        default:
            return {"Pentium III", code};
    }
}

TCPUNames Family6(const TCPUNameKey& key) {
    switch (key.Model) {
        case 0:
        case 1:
            return {"Pentium Pro", ""};
        case 3:
            return {"Pentium II", "Klamath (0.35 µm)"};
        case 5:
        case 6:
            return Deschutes(key);
        case 7:
            if (key.Level2 > 512) return {"Pentium III Xeon", "Tanner (0.25 µm)"};
            return {"Pentium III", "Katmai (0.25 µm)"};
        case 8:
        case 10:
            return Coppermine(key);
        case 9:
        case 13:
            return PentiumM(key);
        case 11:
            return Tualatin(key);
        default:
            return {};
    }
}

// The Pentium 4 family names its products by brand index; the code name follows the die
// (model) and whether it is a server part.
TCPUNames Family15(const TCPUNameKey& key) {
    if (key.ExtendedFamily == 1) return {"Itanium 2", ""};
    // Signature F13h sold brands 0x0B and 0x0E as the next server grade up.
    const bool f13 = key.Model == 1 && key.Stepping == 3;
    std::string name;
    int server = 0;  // 1 Xeon, 2 Xeon MP
    switch (key.Brand) {
        case 0x0A:
        case 0x14:
            name = "Celeron 4";
            break;
        case 0x0B:
            server = f13 ? 2 : 1;
            break;
        case 0x0C:
            server = 2;
            break;
        case 0x0E:
            if (f13)
                server = 1;
            else
                name = "Pentium 4 mobile (production)";
            break;
        case 0x0F:
        case 0x12:
        case 0x13:
        case 0x17:
            name = "Celeron 4 mobile";
            break;
        case 0x11:
        case 0x15:
            name = "Pentium 4 mobile (samples)";
            break;
        case 0x16:
            name = "Pentium M";
            break;
        default:
            name = "Pentium 4";
            break;
    }
    if (server == 1) name = "Pentium 4 Xeon";
    if (server == 2) name = "Pentium 4 Xeon MP";
    static const char* const kCodes[][3] = {
        {"Willamette (0.18 µm)", "Foster (0.18 µm)", "Foster MP (0.18 µm)"},
        {"Northwood (0.13 µm)", "Prestonia (0.13 µm)", "Gallatin (0.13 µm)"},
        {"Prescott (0.09 µm)", "Nocona (0.09 µm)", "Potomac (0.09 µm)"},
        {"Cedar Mill (0.065 µm)", "Dempsey (0.065 µm)", "Tulsa (0.065 µm)"},
    };
    int die = -1;
    if (key.Model <= 1)
        die = 0;
    else if (key.Model == 2)
        die = 1;
    else if (key.Model <= 4)
        die = 2;
    else if (key.Model == 6)
        die = 3;
    return {name, die >= 0 ? kCodes[die][server] : ""};
}

}  // namespace

TCPUNames NameIntel(const TCPUNameKey& key) {
    switch (key.Family) {
        case 4:
            return Family4(key);
        case 5:
            return Family5(key);
        case 6:
            return Family6(key);
        case 7:
            return {"Itanium", ""};
        case 10:
            return {"Pentium III Xeon", "Cascades"};
        case 15:
            return Family15(key);
        default:
            return {};
    }
}

}  // namespace rv
