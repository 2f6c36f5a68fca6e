#include <dlfcn.h>
#include <fluidsynth.h>
#include <unistd.h>

#include <filesystem>
#include <mutex>

#include "playback/midi_sink.h"

namespace dadaz {
namespace {

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// FluidSynth reports every audio driver it cannot open on stderr; a machine without sound
// is a normal case here, so its messages stay quiet (panics still print).
void quietFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
        // ALSA prints its own complaints about a missing card; its library is loaded with
        // FluidSynth's, so its handler is found at run time without linking it here.
        using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(ErrorHandler);
        if (void* symbol = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler")) {
            reinterpret_cast<SetHandler>(symbol)(&ignoreAlsaError);
        }
    });
}

class FluidSynthSink : public MidiSink {
  public:
    ~FluidSynthSink() override {
        if (driver_) delete_fluid_audio_driver(driver_);
        if (synth_) delete_fluid_synth(synth_);
        if (settings_) delete_fluid_settings(settings_);
    }

    // Opens the synthesizer on a sound device first and loads the soundfont only then, so a
    // machine without sound does not pay for loading it.
    bool open(const std::string& soundFontPath, SoundProblem& problem) {
        settings_ = new_fluid_settings();
        if (!settings_) return false;
        std::string soundFont = soundFontPath;
        if (!soundFont.empty() && !findSoundFont({soundFont})) {
            problem = {SoundProblem::Kind::SoundFontUnusable, soundFont};
            return false;
        }
        if (soundFont.empty()) {
            char* configured = nullptr;
            fluid_settings_getstr_default(settings_, "synth.default-soundfont", &configured);
            const auto candidates = soundFontCandidates(configured ? configured : "");
            if (auto found = findSoundFont(candidates)) {
                soundFont = *found;
            } else {
                problem.kind = SoundProblem::Kind::NoSoundFont;
                for (const std::string& place : candidates) {
                    problem.detail += (problem.detail.empty() ? "" : "\n") + place;
                }
                return false;
            }
        }
        // FluidSynth's default gain of 0.2 sounds faint next to other players; 0.5 leaves
        // room for a full arrangement on all sixteen channels.
        fluid_settings_setnum(settings_, "synth.gain", 0.5);
        constexpr const char* kDrivers[] = {"pulseaudio", "pipewire", "alsa"};
        for (const char* name : kDrivers) {
            if (fluid_settings_setstr(settings_, "audio.driver", name) != FLUID_OK) continue;
            if (!synth_) synth_ = new_fluid_synth(settings_);
            if (!synth_) break;
            driver_ = new_fluid_audio_driver(settings_, synth_);
            if (driver_) break;
        }
        if (!driver_) {
            problem.kind = SoundProblem::Kind::NoSoundDevice;
            for (const char* name : kDrivers) {
                problem.detail += (problem.detail.empty() ? "" : ", ") + std::string(name);
            }
            return false;
        }
        if (fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
            problem = {SoundProblem::Kind::SoundFontUnusable, soundFont};
            return false;
        }
        return true;
    }

    void send(const MidiEvent& event, std::string_view sysexBody) override {
        int channel = event.status & 0x0F;
        switch (event.status & 0xF0) {
            case 0x80:
                fluid_synth_noteoff(synth_, channel, event.data1);
                break;
            case 0x90:
                if (event.data2 == 0) {
                    fluid_synth_noteoff(synth_, channel, event.data1);
                } else {
                    fluid_synth_noteon(synth_, channel, event.data1, event.data2);
                }
                break;
            case 0xA0:
                fluid_synth_key_pressure(synth_, channel, event.data1, event.data2);
                break;
            case 0xB0:
                fluid_synth_cc(synth_, channel, event.data1, event.data2);
                break;
            case 0xC0:
                fluid_synth_program_change(synth_, channel, event.data1);
                break;
            case 0xD0:
                fluid_synth_channel_pressure(synth_, channel, event.data1);
                break;
            case 0xE0:
                fluid_synth_pitch_bend(synth_, channel, (event.data2 << 7) | event.data1);
                break;
            case 0xF0:
                fluid_synth_sysex(synth_, sysexBody.data(), static_cast<int>(sysexBody.size()),
                                  nullptr, nullptr, nullptr, 0);
                break;
            default:
                break;
        }
    }

    void silence() override { fluid_synth_all_sounds_off(synth_, -1); }

  private:
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_audio_driver_t* driver_ = nullptr;
};

}  // namespace

std::vector<std::string> soundFontCandidates(const std::string& configuredDefault) {
    std::vector<std::string> candidates;
    if (!configuredDefault.empty()) candidates.push_back(configuredDefault);
    for (const char* packaged :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
          "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
          "/usr/share/soundfonts/default.sf2", "/usr/share/soundfonts/FluidR3_GM.sf2"}) {
        if (packaged != configuredDefault) candidates.emplace_back(packaged);
    }
    return candidates;
}

std::optional<std::string> findSoundFont(const std::vector<std::string>& candidates) {
    for (const std::string& path : candidates) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), R_OK) == 0) {
            return path;
        }
    }
    return std::nullopt;
}

std::unique_ptr<MidiSink> openFluidSynthSink(const std::string& soundFontPath,
                                             SoundProblem* problem) {
    quietFluidSynthLog();
    auto sink = std::make_unique<FluidSynthSink>();
    SoundProblem found;
    if (sink->open(soundFontPath, found)) return sink;
    if (problem) *problem = found;
    return nullptr;
}

}  // namespace dadaz
