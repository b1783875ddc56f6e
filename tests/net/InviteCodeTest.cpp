#include <gtest/gtest.h>

#include <cctype>

#include "net/InviteCode.h"

namespace {

std::uint32_t ip(int a, int b, int c, int d) {
    return std::uint32_t(a) << 24 | std::uint32_t(b) << 16 | std::uint32_t(c) << 8 | std::uint32_t(d);
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST(InviteCode, RoundTripsEveryPortAndFlagForManyAddresses) {
    std::vector<std::uint32_t> addresses = {0u,          0xFFFFFFFFu,          ip(127, 0, 0, 1), ip(192, 168, 1, 23),
                                            ip(10, 0, 0, 138), ip(100, 64, 3, 4), ip(8, 8, 8, 8),   ip(255, 0, 255, 0)};
    // And a spread over the whole range.
    for (std::uint32_t a = 0x01234567u, i = 0; i < 200; ++i) addresses.push_back(a = a * 2654435761u + 12345u);
    for (std::uint32_t a : addresses) {
        for (int port = 0; port < 4; ++port) {
            for (bool global : {false, true}) {
                const std::string code = encodeInviteCode(a, port, global);
                ASSERT_EQ(code.size(), kInviteCodeLength);
                ASSERT_EQ(code.substr(0, 5), "MIVO-");
                ASSERT_EQ(code[8], '-');
                const InviteTarget t = decodeInviteCode(code);
                ASSERT_TRUE(t.valid) << code;
                EXPECT_EQ(t.address, a) << code;
                EXPECT_EQ(t.port, 47787 + port) << code;
                EXPECT_EQ(t.global, global) << code;
            }
        }
    }
}

TEST(InviteCode, KnownCodeOfTheMaskAlone) {
    // Address 0, port index 0, local: the packed value is 0, so the code
    // spells the mask.
    const std::string code = encodeInviteCode(0, 0, false);
    std::uint64_t w = 0;
    for (char c : code.substr(5, 3) + code.substr(9, 4)) w = w * 32 + std::uint64_t(inviteCharValue(c));
    EXPECT_EQ(w, kInviteMask);
}

TEST(InviteCode, ReadsTypedAndPastedText) {
    const std::uint32_t a = ip(192, 168, 1, 23);
    const std::string code = encodeInviteCode(a, 2, true);
    const std::string bare = code.substr(5, 3) + code.substr(9, 4);
    const InviteTarget expected = decodeInviteCode(code);
    ASSERT_TRUE(expected.valid);

    struct Case {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {code, true},
        {lower(code), true},                                    // lower case
        {bare, true},                                           // no prefix
        {code.substr(5), true},                                 // "ABC-DEFG"
        {bare.substr(0, 3) + " " + bare.substr(3), true},       // a space between the groups
        {"  " + code + "  ", true},
        {code + "XYZ", true},                                   // extra characters after the seventh are ignored
        {code + "!", true},
        {inviteMessage(code), true},                            // the whole invite message
        {"hey, here: " + code + " see you", true},              // words before a prefixed code
        {"MIVO-AAAAAAA then " + code, true},                    // the last prefix counts
        {code.substr(0, 12), false},                            // six code characters
        {bare.substr(0, 6), false},
        {"", false},
        {"MIVO-", false},
        {"MIVO " + bare.substr(0, 3) + "-" + bare.substr(3), false},  // the prefix without its hyphen
        {"MIVO-" + bare.substr(0, 2) + "O" + bare.substr(3), false},   // the letter O ends the reading
        {"MIVO-" + bare.substr(0, 2) + "0" + bare.substr(3), false},   // so does the digit 0
        {"!?# " + bare, true},                                  // leading other characters are skipped
    };
    for (const Case& c : cases) {
        const InviteTarget t = decodeInviteCode(c.text);
        EXPECT_EQ(t.valid, c.valid) << c.text;
        if (t.valid && c.valid) {
            EXPECT_EQ(t.address, expected.address) << c.text;
            EXPECT_EQ(t.port, expected.port) << c.text;
            EXPECT_EQ(t.global, expected.global) << c.text;
        }
    }
}

TEST(InviteCode, WordsBeforeAnUnprefixedCodeAreReadAsCode) {
    const std::string code = encodeInviteCode(ip(10, 1, 2, 3), 1, false);
    const std::string bare = code.substr(5, 3) + code.substr(9, 4);
    // "HEY" is made of code characters: it shifts the code to another target.
    const InviteTarget shifted = decodeInviteCode("HEY " + bare);
    ASSERT_TRUE(shifted.valid);
    EXPECT_NE(encodeInviteTarget(shifted), code);
    // "hi" holds an I: reading stops after the H, one character collected.
    EXPECT_FALSE(decodeInviteCode("hi " + bare).valid);
}

TEST(InviteCode, EveryDecodedPortIsALobbyPort) {
    for (const char* text : {"AAAAAAA", "9999999", "ZZZZZZZ", "MIVO-234-5678", "MIVO-XYZ-XYZW"}) {
        const InviteTarget t = decodeInviteCode(text);
        ASSERT_TRUE(t.valid) << text;
        EXPECT_GE(t.port, 47787) << text;
        EXPECT_LE(t.port, 47790) << text;
    }
}

TEST(InviteCode, CodeFieldAndInviteFileRules) {
    EXPECT_EQ(inviteFieldChar('a'), 'A');
    EXPECT_EQ(inviteFieldChar('-'), '-');
    EXPECT_EQ(inviteFieldChar('9'), '9');
    for (std::uint32_t c : {std::uint32_t('o'), std::uint32_t('O'), std::uint32_t('1'), std::uint32_t('0'),
                            std::uint32_t('i'), std::uint32_t(' '), std::uint32_t('\n'), 0x263Au})
        EXPECT_EQ(inviteFieldChar(c), 0) << c;

    EXPECT_EQ(inviteFileWord("  MIVO-ABC-DEFG \nmore"), "MIVO-ABC-DEFG");
    EXPECT_EQ(inviteFileWord("\t\n"), "");
    EXPECT_EQ(inviteFileWord(std::string(5000, 'A')).size(), 64u);
    EXPECT_EQ(inviteMessage("MIVO-ABC-DEFG"),
              "Join my Mivoland 2 lobby! Open Multiplayer, press Join and type the code: MIVO-ABC-DEFG");
}
