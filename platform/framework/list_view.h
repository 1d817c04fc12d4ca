#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/widget_control.h"
#include "platform/graphics/image_list.h"
#include "platform/graphics/text_flags.h"

namespace rv {

class TListView;

// One row of a list view: the caption in the first column and the sub-items in the next ones,
// in order. Sub-items beyond the columns are kept, not shown.
class TListItem {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::vector<std::string>& SubItems() const { return subItems_; }
    void SetSubItems(const std::vector<std::string>& subItems);
    void AddSubItem(const std::string& text);
    // Empty beyond the sub-items there are.
    std::string SubItem(int index) const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);

    int Index() const { return index_; }
    bool Selected() const;
    void SetSelected(bool selected);
    // Scrolls the list so that the row shows.
    void MakeVisible();
    // Removes the row from its list and frees it.
    void Delete();
    TListView* ListView() const { return owner_; }

private:
    friend class TListView;
    explicit TListItem(TListView* owner) : owner_(owner) {}

    TListView* owner_;
    int index_ = 0;
    std::string caption_;
    std::vector<std::string> subItems_;
    int imageIndex_ = -1;
};

// A list of rows in columns (the report style): one row selected at a time, whole rows, nothing
// edited in place.
class TListView : public TWidgetControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;
    std::string ClassName() const override { return "TListView"; }

    // Returns the new column's position.
    int AddColumn(const std::string& caption, int width = 50, TAlignment alignment = taLeftJustify);
    int ColumnCount() const { return int(columns_.size()); }
    std::string ColumnCaption(int index) const;
    int ColumnWidth(int index) const;  // as the user left it

    TListItem* AddItem();
    int ItemCount() const { return int(items_.size()); }
    TListItem* Items(int index) const;  // nullptr out of range
    void DeleteItem(int index);
    void ClearItems();

    // The selected row, or nullptr; setting nullptr selects none.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    int ItemIndex() const;
    void SetItemIndex(int index);

    // Pictures of the rows (ImageIndex), drawn before the captions; the list must outlive the
    // control or be taken away first.
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* images);

    // Clicking a column header raises nothing and shows nothing pressed unless set.
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool value);
    // The selection shows (greyed) also while the list has no focus, unless set.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    // The row under the mouse is underlined and the mouse shows a hand over it.
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);

    // A row became selected (true) or stopped being selected (false), by the user or the
    // program.
    std::function<void(TObject* sender, TListItem* item, bool selected)> OnSelectItem;

protected:
    void ApplyLook() override;
    // Small images that go are shown no more.
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItem;
    struct Face;
    void ShowItem(const TListItem& item);
    void Renumber(int from);

    std::vector<std::unique_ptr<TListItem>> items_;
    std::vector<std::string> columns_;
    TImageList* smallImages_ = nullptr;
    bool columnClick_ = true;
    bool hideSelection_ = true;
    bool hotTrack_ = false;
    std::unique_ptr<Face> face_;
};

}  // namespace rv
