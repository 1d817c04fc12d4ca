#include "sysinfo/cpu_names.h"

#include "sysinfo/cpu_vendor.h"

namespace rv {

TCPUNames NameProcessor(const TCPUNameKey& key) {
    if (key.Newer) return {};
    switch (key.VendorIndex) {
        case vendorIntel:
            return NameIntel(key);
        case vendorAMD:
            return NameAmd(key);
        case vendorCyrix:
            return NameCyrix(key);
        case vendorIDT:
            return NameIdt(key);
        case vendorNexGen:
            return NameNexGen(key);
        case vendorUMC:
            return NameUmc(key);
        case vendorRise:
            return NameRise(key);
        case vendorTransmeta:
            return NameTransmeta(key);
        case vendorSiS:
            return NameSis(key);
        case vendorNSC:
            return NameNsc(key);
        default:
            return {};
    }
}

}  // namespace rv
