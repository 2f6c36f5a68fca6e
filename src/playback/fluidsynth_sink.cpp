#include <dlfcn.h>
#include <fluidsynth.h>

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
    bool open(const std::string& soundFontPath, std::string* reason) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(soundFontPath, ec)) {
            if (reason) *reason = "soundfont " + soundFontPath + " not found";
            return false;
        }
        settings_ = new_fluid_settings();
        if (!settings_) return false;
        // FluidSynth's default gain of 0.2 sounds faint next to other players; 0.5 leaves
        // room for a full arrangement on all sixteen channels.
        fluid_settings_setnum(settings_, "synth.gain", 0.5);
        for (const char* name : {"pulseaudio", "pipewire", "alsa"}) {
            if (fluid_settings_setstr(settings_, "audio.driver", name) != FLUID_OK) continue;
            if (!synth_) synth_ = new_fluid_synth(settings_);
            if (!synth_) break;
            driver_ = new_fluid_audio_driver(settings_, synth_);
            if (driver_) break;
        }
        if (!driver_) {
            if (reason) *reason = "no working sound device";
            return false;
        }
        if (fluid_synth_sfload(synth_, soundFontPath.c_str(), 1) == FLUID_FAILED) {
            if (reason) *reason = "cannot load soundfont " + soundFontPath;
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

std::unique_ptr<MidiSink> openFluidSynthSink(const std::string& soundFontPath,
                                             std::string* reason) {
    quietFluidSynthLog();
    auto sink = std::make_unique<FluidSynthSink>();
    if (!sink->open(soundFontPath, reason)) return nullptr;
    return sink;
}

}  // namespace dadaz
