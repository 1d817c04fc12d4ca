#pragma once

#include <string>
#include <vector>

#include "platform/framework/menus.h"

namespace rv {

// The most recently used files: a list kept in the current user's registry under
// "SOFTWARE\<Manufacturer>\<Application>\<Version>\Recent Files" as "File 0" (the most recent)
// to "File <n-1>", mirrored as menu entries "&<index in hex> <file name>" at the end of a
// main-menu item (after a separator of its own) or in a popup menu.
//
// File names are kept as given, made absolute, and compared exactly: on Linux names that differ
// only in case are different files. An "&" in a name is shown, not taken as an accelerator.
class Lorvix_MRUList : public TComponent {
public:
    explicit Lorvix_MRUList(TComponent* owner);
    // Saves the list.
    ~Lorvix_MRUList() override;
    std::string ClassName() const override { return "Lorvix_MRUList"; }

    // The parts of the registry key. Changing one saves the list under the old key first; the
    // next use loads it from the new one. Without a manufacturer the registry is not used.
    const std::string& Application() const { return application_; }
    void SetApplication(const std::string& value);
    const std::string& Manufacturer() const { return manufacturer_; }
    void SetManufacturer(const std::string& value);
    const std::string& Version() const { return version_; }
    void SetVersion(const std::string& value);

    // How many files the list holds, at least 1 (a smaller value is taken as 1). A smaller
    // capacity trims the list at the next addition or load.
    int Capacity() const { return capacity_; }
    void SetCapacity(int value);

    // The menus the list shows in; assigning one fills it.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* menu);
    TMenuItem* MainMenuItem() const { return mainMenuItem_; }
    void SetMainMenuItem(TMenuItem* item);

    // Raised with the chosen menu item as sender; its Tag is the file's index in GetFiles
    // (popup items: through their caption, Tag stays 0).
    TNotifyEvent OnPopupMenuClick;
    TNotifyEvent OnMenuItemClick;

    // Reads the list from the registry, once: "File 0", "File 1" ... up to the first number that
    // is missing, at most Capacity names, each name once.
    void Load();
    // The list, loaded first; index 0 is the most recent file.
    const std::vector<std::string>& GetFiles();
    // Puts the file at the top (moving it there when listed) and refreshes the menus; Save
    // writes it.
    void AddFile(const std::string& fileName);
    // Writes the list (and removes "File n" values beyond it); an empty list removes the key.
    // Failures are not reported: the list is a convenience.
    void Save();

    void RebuildMainMenu();
    void RebuildPopupMenu();

    // The registry key of the list.
    virtual std::string GetRegKey() const;

protected:
    virtual void DoMenuItemClick(TObject* sender);
    virtual void DoPopupMenuClick(TObject* sender);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void KeyChanging(std::string& part, const std::string& value);
    void AddItems(TMenuItem* parent, bool mainMenu);

    std::string application_, manufacturer_, version_;
    int capacity_ = 5;
    TPopupMenu* popupMenu_ = nullptr;
    TMenuItem* mainMenuItem_ = nullptr;
    std::vector<std::string> files_;
    bool loaded_ = false;
};

}  // namespace rv
