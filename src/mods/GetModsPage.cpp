#include "mods/GetModsPage.h"

#include <filesystem>
#include <string_view>

#include "core/platform/FileSystem.h"
#include "core/platform/UriList.h"

namespace {

std::string escapeHtml(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

constexpr std::string_view kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Mivoland 2 - Get Mods</title>
<style>
body { font-family: sans-serif; max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.5;
       background: #14142e; color: #eeeefa; }
h1 { color: #ffdc5a; } h2 { color: #9fd8ff; margin-top: 1.6em; }
code, pre { background: #26264a; border-radius: 4px; } code { padding: 0 .3em; }
pre { padding: .7em 1em; overflow-x: auto; }
table { border-collapse: collapse; } td, th { border: 1px solid #44447a; padding: .25em .6em; text-align: left; }
.folder { font-size: 1.1em; word-break: break-all; }
</style>
</head>
<body>
<h1>Mivoland 2 mods</h1>
<p>A mod changes how the game plays: lower gravity, faster running, a new colour or a picture of
your own for your hero, its own music, a course to play, and a small script that reacts to what
happens in an act.</p>

<h2>Where mods come from</h2>
<p>There is no mods website yet. Mods are shared by the people who make them: ask your friends,
look where Mivoland players meet, or write one yourself (below). Mivoland 1 mods work here too.
A mod is a single <code>.txt</code> file, or a package: a <code>.mivomod</code> or <code>.zip</code>
file holding a mod folder.</p>

<h2>Installing a mod</h2>
<p>Drag the mod file onto the game window, on any screen. The game installs it, turns it on and
says so at the bottom of the screen. On the <b>Mods</b> screen of the main menu you turn mods on
and off, play a mod's course with <b>Play</b>, and remove one with <b>Delete</b> (press it twice).</p>
<p>You can also copy mods into your mods folder yourself and press <b>Reload</b> on the Mods screen:</p>
<p class="folder"><code>)";

constexpr std::string_view kBody = R"(</code></p>
<p>Packages are unpacked with care: nothing in a package can land outside its own folder, and
very large packages are refused.</p>

<h2>Writing a mod</h2>
<p>The smallest mod is a text file, say <code>moon.txt</code>, with one setting a line:</p>
<pre>name: Moon Jump
description: Low gravity and big jumps
gravity: 0.5
jump: 1.4
color: 180 200 255</pre>
<table>
<tr><th>Key</th><th>What it does</th><th>Range</th></tr>
<tr><td><code>name</code></td><td>the mod's name on the Mods screen</td><td></td></tr>
<tr><td><code>description</code></td><td>one line under the name</td><td></td></tr>
<tr><td><code>gravity</code>, <code>speed</code>, <code>jump</code></td><td>multiply the hero's gravity, running speed and jump height</td><td>0.2 to 3 (speed and jump from 0.3)</td></tr>
<tr><td><code>size</code></td><td>the hero's size</td><td>0.4 to 1.6</td></tr>
<tr><td><code>color</code></td><td>tints the hero: red green blue</td><td>0 to 255 each</td></tr>
<tr><td><code>rainbow</code></td><td>1: the hero cycles through all colours</td><td>0 or 1</td></tr>
<tr><td><code>onehit</code></td><td>1: any hit is fatal</td><td>0 or 1</td></tr>
<tr><td><code>nobadniks</code></td><td>1: acts without enemies</td><td>0 or 1</td></tr>
<tr><td><code>doublegems</code></td><td>1: every gem counts twice</td><td>0 or 1</td></tr>
</table>
<p>A file counts as a mod when it has a <code>name</code>, <code>gravity</code>, <code>speed</code>,
<code>jump</code>, <code>size</code> or <code>color</code> line, or a <code>code:</code> line. Lines
starting with <code>#</code> are comments. With several mods on, their factors multiply.</p>

<h2>A mod folder</h2>
<p>A folder in the mods folder holds <code>mod.txt</code> and, if you like:</p>
<ul>
<li><code>player.png</code>: a picture drawn instead of your hero, at the hero's size;</li>
<li><code>music.ogg</code>: music for the acts;</li>
<li><code>course.txt</code>: a course made in the Mivo Maker (copy one of your
<code>maker2_1.txt</code> to <code>maker2_3.txt</code>), played with <b>Play</b> on the Mods screen;</li>
<li><code>script.mivo</code>: a script (below).</li>
</ul>
<p>To share the folder, zip it (the folder itself or its contents) and rename the file to
<code>.mivomod</code> if you like; a package of at most 64 MB, 500 files and 128 MB unpacked.</p>

<h2>Scripts</h2>
<p>A script goes in <code>script.mivo</code>, or after a line <code>code:</code> at the end of the
mod file. Blocks start with <code>on &lt;event&gt;:</code> or <code>every &lt;seconds&gt;:</code>
and hold indented steps:</p>
<pre>on start:
  say "Welcome to zone {zone}!"
  color rainbow
on jump:
  add jumps 1
  if jumps % 5 == 0:
    spawn crawler 300
every 2:
  set gravity random(0.5, 1.5)</pre>
<p>Events: start, jump, ability, transform, gem, hurt, stomp, checkpoint, finish, bosshit.
Steps: <code>set</code>, <code>add</code>, <code>say "text"</code>, <code>heal</code>,
<code>hurt</code>, <code>die</code>, <code>boost dx, dy</code>,
<code>spawn gem|spring|crawler|buzzer|hopper|spiker [dx[, dy]]</code>,
<code>color r g b</code> / <code>color rainbow</code> / <code>color normal</code>,
<code>sound &lt;name&gt;</code>, <code>if</code> / <code>else</code>, <code>repeat n</code>,
<code>stop</code>. The game's variables: gems, hearts, maxhearts, x, y, vx, vy, gravity, speed,
jump, size, score, and (read only) time, zone, act, onground, mysterious, divine, character, air.
A script with a mistake does not run; the Mods screen shows the line and what is wrong.</p>
</body>
</html>
)";

}  // namespace

std::string getModsPageHtml(const std::string& modsFolder) {
    std::string page(kHead);
    page += escapeHtml(modsFolder);
    page += kBody;
    return page;
}

std::string modsWebsiteAddress(const std::string& dataDir, const std::string& modsFolder) {
    const std::string address = kModsWebsite;
    if (address.rfind("https://", 0) == 0 || address.rfind("http://", 0) == 0) return address;
    const std::string path = dataDir + address;
    if (writeFileAtomically(path, getModsPageHtml(modsFolder))) return {};
#ifdef _WIN32
    return path;  // the shell opens a file path with the browser
#else
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return fileUriFromPath(ec ? path : absolute.lexically_normal().string());
#endif
}
