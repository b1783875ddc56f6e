// The multiplayer screen through the real game with key, text and mouse
// events: its two text fields and the clipboard, the Escape rules, the
// lobbies heard on the network, a client's view of the host's course, an
// Internet host waiting for its router and what the router said, and the
// invite file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "net/FakeRouter.h"
#include "net/InviteCode.h"
#include "net/NetSupport.h"
#include "support/GameDriver.h"

using K = sf::Keyboard;

namespace {

const char* kNotACode = "That doesn't look like an invite code. It's like MIVO-ABC-DEFG.";

// The real game on the title screen, its lobby sending only to loopback.
struct MultiplayerScreenGame : ::testing::Test {
    GameDriver d;
    Mivoland2& g = d.game();

    void SetUp() override {
        ASSERT_TRUE(d.start());
        const auto targets = g.lobby.config.routerTargets;  // the driver's: no router, no Internet
        g.lobby.config = loopbackConfig();
        g.lobby.config.routerTargets = targets;
        d.step();
    }
    // Title -> "Multiplayer", as a player gets there.
    void openScreen() {
        for (int guard = 0; guard < 10 && d.selectedButton() != 1; ++guard) d.press(K::Down);
        d.press(K::Enter);
        ASSERT_EQ(d.screen(), GameState::Multiplayer);
    }
    void click(const std::string& id) { d.click(buttonCentre(id)); }
    void click(const sf::FloatRect& r) { d.click({r.left + r.width / 2, r.top + r.height / 2}); }
    void type(const std::string& text) {
        for (char c : text) d.send(InputEvent::text(std::uint32_t(static_cast<unsigned char>(c))));
    }
    void controlV() {
        d.hold(K::LControl);
        d.press(K::V);
        d.release(K::LControl);
    }
    void clearField(int n = 16) {
        for (int i = 0; i < n; ++i) d.press(K::Backspace);
    }
    std::string nameFile() {
        std::ifstream in(d.dataFolder() + "player_name.txt");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::vector<std::string> shown() { return shownButtons(viewOf(g.mpScreen, g.lobby)); }
    bool shows(const std::string& id) {
        const auto ids = shown();
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }
    // Frames (with the other lobbies' own) until done() holds; 30 s of wall time at most.
    bool runUntil(const std::function<bool()>& done, const std::vector<Lobby*>& others = {}) {
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
            d.step();
            for (Lobby* l : others) l->update(GameDriver::kFrame, false);
            if (done()) return true;
        }
        return false;
    }
};

// Bright, nearly white pixels inside a rectangle of a frame: the text drawn there.
int whitePixels(const sf::Image& image, const sf::FloatRect& r) {
    int n = 0;
    for (unsigned y = unsigned(r.top); y < unsigned(r.top + r.height); ++y)
        for (unsigned x = unsigned(r.left); x < unsigned(r.left + r.width); ++x) {
            const sf::Color c = image.getPixel(x, y);
            if (c.r > 200 && c.g > 200 && c.b > 200) ++n;
        }
    return n;
}

// Targets that find just this router and, behind it, nothing that answers.
mp::RouterTargets onlyRouter(FakeRouter& home) {
    mp::RouterTargets t;
    t.ssdpAddress = "127.0.0.1";
    t.ssdpPort = home.ssdpPort();
    t.fallbackRouters = {"127.0.0.1"};
    t.fallbackPort = 9;
    t.publicAddressUrl = home.ipUrl();
    return t;
}

}  // namespace

TEST(MultiplayerScreen, EveryButtonHasItsRectangle) {
    const struct {
        const char* id;
        sf::FloatRect rect;
    } cases[] = {
        {"local", {250, 80, 220, 44}},  {"global", {490, 80, 220, 44}}, {"name", {380, 160, 300, 42}},
        {"host", {280, 216, 400, 50}},  {"code", {200, 316, 300, 48}},  {"paste", {510, 316, 110, 48}},
        {"join", {630, 316, 130, 48}},  {"back", {40, 474, 140, 44}},   {"share", {520, 88, 130, 44}},
        {"charL", {520, 230, 44, 40}},  {"charR", {860, 230, 44, 40}},  {"zoneL", {520, 300, 44, 40}},
        {"zoneR", {860, 300, 44, 40}},  {"actL", {520, 360, 44, 40}},   {"actR", {860, 360, 44, 40}},
        {"modeL", {520, 420, 44, 40}},  {"modeR", {860, 420, 44, 40}},  {"start", {640, 474, 200, 48}},
    };
    for (const auto& c : cases) EXPECT_EQ(buttonRect(c.id), c.rect) << c.id;
    EXPECT_THROW(buttonRect("nowhere"), std::out_of_range);
    EXPECT_EQ(lanRowRect(0), sf::FloatRect(280, 410, 400, 38));
    EXPECT_EQ(lanRowRect(1), sf::FloatRect(280, 454, 400, 38));
}

TEST(MultiplayerScreen, TypingIntoTheCodeField) {
    const struct {
        const char* before;
        const char* typed;
        const char* after;
    } cases[] = {
        {"", "o1I0", ""},                           // not code characters
        {"", "mivo-abc-defg", "MIVO-ABC-DEFG"},    // the code as shown, I and O of its prefix too
        {"", "mivo-abc-defgh", "MIVO-ABC-DEFG"},   // 13 at most
        {"", "mio", "MI"},                          // an O that does not continue "MIVO-"
        {"MIVO-ABC-", "o", "MIVO-ABC-"},
        {"", "abc defg", "ABCDEFG"},
        {"AB", "ivo", "ABV"},
    };
    for (const auto& c : cases) {
        std::string field = c.before;
        std::vector<std::uint32_t> typed;
        for (const char* p = c.typed; *p; ++p) typed.push_back(std::uint32_t(*p));
        typeIntoCode(field, typed);
        EXPECT_EQ(field, c.after) << c.before << " + " << c.typed;
    }
}

TEST_F(MultiplayerScreenGame, TheCodeFieldTakesOnlyCodeCharactersAndPastesCodes) {
    openScreen();
    EXPECT_EQ(g.audio.playingId(), "lobby");
    click("code");
    ASSERT_EQ(g.mpScreen.editing, MpField::Code);
    type("O1");
    EXPECT_EQ(g.inviteField, "");
    type("mivo-abc-");
    EXPECT_EQ(g.inviteField, "MIVO-ABC-");
    type("O1I0 o!");  // not in the code alphabet
    EXPECT_EQ(g.inviteField, "MIVO-ABC-");
    type("defgh");
    EXPECT_EQ(g.inviteField, "MIVO-ABC-DEFG");  // 13 characters at most
    clearField(5);
    EXPECT_EQ(g.inviteField, "MIVO-ABC");

    // The cursor blinks: shown while the time's half seconds are even.
    const sf::FloatRect field = buttonRect("code");
    g.totalTime = 100.1f;
    const int withCursor = whitePixels(d.frameImage(), field);
    g.totalTime = 100.6f;
    const int without = whitePixels(d.frameImage(), field);
    EXPECT_GT(withCursor, without + 10);

    // Ctrl+V while editing: the code in a pasted invite, in canonical form.
    const std::string code = encodeInviteCode(kLoopback, 2, true);
    std::string lower = code;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    d.clipboard().contents = "Join my Mivoland 2 lobby! Open Multiplayer, press Join and type the code: " + lower;
    controlV();
    EXPECT_EQ(g.inviteField, code);
    d.press(K::Escape);  // ends the editing, stays on the screen
    EXPECT_EQ(g.mpScreen.editing, MpField::None);
    EXPECT_EQ(d.screen(), GameState::Multiplayer);

    // The "Paste" button: no code in the clipboard says so; an empty one does nothing.
    d.clipboard().contents = "see you at eight";
    click("paste");
    EXPECT_EQ(d.toast(), "No invite code in what you copied");
    EXPECT_EQ(g.inviteField, code);
    d.step(200);
    ASSERT_FALSE(g.toast.visible());
    d.clipboard().contents = "";
    click("paste");
    EXPECT_FALSE(g.toast.visible());
    EXPECT_EQ(g.inviteField, code);
    d.clipboard().contents = encodeInviteCode(kLoopback, 1, false);
    click("paste");
    EXPECT_EQ(g.inviteField, d.clipboard().contents);
    d.saveFrame("mp_page_code.png");
}

TEST_F(MultiplayerScreenGame, TheNameTakesFourteenCharactersAndIsWrittenClean) {
    openScreen();
    click("name");
    ASSERT_EQ(g.mpScreen.editing, MpField::Name);
    clearField();
    EXPECT_EQ(g.playerName, "");
    type("Abcdefghijklmno");
    EXPECT_EQ(g.playerName, "Abcdefghijklmn");  // the 15th is ignored
    d.press(K::Enter);
    EXPECT_EQ(g.mpScreen.editing, MpField::None);
    EXPECT_EQ(nameFile(), "Abcdefghijklmn\n");

    // A long paste with a line break and control characters keeps 14 clean characters.
    click("name");
    clearField();
    type("Zo");
    d.clipboard().contents = "e\n\x07The Very Long Pasted Name";
    controlV();
    EXPECT_EQ(g.playerName, "ZoeThe Very Lo");
    d.click({900, 180});  // clicking elsewhere ends the edit and saves
    EXPECT_EQ(g.mpScreen.editing, MpField::None);
    EXPECT_EQ(nameFile(), "ZoeThe Very Lo\n");

    // Nothing left gives "Player"; Escape ends the edit first, then leaves.
    click("name");
    clearField();
    type("   ");
    d.press(K::Escape);
    EXPECT_EQ(g.playerName, "Player");
    EXPECT_EQ(nameFile(), "Player\n");
    EXPECT_EQ(d.screen(), GameState::Multiplayer);
    d.press(K::Escape);
    EXPECT_EQ(d.screen(), GameState::MainMenu);

    // "Back" goes to the main menu too, saving a name being edited.
    openScreen();
    click("name");
    type("2");
    click("back");
    EXPECT_EQ(d.screen(), GameState::MainMenu);
    EXPECT_EQ(nameFile(), "Player2\n");
}

TEST_F(MultiplayerScreenGame, JoiningAndHostingSwitchPagesAndEscapeLeaves) {
    openScreen();
    // A bad code, by "Join" or by Enter in the field.
    click("join");
    EXPECT_EQ(g.lobby.error, kNotACode);
    EXPECT_FALSE(g.mpScreen.lobbyPage);
    d.saveFrame("mp_page_error.png");

    // Hosting shows the LOBBY page; Escape leaves the lobby, not the screen.
    click("host");
    ASSERT_EQ(g.lobby.role, LobbyRole::Host);
    EXPECT_TRUE(g.mpScreen.lobbyPage);
    EXPECT_TRUE(g.lobby.error.empty());
    EXPECT_TRUE(shows("share"));
    EXPECT_TRUE(shows("start"));
    d.press(K::Escape);
    EXPECT_EQ(g.lobby.role, LobbyRole::None);
    EXPECT_FALSE(g.mpScreen.lobbyPage);
    EXPECT_EQ(d.screen(), GameState::Multiplayer);

    // Joining shows only "Cancel", which leaves.
    click("code");
    type(encodeInviteCode(kLoopback, 3, false));
    d.press(K::Enter);
    ASSERT_EQ(g.lobby.role, LobbyRole::Client);
    EXPECT_TRUE(g.mpScreen.lobbyPage);
    EXPECT_EQ(shown(), std::vector<std::string>{"back"});
    d.saveFrame("mp_page_joining.png");
    click("back");
    EXPECT_EQ(g.lobby.role, LobbyRole::None);
    EXPECT_FALSE(g.mpScreen.lobbyPage);
}

TEST_F(MultiplayerScreenGame, ThreeLobbiesOnTheNetworkListTwoClickableRows) {
    openScreen();
    ASSERT_TRUE(runUntil([&] { return g.lobby.discovery != nullptr; }));
    const std::uint16_t port = g.lobby.discovery->getLocalPort();
    for (int i = 0; i < 3; ++i) {
        sf::UdpSocket s;
        ASSERT_EQ(s.bind(sf::Socket::AnyPort, sf::IpAddress(127, 0, 0, sf::Uint8(20 + i))), sf::Socket::Done);
        const std::string beacon = formatBeacon(std::uint16_t(47787 + i), "Lobby" + std::to_string(i), i + 1);
        ASSERT_EQ(s.send(beacon.data(), beacon.size(), sf::IpAddress::LocalHost, port), sf::Socket::Done);
    }
    ASSERT_TRUE(runUntil([&] { return g.lobby.found.size() == 3; }));
    EXPECT_EQ(lanRowText(g.lobby.found[1]), g.lobby.found[1].name + "'s lobby  (2/6)");
    d.saveFrame("mp_page_lan.png");

    // Where a third row would be, and the rows on the Global tab: nothing.
    click(sf::FloatRect(280, 498, 400, 38));
    EXPECT_EQ(g.lobby.role, LobbyRole::None);
    click("global");
    click(lanRowRect(0));
    EXPECT_EQ(g.lobby.role, LobbyRole::None);
    click("local");

    const FoundLobby second = g.lobby.found[1];
    click(lanRowRect(1));
    ASSERT_EQ(g.lobby.role, LobbyRole::Client);
    EXPECT_FALSE(g.lobby.global);
    EXPECT_EQ(g.lobby.code, encodeInviteCode(second.address, second.port - kLobbyBasePort, false));
    EXPECT_TRUE(g.mpScreen.lobbyPage);
}

TEST_F(MultiplayerScreenGame, AClientSeesTheHostsCourseAndCannotChangeIt) {
    auto host = makeLobby();
    ASSERT_TRUE(host->hostLobby(false, "Hosty", 2));
    host->changeSettings(3, 2, kModeTogether);

    openScreen();
    click("code");
    type(host->code);
    d.press(K::Enter);
    ASSERT_TRUE(runUntil([&] { return g.lobby.welcomed && g.lobby.players.size() == 2; }, {host.get()}));
    EXPECT_EQ(courseLine(g.lobby.settings), "Course: Neon Rush Act 2");
    EXPECT_STREQ(lobbyModeName(g.lobby.settings.mode), "Together");
    EXPECT_EQ(lobbyWaitLine(g.lobby), "Waiting for the host to start...");
    EXPECT_EQ(playerRowText(g.lobby.players[0], g.lobby.ownId), "Hosty  (host)  Tr");
    for (const char* id : {"zoneL", "zoneR", "actL", "actR", "modeL", "modeR", "start"}) {
        EXPECT_FALSE(shows(id)) << id;
        click(id);
    }
    EXPECT_EQ(g.lobby.settings.zone, 3);
    EXPECT_EQ(g.lobby.settings.act, 2);
    EXPECT_FALSE(host->settings.started);
    EXPECT_EQ(host->settings.zone, 3);
    EXPECT_EQ(d.screen(), GameState::Multiplayer);

    // The hero is the client's own to choose.
    click("charL");
    EXPECT_EQ(g.multiplayerHero, 8);
    ASSERT_TRUE(runUntil([&] { return host->players.size() == 2 && host->players[1].hero == 8; }, {host.get()}));
    d.step(10);
    d.saveFrame("mp_lobby_client.png");
}

TEST_F(MultiplayerScreenGame, AGlobalHostShowsGettingItWithoutCopyUntilItsCodeComes) {
    openScreen();
    click("global");
    EXPECT_EQ(g.mpScreen.tab, MpTab::Global);
    d.saveFrame("mp_page_global.png");
    click("host");
    ASSERT_EQ(g.lobby.role, LobbyRole::Host);
    ASSERT_TRUE(g.lobby.code.empty());
    EXPECT_TRUE(g.lobby.global);
    EXPECT_EQ(g.lobby.status, kGlobalHostWaitStatus);
    const struct {
        float time;
        const char* text;
    } dots[] = {{0.1f, "Getting it"}, {0.4f, "Getting it."}, {0.7f, "Getting it.."}, {1.1f, "Getting it..."},
                {1.4f, "Getting it"}};
    for (const auto& c : dots) EXPECT_EQ(inviteCodeText(g.lobby, c.time), c.text) << c.time;
    EXPECT_FALSE(shows("share"));
    d.clipboard().contents = "untouched";
    click("share");
    EXPECT_EQ(d.clipboard().contents, "untouched");
    EXPECT_FALSE(g.toast.visible());
    d.saveFrame("mp_lobby_getting_it.png");

    // No router and no Internet on the loopback: a Local code in the end.
    ASSERT_TRUE(runUntil([&] { return !g.lobby.code.empty(); }));
    EXPECT_FALSE(g.lobby.global);
    EXPECT_FALSE(decodeInviteCode(g.lobby.code).global);
    EXPECT_EQ(g.lobby.status, kNoInternetStatus);
    ASSERT_TRUE(shows("share"));
    click("share");
    EXPECT_EQ(d.clipboard().contents, inviteMessage(g.lobby.code));
    EXPECT_EQ(d.toast(), "Invite copied - paste it to your friends!");
}

// What the home router (at 127.0.0.1) and one in front of it (127.0.0.2)
// say reaches the LOBBY page; the mapping goes when the lobby closes.
TEST_F(MultiplayerScreenGame, TheRoutersFindingsShowOnTheLobbyPage) {
    const struct {
        const char* name;
        const char* shot;
        std::string external;
        bool outerAnswers;
        std::string status;  // "N" stands for the lobby port
    } cases[] = {
        {"opened", "opened", "203.0.113.7", false,
         "Your router opened port N for the game - friends anywhere can join! (To test it yourself, join from a "
         "different internet connection, like a phone on mobile data.)"},
        {"shared address", "cgnat", "100.64.3.4", false,
         "Your internet provider shares one address between homes (CGNAT), so friends probably can't reach you. Let "
         "a friend host, or play Local over a VPN like Radmin VPN or ZeroTier."},
        {"two routers", "two", "192.168.0.5", true,
         "Your internet goes through two routers. Your Wi-Fi router opened port N, but the box in front of it "
         "(127.0.0.2) blocks friends. In that box's settings (open http://127.0.0.2 in a browser), put your Wi-Fi "
         "router in the DMZ, or forward TCP port N to it. Then this code works."},
    };
    openScreen();
    click("global");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRouter home;
        home.externalAddress = c.external;
        home.publicAddress = "203.0.113.7";
        home.start();
        FakeRouter outer("127.0.0.2");
        outer.answerSearches = c.outerAnswers;
        outer.start();
        mp::RouterTargets t;
        t.ssdpAddress = "127.0.0.1";
        t.ssdpPort = home.ssdpPort();
        t.fallbackRouters = {"127.0.0.1", "127.0.0.2"};
        t.fallbackPort = outer.ssdpPort();
        t.publicAddressUrl = home.ipUrl();
        g.lobby.config.routerTargets = t;

        click("host");
        ASSERT_TRUE(runUntil([&] { return !g.lobby.code.empty(); }));
        const InviteTarget target = decodeInviteCode(g.lobby.code);
        EXPECT_TRUE(target.global);
        EXPECT_EQ(sf::IpAddress(target.address).toString(), "203.0.113.7");
        std::string status = c.status;
        for (std::size_t at; (at = status.find("port N")) != std::string::npos;)
            status.replace(at + 5, 1, std::to_string(g.lobby.tcpPort()));
        EXPECT_EQ(g.lobby.status, status);
        d.saveFrame(std::string("mp_lobby_router_") + c.shot + ".png");

        click("back");
        ASSERT_FALSE(g.mpScreen.lobbyPage);
        EXPECT_TRUE(g.lobby.waitForRemovals(std::chrono::seconds(10)));
        EXPECT_EQ(home.calls().back().action, "DeletePortMapping");
    }
}

// A host who leaves before the router work is done: no port is opened for
// a lobby already left, and one opened just before is taken back.
TEST_F(MultiplayerScreenGame, LeavingBeforeTheRouterWorkIsDoneLeavesNoPortOpen) {
    const struct {
        const char* name;
        bool leaveAfterMapping;  // else at once, while the router is still being searched for
        std::vector<std::string> calls;
    } cases[] = {
        {"at once", false, {}},
        // An address behind a second router: the worker goes on to search
        // for it (1.5 s), and the lobby is left meanwhile.
        {"after the mapping", true, {"AddPortMapping", "GetExternalIPAddress", "DeletePortMapping"}},
    };
    openScreen();
    click("global");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeRouter home;
        home.externalAddress = "192.168.0.5";
        home.start();
        g.lobby.config.routerTargets = onlyRouter(home);
        const auto actions = [&] {
            std::vector<std::string> out;
            for (const auto& call : home.calls()) out.push_back(call.action);
            return out;
        };

        click("host");
        ASSERT_TRUE(g.lobby.code.empty());
        const std::weak_ptr<mp::Job> worker = g.lobby.job;
        if (c.leaveAfterMapping) {
            ASSERT_TRUE(runUntil([&] { return actions().size() == 2; }));
        }
        click("back");
        ASSERT_EQ(g.lobby.role, LobbyRole::None);
        ASSERT_TRUE(runUntil([&] { return worker.expired(); }));
        EXPECT_EQ(actions(), c.calls);
    }
}

// Closing the game while hosting takes the port back before the program
// ends, also when the router work is still under way.
TEST_F(MultiplayerScreenGame, ClosingTheGameTakesThePortBack) {
    for (const bool workDone : {true, false}) {
        SCOPED_TRACE(workDone ? "code shown" : "still asking the router");
        FakeRouter home;
        home.externalAddress = "192.168.0.5";  // keeps the worker busy 1.5 s after the mapping
        home.start();
        g.lobby.config.routerTargets = onlyRouter(home);
        ASSERT_TRUE(g.lobby.hostLobby(true, "Hosty", 0));
        ASSERT_TRUE(runUntil([&] {
            return workDone ? !g.lobby.code.empty() : !home.calls().empty();
        }));

        g.leaveLobbyAtExit();
        const auto calls = home.calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front().action, "AddPortMapping");
        EXPECT_EQ(calls.back().action, "DeletePortMapping");
        EXPECT_EQ(*g.lobby.mappingsInFlight, 0);
    }
}

TEST_F(MultiplayerScreenGame, TheInviteFileOpensTheLobbyPageOrSaysWhatACodeLooksLike) {
    // Not a code; what the code field would not take stays out of it.
    std::ofstream(d.dataFolder() + "invite.txt") << "mivo-abc-de\x01" "f!\xc3\xa9 MIVO-ABC-DEFG";
    d.step();
    EXPECT_EQ(d.screen(), GameState::Multiplayer);
    EXPECT_FALSE(g.mpScreen.lobbyPage);
    EXPECT_EQ(g.lobby.error, kNotACode);
    EXPECT_EQ(g.inviteField, "MIVO-ABC-DEF");

    click("back");
    const std::string code = encodeInviteCode(kLoopback, 3, false);
    std::ofstream(d.dataFolder() + "invite.txt") << code << "\n";
    d.step();
    EXPECT_EQ(d.screen(), GameState::Multiplayer);
    EXPECT_TRUE(g.mpScreen.lobbyPage);
    EXPECT_EQ(g.lobby.role, LobbyRole::Client);
    EXPECT_EQ(g.lobby.code, code);
    EXPECT_TRUE(g.lobby.error.empty());
}
