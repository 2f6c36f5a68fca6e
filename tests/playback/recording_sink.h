#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "playback/midi_sequencer.h"

namespace dadaz::testing {

// What a sink received, shared with the test after the sink went into the sequencer. While
// `failuresLeft` is above 0, opening fails with `problem` (a machine without sound).
struct SinkLog {
    std::mutex mutex;
    std::vector<std::string> messages;  // "90 3C 64", "F0 41 10 ..." (SysEx body after F0)
    int silences = 0, opened = 0, failuresLeft = 0;
    SoundProblem problem{SoundProblem::Kind::NoSoundDevice, "pulseaudio, pipewire, alsa"};

    std::vector<std::string> snapshot() {
        std::lock_guard lock(mutex);
        return messages;
    }
};

class RecordingSink : public MidiSink {
  public:
    explicit RecordingSink(std::shared_ptr<SinkLog> log) : log_(std::move(log)) {}

    void send(const MidiEvent& e, std::string_view sysexBody) override {
        std::string text = hex(e.status);
        if (e.status == 0xF0) {
            for (char c : sysexBody) text += " " + hex(static_cast<unsigned char>(c));
        } else {
            text += " " + hex(e.data1);
            if ((e.status & 0xE0) != 0xC0) text += " " + hex(e.data2);  // not Cx or Dx
        }
        std::lock_guard lock(log_->mutex);
        log_->messages.push_back(text);
    }
    void silence() override {
        std::lock_guard lock(log_->mutex);
        ++log_->silences;
    }

    // A factory for MciOptions::openSink that records into `log`.
    static MidiSequencer::SinkFactory factory(std::shared_ptr<SinkLog> log) {
        return [log](SoundProblem& problem) -> std::unique_ptr<MidiSink> {
            std::lock_guard lock(log->mutex);
            if (log->failuresLeft > 0 && log->failuresLeft--) {
                problem = log->problem;
                return nullptr;
            }
            ++log->opened;
            return std::make_unique<RecordingSink>(log);
        };
    }

  private:
    static std::string hex(unsigned value) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X", value & 0xFF);
        return text;
    }
    std::shared_ptr<SinkLog> log_;
};

}  // namespace dadaz::testing
