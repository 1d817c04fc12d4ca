#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/components/properties.h"

namespace rv {

class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class EComponentError : public Exception {
public:
    using Exception::Exception;
};

enum TComponentStateFlag : unsigned { csLoading = 1, csDestroying = 2, csDesigning = 4 };
enum class TOperation { opInsert, opRemove };

// Owner of other components: whatever it owns is freed with it (last inserted first). A name is
// unique among the components of one owner, compared without regard to ASCII case.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);  // EComponentError for a name already taken

    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }
    TComponent* FindComponent(const std::string& name) const;

    unsigned ComponentState() const { return state_; }
    bool Destroying() const { return state_ & csDestroying; }
    bool Loading() const { return state_ & csLoading; }

    // A number for the program's own use.
    int Tag = 0;

    // Ends ownership: `component` is no longer freed with this one.
    void RemoveComponent(TComponent* component);
    void InsertComponent(TComponent* component);

    // Asks that this component hear of it (Notification, opRemove) when `component` is freed,
    // whoever owns it. The link goes both ways: whichever of the two goes first tells the other.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Marks the end of building: every component this one owns, then this one, runs Loaded, as
    // when a form has been read. A form built in code calls it once its components are made,
    // named, linked and given their handlers.
    void FinishLoading();

    // Adds the published properties of the class to `list` (derived classes add theirs after
    // their base's). TComponent publishes Tag.
    virtual void PublishProperties(TPropList& list);

protected:
    // The component and its fellows are complete: references may be resolved now.
    virtual void Loaded();
    // Points a reference held by this component at `value`, asking to hear when `value` goes;
    // false when it pointed there already. The link to the old value stays until either of the
    // two goes, as another reference of this component may point there too: Notification
    // handlers drop only the references that name the component going.
    template <class T>
    bool SetLink(T*& link, T* value) {
        if (link == value) return false;
        link = value;
        if (link) FreeNotification(link);
        return true;
    }
    // Called on every component of the owner when one of them joins or leaves, so that
    // references to it can be dropped.
    virtual void Notification(TComponent* component, TOperation operation);
    // Frees the owned components now; a derived destructor calls it before its own parts go.
    void DestroyComponents();
    void MarkDestroying() { state_ |= csDestroying; }
    void SetLoading(bool loading) { loading ? state_ |= csLoading : state_ &= ~csLoading; }

private:
    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    unsigned state_ = 0;
};

}  // namespace rv
