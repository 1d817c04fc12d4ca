#pragma once

#include <string>

// The marketing name and the code name of a processor, from the maker's model tables. The
// tables end with the processors that report a brand text of their own; a newer processor
// (one that uses CPUID's extended family or model fields) gets neither name.
namespace rv {

struct TCPUNameKey {
    int VendorIndex = 0;
    int Family = 0;
    int ExtendedFamily = 0;
    int Model = 0;
    int Stepping = 0;
    int Brand = 0;
    int Level2 = 0;      // KB
    int Level3 = 0;      // KB
    int Frequency = 0;   // MHz
    bool Newer = false;  // leaf 1 reports an extended family or model
};

struct TCPUNames {
    std::string FriendlyName;
    std::string CodeName;
};

TCPUNames NameProcessor(const TCPUNameKey& key);

// One table per maker.
TCPUNames NameIntel(const TCPUNameKey& key);
TCPUNames NameAmd(const TCPUNameKey& key);
TCPUNames NameCyrix(const TCPUNameKey& key);
TCPUNames NameIdt(const TCPUNameKey& key);
TCPUNames NameNexGen(const TCPUNameKey& key);
TCPUNames NameUmc(const TCPUNameKey& key);
TCPUNames NameRise(const TCPUNameKey& key);
TCPUNames NameTransmeta(const TCPUNameKey& key);
TCPUNames NameSis(const TCPUNameKey& key);
TCPUNames NameNsc(const TCPUNameKey& key);

}  // namespace rv
