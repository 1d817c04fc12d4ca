#pragma once
// The clipboard as a place for one data object. The toolkit's clipboard carries it under its
// formats' media types and renders a format only when a reader asks for it; a data object put
// there by this program comes back as itself.

#include <memory>

#include "platform/transfer/data_object.h"

namespace rv {

// Puts the data object on the clipboard (nil: empties it). The clipboard holds it until other
// data replace it. CLIPBRD_E_CANT_OPEN without a GUI application.
HRESULT OleSetClipboard(const std::shared_ptr<IDataObject>& data);
// The clipboard's data: the data object put there by this program, or one holding a copy of
// what another program put there (empty when the clipboard is). CLIPBRD_E_CANT_OPEN without a
// GUI application.
HRESULT OleGetClipboard(std::shared_ptr<IDataObject>& data);
// Renders every format of the data object on the clipboard now and lets go of the object: the
// data stay on the clipboard after it is gone. S_OK also when the clipboard holds other data.
HRESULT OleFlushClipboard();
// Whether the data object is the one on the clipboard.
bool OleIsCurrentClipboard(const IDataObject* data);

}  // namespace rv
