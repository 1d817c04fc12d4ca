#pragma once

#include <string>
#include <vector>

#include "platform/components/component.h"

namespace rv {

class TControl;
class TImageList;

// Holds actions together with the image list their images come from.
class TActionList : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TActionList"; }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TImageList* images_ = nullptr;
};

// A command shared by controls: the controls linked to it show its caption, enabled state, hint
// and visibility, follow its changes, and run it when clicked (unless they have an OnClick).
class TCustomAction : public TComponent {
public:
    using TComponent::TComponent;
    ~TCustomAction() override;
    std::string ClassName() const override { return "TAction"; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* list) { SetLink(actionList_, list); }

    TNotifyEvent OnExecute;
    // Runs OnExecute; false when there is none or the action is disabled.
    virtual bool Execute();

    void RegisterClient(TControl* control);
    void UnregisterClient(TControl* control);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Changed();

    std::string caption_;
    bool enabled_ = true;
    std::string hint_;
    bool visible_ = true;
    int imageIndex_ = -1;
    TActionList* actionList_ = nullptr;
    std::vector<TControl*> clients_;
};

using TAction = TCustomAction;

}  // namespace rv
