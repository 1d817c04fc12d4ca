#include "platform/transfer/internal/mime_bridge.h"

#include <map>

#include "platform/files/streams.h"
#include "platform/transfer/clipboard_format_names.h"
#include "platform/transfer/media_bytes.h"

namespace rv {

namespace {

std::vector<TFormatEtc> OfferedFormats(IDataObject& object) {
    std::vector<TFormatEtc> formats;
    std::shared_ptr<IEnumFORMATETC> walker;
    if (FAILED(object.EnumFormatEtc(DATADIR_GET, walker)) || !walker) return formats;
    TFormatEtc format;
    ULONG fetched = 0;
    while (walker->Next(1, &format, &fetched) == S_OK && fetched == 1) formats.push_back(format);
    return formats;
}

// The bytes of a medium: a global block whole, a stream from its position to its end.
bool MediumBytes(TStgMedium& medium, std::string& bytes) {
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        const auto* p = static_cast<const char*>(GlobalLock(medium.hGlobal));
        bytes.assign(p, GlobalSize(medium.hGlobal));
        return true;
    }
    if (medium.tymed == TYMED_ISTREAM && medium.stream) {
        TStream& s = *medium.stream;
        const std::int64_t left = s.Size() - s.Position();
        bytes.resize(std::size_t(std::max<std::int64_t>(left, 0)));
        bytes.resize(s.Read(bytes.data(), bytes.size()));
        return true;
    }
    return false;
}

}  // namespace

std::shared_ptr<IDataObject> DataObjectMime::ObjectOf(const QMimeData* mime) {
    if (const auto* own = dynamic_cast<const DataObjectMime*>(mime)) return own->object_;
    return nullptr;
}

QStringList DataObjectMime::formats() const {
    QStringList types;
    for (const TFormatEtc& f : OfferedFormats(*object_)) {
        if (!(f.tymed & (TYMED_HGLOBAL | TYMED_ISTREAM))) continue;
        const QString type = QString::fromStdString(FormatMediaType(f.cfFormat));
        if (!type.isEmpty() && !types.contains(type)) types.append(type);
    }
    return types;
}

bool DataObjectMime::hasFormat(const QString& mediaType) const {
    return formats().contains(mediaType);
}

std::optional<QByteArray> DataObjectMime::Render(const QString& mediaType) const {
    // The first offered format of the type is the preferred one.
    for (const TFormatEtc& offered : OfferedFormats(*object_)) {
        if (QString::fromStdString(FormatMediaType(offered.cfFormat)) != mediaType) continue;
        TFormatEtc asked = offered;
        asked.tymed = offered.tymed & TYMED_HGLOBAL ? TYMED_HGLOBAL : TYMED_ISTREAM;
        TStgMedium medium;
        if (FAILED(object_->GetData(asked, medium))) continue;
        std::string bytes;
        const bool read = MediumBytes(medium, bytes);
        ReleaseStgMedium(medium);
        if (!read) continue;
        const std::string media = ToMediaBytes(offered.cfFormat, bytes);
        return QByteArray(media.data(), qsizetype(media.size()));
    }
    return std::nullopt;
}

QVariant DataObjectMime::retrieveData(const QString& mediaType, QMetaType) const {
    const std::optional<QByteArray> bytes = Render(mediaType);
    return bytes ? QVariant(*bytes) : QVariant();
}

QMimeData* DataObjectMime::Rendered() const {
    auto* plain = new QMimeData;
    for (const QString& type : formats())
        if (const std::optional<QByteArray> bytes = Render(type)) plain->setData(type, *bytes);
    return plain;
}

// ---- Data from the toolkit -------------------------------------------------------------------

namespace {

class MimeDataObject : public IDataObject {
public:
    MimeDataObject(const QMimeData* mime, bool copy) : empty_(!mime) {
        if (!mime) return;
        if (copy) {
            auto* kept = new QMimeData;
            for (const QString& type : mime->formats())
                if (!FormatsOfMediaType(type.toStdString()).empty())
                    kept->setData(type, mime->data(type));
            owned_.reset(kept);
            mime_ = kept;
        } else {
            mime_ = const_cast<QMimeData*>(mime);
        }
    }

    HRESULT GetData(const TFormatEtc& format, TStgMedium& medium) override {
        medium = TStgMedium{};
        const HRESULT query = QueryGetData(format);
        if (query != S_OK) return query;
        const QByteArray data =
            mime_->data(QString::fromStdString(FormatMediaType(format.cfFormat)));
        const std::string bytes = FromMediaBytes(
            format.cfFormat, std::string_view(data.constData(), std::size_t(data.size())));
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, bytes.size());
        if (!block) return E_OUTOFMEMORY;
        std::copy(bytes.begin(), bytes.end(), block->Bytes.begin());
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = std::move(block);
        return S_OK;
    }
    HRESULT GetDataHere(const TFormatEtc&, TStgMedium&) override { return E_NOTIMPL; }
    HRESULT QueryGetData(const TFormatEtc& format) override {
        if (empty_) return DV_E_FORMATETC;
        if (!mime_) return E_UNEXPECTED;  // the drag that carried them is over
        const std::string type = FormatMediaType(format.cfFormat);
        if (type.empty() || !mime_->hasFormat(QString::fromStdString(type))) return DV_E_FORMATETC;
        if (!(format.tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        if (format.dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        if (format.lindex != -1) return DV_E_LINDEX;
        return S_OK;
    }
    HRESULT GetCanonicalFormatEtc(const TFormatEtc&, TFormatEtc& canonical) override {
        canonical.ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT SetData(const TFormatEtc&, TStgMedium&, bool) override { return E_NOTIMPL; }
    HRESULT EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) override;
    HRESULT DAdvise(const TFormatEtc&, DWORD, const std::shared_ptr<IAdviseSink>&,
                    DWORD& connection) override {
        connection = 0;
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT EnumDAdvise(std::vector<TStatData>&) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    bool empty_;
    std::unique_ptr<QMimeData> owned_;
    QPointer<QMimeData> mime_;
};

HRESULT MimeDataObject::EnumFormatEtc(DWORD direction, std::shared_ptr<IEnumFORMATETC>& formats) {
    formats.reset();
    if (direction != DATADIR_GET) return E_NOTIMPL;
    std::vector<TFormatEtc> list;
    if (mime_)
        for (const QString& type : mime_->formats())
            for (TClipFormat f : FormatsOfMediaType(type.toStdString()))
                list.push_back(TFormatEtc{f, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
    formats = WalkFormats(std::move(list));
    return S_OK;
}

}  // namespace

std::shared_ptr<IDataObject> DataObjectFor(const QMimeData* mime, bool copy) {
    if (auto own = DataObjectMime::ObjectOf(mime)) return own;
    return std::make_shared<MimeDataObject>(mime, copy);
}

Qt::DropActions ActionsOf(DWORD effects) {
    Qt::DropActions actions;
    if (effects & DROPEFFECT_COPY) actions |= Qt::CopyAction;
    if (effects & DROPEFFECT_MOVE) actions |= Qt::MoveAction;
    if (effects & DROPEFFECT_LINK) actions |= Qt::LinkAction;
    return actions;
}

DWORD EffectsOf(Qt::DropActions actions) {
    DWORD effects = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction) effects |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction) effects |= DROPEFFECT_MOVE;
    if (actions & Qt::LinkAction) effects |= DROPEFFECT_LINK;
    return effects;
}

}  // namespace rv
