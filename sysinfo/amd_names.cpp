// AMD's processors by family and model.
#include "platform/text/format.h"
#include "sysinfo/cpu_names.h"

namespace rv {
namespace {

TCPUNames Family4(const TCPUNameKey& key) {
    switch (key.Model) {
        case 1:
            return {"Am486DX", ""};
        case 3:
        case 7:
            return {"Am486DX2", ""};
        case 8:
        case 9:
            return {"Am486DX4", ""};
        case 14:
        case 15:
            return {"Am5x86", ""};
        default:
            return {};
    }
}

TCPUNames Family5(const TCPUNameKey& key) {
    switch (key.Model) {
        case 0:
        case 2:
        case 3:
            return {"K5", ""};
        case 1:
            return {"K5-5k86 (PR120, PR133)", ""};
        case 6:
        case 7:
            return {"K6", ""};
        case 8:
            return {"K6-II", ""};
        case 9:
            return {"K6-III", ""};
        case 13:
            return {"K6-II+/K6-III+", ""};
        default:
            return {};
    }
}

TCPUNames Family6(const TCPUNameKey& key) {
    switch (key.Model) {
        case 1:
            return {"Athlon", "K7 (0.25 µm)"};
        case 2:
            return {"Athlon", "K75 (0.18 µm)"};
        case 3:
            return {"Duron", "Spitfire (0.18 µm)"};
        case 4:
            return {"Athlon", "Thunderbird (0.18 µm)"};
        case 6:
            return {"Athlon XP", "Palomino (0.18 µm)"};
        case 7:
            return {"Duron", "Morgan (0.18 µm)"};
        case 8:
            return {"Athlon", "Thoroughbred (0.13 µm)"};
        case 10:
            return {"Athlon", "Barton (0.13 µm)"};
        default:
            return {};
    }
}

// The first Opterons are numbered by clock: 1.4 GHz is 40, each further 200 MHz two more,
// behind the digit of the number of processors they serve (1, 2 or 8).
std::string OpteronNumber(const TCPUNameKey& key) {
    const int number = key.Frequency / 100 + 26;
    switch (key.Brand) {
        case 3:
            return Format(" UP1%d", number);
        case 4:
            return Format(" DP2%d", number);
        case 5:
            return Format(" MP8%d", number);
        default:
            return {};
    }
}

TCPUNames Family15(const TCPUNameKey& key) {
    switch (key.Model) {
        case 4:
            return {key.Brand == 0 ? "Athlon 64" : "Athlon 64 FX", "Clawhammer (0.13 µm)"};
        case 5:
            return {"Opteron" + OpteronNumber(key), "Sledgehammer (0.13 µm)"};
        default:
            return {};
    }
}

}  // namespace

TCPUNames NameAmd(const TCPUNameKey& key) {
    switch (key.Family) {
        case 4:
            return Family4(key);
        case 5:
            return Family5(key);
        case 6:
            return Family6(key);
        case 15:
            return Family15(key);
        default:
            return {};
    }
}

}  // namespace rv
