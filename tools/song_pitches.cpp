// Prints the loudest pitch classes of every built-in song (or of one), with
// their share of the pitched energy: a quick check that a song stays in its key.
//   song_pitches [song id [tracks]]   "tracks": each voice measured on its own
#include <cstdio>
#include <string>

#include "audio/PitchAnalysis.h"
#include "audio/Songs.h"
#include "audio/Synth.h"

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    const bool perTrack = argc > 2 && std::string(argv[2]) == "tracks";
    auto show = [](const std::string& name, const Song& song) {
        const PitchProfile p = measurePitches(renderSong(song), kSampleRate, 57, 100);
        double total = 0.0;
        for (double e : p.pitchClass) total += e;
        std::printf("%-16s", name.c_str());
        for (int pc : p.ranking()) std::printf(" %s:%.0f%%", pitchClassName(pc), 100.0 * p.pitchClass[pc] / total);
        std::printf("  (%.3g)\n", total);
    };
    for (const BuiltinSong& song : builtinSongs()) {
        if (!only.empty() && song.id != only) continue;
        const Song full = song.factory();
        show(song.id, full);
        if (!perTrack) continue;
        for (std::size_t t = 0; t < full.tracks.size(); ++t) {
            Song one = full;
            one.tracks = {full.tracks[t]};
            show("  track " + std::to_string(t), one);
        }
    }
    return 0;
}
