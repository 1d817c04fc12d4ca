#include <gtest/gtest.h>

#include "platform/framework/common_dialogs.h"
#include "platform/framework/form.h"
#include "platform/windows/scripted_dialogs.h"
#include "platform/windows/tests/gui_app.h"

namespace rv {
namespace {

TEST(FileDialogs, ExecuteAsksTheServiceAndKeepsWhatTheUserChose) {
    test::App();
    TScriptedDialogs dialogs;
    TForm form(nullptr);
    auto* od = new TOpenDialog(&form);
    od->Filter = "Audio files|*.mp1;*.mp2;*.mp3;*.wma|All files|*.*";
    od->Options = ofAllowMultiSelect | ofPathMustExist | ofFileMustExist;
    od->InitialDir = "/music";
    auto* sd = new TSaveDialog(&form);
    sd->DefaultExt = "xml";
    sd->Filter = "XML files|*.xml|All files|*.*";
    sd->Options = ofOverwritePrompt;
    sd->FileName = "Rock_Brief";

    dialogs.AnswerFiles({"/music/a.mp3", "/music/b.txt"}, 2);
    ASSERT_TRUE(od->Execute());
    EXPECT_EQ(od->FileName, "/music/a.mp3");
    EXPECT_EQ(od->Files(), (std::vector<std::string>{"/music/a.mp3", "/music/b.txt"}));
    EXPECT_EQ(od->FilterIndex, 2);

    dialogs.AnswerCancel();
    EXPECT_FALSE(od->Execute());
    EXPECT_EQ(od->FileName, "/music/a.mp3");  // cancelling changes nothing

    dialogs.AnswerFiles({"/out/list"});
    ASSERT_TRUE(sd->Execute());
    EXPECT_EQ(sd->FileName, "/out/list.xml");

    ASSERT_EQ(dialogs.Calls.size(), 3u);
    EXPECT_EQ(dialogs.Calls[0].Kind, TDialogKind::Open);
    EXPECT_EQ(dialogs.Calls[0].Owner, form.Handle());
    EXPECT_EQ(dialogs.Calls[0].InitialDir, "/music");
    EXPECT_EQ(dialogs.Calls[2].Kind, TDialogKind::Save);
    EXPECT_EQ(dialogs.Calls[2].Text, "Rock_Brief");
    EXPECT_EQ(dialogs.Calls[2].Type, unsigned(ofOverwritePrompt));

    // The folder the player remembers is a stored property.
    TPropList props = GetPropList(od);
    const TPropInfo* initialDir = FindPropInfo(props, "InitialDir");
    ASSERT_NE(initialDir, nullptr);
    initialDir->SetString("/music/jazz");
    EXPECT_EQ(od->InitialDir, "/music/jazz");
}

}  // namespace
}  // namespace rv
