#include <gtest/gtest.h>

#include "audio/SongPrerenderer.h"
#include "audio/Songs.h"
#include "audio/Synth.h"

namespace {
std::vector<SongPrerenderer::Job> allSongs() {
    std::vector<SongPrerenderer::Job> jobs;
    for (const BuiltinSong& s : builtinSongs()) jobs.push_back({s.id, s.factory});
    return jobs;
}
}  // namespace

TEST(SongPrerenderer, GivesTheSameSamplesAsRenderingHere) {
    SongPrerenderer pre({{"title", builtinSongFactory("title")}, {"boss", builtinSongFactory("boss")}});
    pre.waitUntilIdle();
    EXPECT_TRUE(pre.isReady("title"));
    const auto title = pre.take("title");
    ASSERT_TRUE(title);
    EXPECT_EQ(*title, renderSong(builtinSongFactory("title")()));
    EXPECT_FALSE(pre.isReady("title"));
    // A second request renders again on the spot, with the same result.
    EXPECT_EQ(pre.take("title"), title);
    EXPECT_FALSE(pre.take("lobby"));
}

TEST(SongPrerenderer, AskingFirstRendersOnTheSpot) {
    // Whether the worker has got there or not, the caller always gets the song.
    SongPrerenderer pre(allSongs());
    const auto lobby = pre.take("lobby");
    const auto temple = pre.take("temple");
    ASSERT_TRUE(lobby && temple);
    EXPECT_EQ(*lobby, renderSong(builtinSongFactory("lobby")()));
    EXPECT_EQ(*temple, renderSong(builtinSongFactory("temple")()));
}

TEST(SongPrerenderer, ClosingWhileRenderingDoesNotWait) {
    // Destroyed at once and after a moment's work: both return, the worker gives up its song.
    { SongPrerenderer pre(allSongs()); }
    {
        SongPrerenderer pre(allSongs());
        EXPECT_TRUE(pre.take("title"));
    }
}

TEST(SongPrerenderer, EmptyFactoryIsSilence) {
    SongPrerenderer pre({{"nothing", SongFactory{}}});
    const auto s = pre.take("nothing");
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->empty());
}
