// The artist tree's pop-up menu as the user works it: opened by a right click, an entry chosen
// with the mouse, its dialog ended either way, then opened again on another node, with the idle
// pass between every step as the message loop runs it.

#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"
#include "app/tests/view_input.h"
#include "platform/framework/modal_script.h"
#include "platform/framework/tests/popup_input.h"

namespace rv {
namespace {

using Entries = std::vector<std::string>;

// Message boxes as the toolkit shows them: the message loop, idle pass included, runs while one
// is open; then it takes the scripted answer.
class PumpingDialogs : public TScriptedDialogs {
public:
    explicit PumpingDialogs(Twnd_rv_Main& window) : window_(window) {}
    int MessageBox(HWND owner, const std::string& text, const std::string& caption,
                   unsigned type) override {
        for (int i = 0; i < 3; ++i) {
            test::App().ProcessMessages();
            window_.UpdateCommands();
        }
        return TScriptedDialogs::MessageBox(owner, text, caption, type);
    }

private:
    Twnd_rv_Main& window_;
};

class PopupMenuUse : public test::AppTest {
protected:
    PopupMenuUse() { ShowLibrary(); }

    PVirtualNode Row(const std::string& text) {
        for (PVirtualNode n = W().Tree->GetFirst(); n; n = W().Tree->GetNext(n))
            if (W().Tree->GetText(n, 0) == text) return n;
        ADD_FAILURE() << text;
        return nullptr;
    }
    // The message loop with its idle pass, a few turns.
    void Idle() {
        for (int i = 0; i < 3; ++i) {
            Settle();
            W().UpdateCommands();
        }
    }
    // A right click on the node's text, the idle pass running while the button is down.
    void RightClick(const std::string& node) {
        const TPoint at = test::OnText(W().Tree, Row(node));
        test::SendToolkitMouse(W().Tree->Handle(), test::ToolkitMouse::Press, at,
                               test::ToolkitButton::Right);
        W().UpdateCommands();
        test::SendToolkitMouse(W().Tree->Handle(), test::ToolkitMouse::Release, at,
                               test::ToolkitButton::Right);
        Idle();
    }
    void LeftClick(const std::string& node) {
        test::Click(W().Tree, test::OnText(W().Tree, Row(node)));
        Idle();
    }
    std::string FocusedText() {
        PVirtualNode node = W().Tree->FocusedNode();
        return node ? W().Tree->GetText(node, 0) : "<none>";
    }

    const Entries artistEntries{"Add Track...",         "-", "Album Properties...",
                                "Artist Properties...", "-", "Delete Album",
                                "Delete Artist"};
};

TEST_F(PopupMenuUse, DeleteArtistChosenFromThePopUpMenuAndTheMenuOpenedAgain) {
    PumpingDialogs dialogs(W());
    RightClick("Coltrane, John");
    ASSERT_EQ(test::OpenPopupEntries(), artistEntries);
    dialogs.AnswerButton(IDYES);
    ASSERT_TRUE(test::ChooseFromPopup("Delete Artist"));
    Idle();
    EXPECT_TRUE(test::OpenPopupEntries().empty());
    EXPECT_EQ(test::Outline(W().Tree),
              (Entries{"Abba", "Abba / Arrival", "Davis, Miles", "Davis, Miles / Bitches Brew",
                       "Davis, Miles / Kind of Blue"}));

    // Again on what is left, then closed with Esc.
    RightClick("Abba");
    EXPECT_EQ(test::OpenPopupEntries(), artistEntries);
    EXPECT_TRUE(test::EscapePopup());
    Idle();
    dialogs.AnswerButton(IDYES);
    RightClick("Davis, Miles");
    ASSERT_TRUE(test::ChooseFromPopup("Delete Artist"));
    Idle();
    EXPECT_EQ(test::Outline(W().Tree), (Entries{"Abba", "Abba / Arrival"}));
    EXPECT_EQ(dialogs.Calls.size(), 2u);
}

TEST_F(PopupMenuUse, ArtistPropertiesEndedEitherWayThenAnotherNodeRightClicked) {
    for (TModalResult ending : {mrOk, mrCancel}) {
        TModalScript script;
        script.Then([&](TCustomForm& form) { form.ModalResult = ending; });
        RightClick("Coltrane, John");
        ASSERT_TRUE(test::ChooseFromPopup("Artist Properties..."));
        Idle();
        EXPECT_EQ(script.Shown, Entries{"Artist Properties"});

        LeftClick("Abba");
        EXPECT_EQ(FocusedText(), "Abba");
        RightClick("Davis, Miles");
        EXPECT_EQ(FocusedText(), "Davis, Miles");
        EXPECT_EQ(test::OpenPopupEntries(), artistEntries);
        EXPECT_TRUE(test::EscapePopup());
        Idle();
    }
    EXPECT_EQ(W().Library().GetArtistCount(), 3);
}

}  // namespace
}  // namespace rv
