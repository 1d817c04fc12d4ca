#pragma once

#include <string>

#include "platform/cdrom/cd_drive_source.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {

// Fake CD drives described by `text` (platform/cdrom/cd_drive_source.h) for the life of the
// object; the machine's drives after it.
class FakeDrivesFile {
public:
    explicit FakeDrivesFile(const std::string& text) {
        Rewrite(text);
        UseFakeCdDrives(Path());
    }
    ~FakeDrivesFile() { UseMachineCdDrives(); }
    FakeDrivesFile(const FakeDrivesFile&) = delete;
    FakeDrivesFile& operator=(const FakeDrivesFile&) = delete;

    // Another disc, another set of drives: the file is read again on every call.
    void Rewrite(const std::string& text) { WriteFileBytes(Path(), text); }
    std::string Path() const { return dir_ / "drives.txt"; }

private:
    TempDir dir_;
};

}  // namespace rv::test
