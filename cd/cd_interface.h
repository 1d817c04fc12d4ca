#pragma once

#include "cd/cd_records.h"

// Which way leads to the drives. Two exist: ASPI, the SCSI manager of the Windows 95 family,
// and the SCSI pass-through with the CD-ROM driver's calls beside it. ASPI never loads on this
// system (platform/cdrom/aspi_binding.h), so the drive routines always take the pass-through,
// and a wish for ASPI finds no interface.
namespace rv {

inline constexpr char kNoUsableInterface[] =
    "No usable interface available or selected interface not available";
inline constexpr char kNoUsableInterfaceShort[] = "No usable interface available";

// The number of ASPI host adapters; -1 when ASPI is not loaded or reports an error.
int GetAspiAdapterCount();

// Whether a usable interface exists. The pass-through always does here; detecting it sets the
// flag that selects it (it is never cleared).
bool DetectCDInterface();
bool SptiSelected();

// Raises ECDError with `text` unless the pass-through may serve `wish`.
void RequirePassThrough(TCDInterface wish, const char* text);

}  // namespace rv
