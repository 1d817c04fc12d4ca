// The player window, as the main window's command shows it.

#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"
#include "player/player_window.h"

namespace rv {
namespace {

using PlayerCommand = test::AppTest;

TEST_F(PlayerCommand, ShowsOnePlayerWindowOfTheMainWindowAndKeepsIt) {
    W().Show();
    W().sbMP3Player->Click();
    Twnd_mp3_Player* player = PlayerWindow();
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->Visible());
    EXPECT_EQ(player->Owner(), &W());
    player->Close();
    EXPECT_FALSE(player->Visible());
    EXPECT_TRUE(W().Visible());
    W().mmMP3Player->Click();
    EXPECT_EQ(PlayerWindow(), player);
    EXPECT_TRUE(player->Visible());
    window.reset();
    EXPECT_EQ(PlayerWindow(), nullptr);
}

}  // namespace
}  // namespace rv
