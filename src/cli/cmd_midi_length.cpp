#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "playback/smf_reader.h"

// dadaz midi-length FILE...: each file's playing length in milliseconds from its own tempo
// map, "path<TAB>ms" a line, to compare with other MIDI tools.
int cmdMidiLength(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dadaz midi-length FILE...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        std::string error;
        auto song = dadaz::readMidiFile(argv[i], &error);
        if (!song) {
            std::fprintf(stderr, "%s: not a playable MIDI file: %s\n", argv[i], error.c_str());
            status = 1;
            continue;
        }
        std::printf("%s\t%lld\n", argv[i], static_cast<long long>(song->lengthMs));
    }
    return status;
}
