#pragma once
// The toolkit's side of data objects; platform .cpp files only.

#include <QMimeData>
#include <QPointer>
#include <memory>
#include <optional>

#include "platform/transfer/data_object.h"

namespace rv {

// A data object as the toolkit's clipboard and drags carry it: its formats under their media
// types, each rendered only when a reader asks for it.
class DataObjectMime : public QMimeData {
public:
    explicit DataObjectMime(std::shared_ptr<IDataObject> object) : object_(std::move(object)) {}
    const std::shared_ptr<IDataObject>& Object() const { return object_; }
    // The data object behind toolkit data made here, else nil.
    static std::shared_ptr<IDataObject> ObjectOf(const QMimeData* mime);

    QStringList formats() const override;
    bool hasFormat(const QString& mediaType) const override;
    // Every format rendered now into plain toolkit data.
    QMimeData* Rendered() const;

protected:
    QVariant retrieveData(const QString& mediaType, QMetaType type) const override;

private:
    // The bytes of the type; nothing when no format of it could be rendered.
    std::optional<QByteArray> Render(const QString& mediaType) const;
    std::shared_ptr<IDataObject> object_;
};

// A data object for toolkit data: the one it was made from, or one over the formats whose media
// types the data carry, read when asked: from a copy taken now (`copy`, for the clipboard, which
// may change) or from the data while the toolkit keeps them (a drag's).
std::shared_ptr<IDataObject> DataObjectFor(const QMimeData* mime, bool copy);

// Drop effects as the toolkit's drop actions and back.
Qt::DropActions ActionsOf(DWORD effects);
DWORD EffectsOf(Qt::DropActions actions);

}  // namespace rv
