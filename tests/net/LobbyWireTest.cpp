#include <gtest/gtest.h>

#include "gameplay/Player.h"
#include "net/LobbyWire.h"

TEST(LobbyWire, NamesAndTextsFromTheWireAreCleanedAndCut) {
    struct Case {
        std::string in, out;
    };
    const Case names[] = {
        {"Ana", "Ana"},
        {"  Ana  ", "Ana"},
        {"", "Player"},
        {"   \t\r\n", "Player"},
        {"\x01\x02\x7f", "Player"},
        {"Bo\nb\tby", "Bobby"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMN"},
        {"Zoë the great", "Zo the great"},
        {std::string(14, ' ') + "x", "Player"},  // the fourteen kept characters are all blanks
    };
    for (const Case& c : names) EXPECT_EQ(cleanLobbyName(c.in), c.out) << c.in;
    EXPECT_EQ(cleanWireText(std::string(500, 'a'), 80).size(), 80u);
    EXPECT_EQ(cleanWireText("a\x1b[31mb\x80", 80), "a[31mb");
}

TEST(LobbyWire, PlacesAndSettingBytes) {
    const char* suffixes[] = {"th", "st", "nd", "rd", "th", "th", "th"};
    for (int place = 0; place < 7; ++place) EXPECT_EQ(placeSuffix(place), suffixes[place]) << place;
    EXPECT_EQ(finishNotice("Ana", 2), "Ana finished 2nd!");
    EXPECT_EQ(finishNotice("Bo", 4), "Bo finished 4th!");

    struct Case {
        std::uint8_t byte;
        int zone, act, mode;
    };
    const Case cases[] = {{0, 0, 1, kModeRace},  {1, 1, 1, kModeTogether}, {2, 2, 2, kModeRace},
                          {3, 3, 2, kModeRace},  {5, 5, 2, kModeRace},     {7, 5, 2, kModeRace},
                          {9, 5, 2, kModeRace},  {255, 5, 2, kModeRace}};
    for (const Case& c : cases) {
        EXPECT_EQ(zoneFromByte(c.byte), c.zone) << int(c.byte);
        EXPECT_EQ(actFromByte(c.byte), c.act) << int(c.byte);
        EXPECT_EQ(modeFromByte(c.byte), c.mode) << int(c.byte);
    }
    EXPECT_EQ(nextLobbyAct(0, 1).zone, 0);
    EXPECT_EQ(nextLobbyAct(0, 1).act, 2);
    EXPECT_EQ(nextLobbyAct(4, 2).zone, 5);
    EXPECT_EQ(nextLobbyAct(4, 2).act, 1);
    EXPECT_EQ(nextLobbyAct(5, 2).zone, 6);
}

TEST(LobbyWire, StateFlagsFromThePlayer) {
    Player p = makePlayer(0, {100, 200});
    EXPECT_EQ(playerStateFlags(p), kStateVisible);
    p.rotation = 12;
    p.spinPhase = 3;
    EXPECT_EQ(playerStateValue(p), 12);
    p.rolling = true;
    p.facing = -1;
    p.hurtTime = 0.5f;
    p.transformed = p.divine = true;
    EXPECT_EQ(playerStateFlags(p), 1 | 2 | 4 | 8 | 16 | 32);
    EXPECT_EQ(playerStateValue(p), 3);
}

TEST(LobbyWire, BeaconTextAndReading) {
    const std::string text = formatBeacon(47788, "Ana", 3);
    EXPECT_EQ(text, "MIVOLOBBY 2\n47788\nAna\n3/6");
    const auto b = parseBeacon(text.data(), text.size());
    ASSERT_TRUE(b);
    EXPECT_EQ(b->port, 47788);
    EXPECT_EQ(b->name, "Ana");
    EXPECT_EQ(b->count, "3/6");

    struct Case {
        std::string text;
        bool listed;
    };
    const Case cases[] = {
        {"MIVOLOBBY 1\n47787\nAna\n1/6", false},   // another version
        {"MIVOLOBBY 2\n50000\nAna\n1/6", false},   // not a lobby port
        {"MIVOLOBBY 2\n47786\nAna\n1/6", false},
        {"MIVOLOBBY 2\n47791\nAna\n1/6", false},
        {"MIVOLOBBY 2\n47790\nAna\n1/6", true},
        {"MIVOLOBBY 2\n47787\nAna", false},        // three lines
        {"MIVOLOBBY 2\n47787\nAna\n", true},       // an empty fourth line
        {"MIVOLOBBY 2\n47787\nAna\n1/6\nmore", true},
        {"MIVOLOBBY 2 \n47787\nAna\n1/6", false},
        {"MIVOLOBBY 2\n+47787\nAna\n1/6", false},
        {"MIVOLOBBY 2\n0047787\nAna\n1/6", true},
        {"MIVOLOBBY 2\n99999999999999999999\nAna\n1/6", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(parseBeacon(c.text.data(), c.text.size()).has_value(), c.listed) << c.text;

    const std::string wild = "MIVOLOBBY 2\n47787\n\x01Very long name indeed\x02\n123456789/6";
    const auto w = parseBeacon(wild.data(), wild.size());
    ASSERT_TRUE(w);
    EXPECT_EQ(w->name, "Very long name");
    EXPECT_EQ(w->count, "12345678");
}

TEST(LobbyWire, FoundLobbiesAreRefreshedCappedAndForgotten) {
    std::vector<FoundLobby> found;
    BeaconInfo b{47787, "Host", "1/6"};
    for (std::uint32_t a = 1; a <= 9; ++a) noteFoundLobby(found, a, b);
    ASSERT_EQ(found.size(), 8u);  // the ninth is not listed
    EXPECT_EQ(found.back().address, 8u);

    ageFoundLobbies(found, 3.0f);
    b.count = "2/6";
    noteFoundLobby(found, 2, b);  // a refresh, not a new entry
    EXPECT_EQ(found.size(), 8u);
    ageFoundLobbies(found, 1.5f);  // all but lobby 2 are now 4.5 s old
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].address, 2u);
    EXPECT_EQ(found[0].count, "2/6");
    noteFoundLobby(found, 9, b);  // room again for the ninth
    EXPECT_EQ(found.size(), 2u);
}

TEST(LobbyWire, FramesAreCutFromAnyChunkingAndOversizedPrefixesRefused) {
    sf::Packet a, b, empty;
    a << sf::Uint8(9);
    b << sf::Uint8(10) << std::string("hello there");
    const std::string stream = framePacket(a) + framePacket(b) + framePacket(empty);
    for (std::size_t chunk : {std::size_t(1), std::size_t(3), std::size_t(7), stream.size()}) {
        FrameReader r;
        std::vector<std::size_t> sizes;
        sf::Packet p;
        for (std::size_t at = 0; at < stream.size(); at += chunk) {
            r.append(stream.data() + at, std::min(chunk, stream.size() - at));
            while (r.next(p) == FrameReader::Next::Packet) sizes.push_back(p.getDataSize());
        }
        EXPECT_EQ(sizes, (std::vector<std::size_t>{a.getDataSize(), b.getDataSize(), 0})) << chunk;
        EXPECT_EQ(r.buffered(), 0u);
    }

    struct Case {
        std::string header;
        FrameReader::Next next;
    };
    const Case cases[] = {
        {std::string("\xff\xff\xff\xff", 4), FrameReader::Next::TooBig},  // 4 GB
        {std::string("\x00\x01\x00\x01", 4), FrameReader::Next::TooBig},  // 64 KiB + 1
        {std::string("\x00\x01\x00\x00", 4), FrameReader::Next::NeedMore},
        {std::string("\x00\x00\x00", 3), FrameReader::Next::NeedMore},
    };
    for (const Case& c : cases) {
        FrameReader r;
        r.append(c.header.data(), c.header.size());
        sf::Packet p;
        EXPECT_EQ(r.next(p), c.next);
        EXPECT_LE(r.buffered(), 4u);
    }
}
