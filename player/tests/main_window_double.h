#pragma once
// The main window as the player window sees it: a form that files the tracks it is given in a
// library of its own, through the program's import.

#include <string>
#include <vector>

#include "import/file_import.h"
#include "platform/framework/form.h"
#include "player/media_library_link.h"

namespace rv::test {

class MainWindowDouble : public TForm, public TMediaLibraryLink {
public:
    MainWindowDouble() : TForm(nullptr) {
        SetCaption("Lorvix Reelvault");
        SetBounds(40, 40, 300, 200);
        OnCloseQuery = [this](TObject*, bool& canClose) {
            ++closeQueries;
            canClose = mayClose;
        };
        OnClose = [this](TObject*, TCloseAction&) { ++closes; };
    }
    ~MainWindowDouble() override { DestroyComponents(); }

    bool LibraryShown() const override { return libraryShown; }
    void AddFileTrack(const std::string& fileName) override {
        added.push_back(fileName);
        import.AddFile(fileName, library);
    }

    bool libraryShown = true;
    bool mayClose = true;
    int closeQueries = 0;
    int closes = 0;
    std::vector<std::string> added;
    TMediaLib library;
    FileImport import;
};

}  // namespace rv::test
