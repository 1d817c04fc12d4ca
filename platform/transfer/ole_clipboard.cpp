#include "platform/transfer/ole_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/transfer/internal/mime_bridge.h"

namespace rv {

namespace {

QClipboard* Clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

const DataObjectMime* OwnData(QClipboard* clipboard) {
    return dynamic_cast<const DataObjectMime*>(clipboard->mimeData(QClipboard::Clipboard));
}

}  // namespace

HRESULT OleSetClipboard(const std::shared_ptr<IDataObject>& data) {
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return CLIPBRD_E_CANT_OPEN;
    if (data)
        clipboard->setMimeData(new DataObjectMime(data), QClipboard::Clipboard);
    else
        clipboard->clear(QClipboard::Clipboard);
    return S_OK;
}

HRESULT OleGetClipboard(std::shared_ptr<IDataObject>& data) {
    data.reset();
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return CLIPBRD_E_CANT_OPEN;
    data = DataObjectFor(clipboard->mimeData(QClipboard::Clipboard), true);
    return S_OK;
}

HRESULT OleFlushClipboard() {
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return CLIPBRD_E_CANT_OPEN;
    if (const DataObjectMime* own = OwnData(clipboard))
        clipboard->setMimeData(own->Rendered(), QClipboard::Clipboard);
    return S_OK;
}

bool OleIsCurrentClipboard(const IDataObject* data) {
    QClipboard* clipboard = Clipboard();
    if (!clipboard || !data) return false;
    const DataObjectMime* own = OwnData(clipboard);
    return own && own->Object().get() == data;
}

}  // namespace rv
