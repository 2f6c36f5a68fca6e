#include "playback/mci.h"

#include <algorithm>

#include "playback/smf_reader.h"

namespace dadaz {
namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string describeMciError(MciError error) {
    switch (error) {
        case MciError::None:
            return "no error";
        case MciError::UnrecognizedCommand:
            return "unknown command";
        case MciError::UnrecognizedKeyword:
            return "unknown keyword";
        case MciError::MissingParameter:
            return "missing parameter";
        case MciError::InvalidDevice:
            return "no such device is open";
        case MciError::DuplicateAlias:
            return "the alias is already in use";
        case MciError::CannotOpenFile:
            return "the file cannot be opened as a MIDI song";
        case MciError::FileTooLarge:
            return "the file is too large for a MIDI song";
        case MciError::BadTimeFormat:
            return "unsupported time format";
    }
    return "unknown error";
}

std::optional<std::vector<std::string>> splitMciWords(std::string_view command) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < command.size()) {
        if (isSpace(command[i])) {
            ++i;
        } else if (command[i] == '"') {
            std::size_t close = command.find('"', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            words.emplace_back(command.substr(i + 1, close - i - 1));
            i = close + 1;
        } else {
            std::size_t end = i;
            while (end < command.size() && !isSpace(command[end])) ++end;
            words.emplace_back(command.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

Mci::Mci(MciOptions options) : waitLimitUs_(options.waitLimitMs * 1000) {
    PlaybackClock* clock = options.clock;
    if (!clock) {
        ownClock_ = std::make_unique<SteadyPlaybackClock>();
        clock = ownClock_.get();
    }
    MidiSequencer::SinkFactory openSink;
    if (options.sound) {
        openSink = options.openSink ? options.openSink
                                    : [path = options.soundFontPath](SoundProblem& problem) {
                                          return openFluidSynthSink(path, &problem);
                                      };
    }
    sequencer_ = std::make_unique<MidiSequencer>(*clock, std::move(openSink));
}

Mci::~Mci() = default;

SoundProblem Mci::soundProblem() {
    std::lock_guard lock(commandMutex_);
    return sequencer_->soundProblem();
}

MciReply Mci::send(std::string_view command) {
    std::lock_guard lock(commandMutex_);
    auto words = splitMciWords(command);
    if (!words) return {MciError::MissingParameter, {}};
    if (words->empty()) return {MciError::UnrecognizedCommand, {}};
    const std::string& verb = words->front();
    if (sameWord(verb, "open")) return open(*words);
    if (sameWord(verb, "play")) return play(*words);
    if (sameWord(verb, "stop")) return stop(*words);
    if (sameWord(verb, "close")) return close(*words);
    if (sameWord(verb, "set")) return set(*words);
    if (sameWord(verb, "status")) return status(*words);
    return {MciError::UnrecognizedCommand, {}};
}

MciReply Mci::open(const std::vector<std::string>& words) {
    if (words.size() < 2) return {MciError::MissingParameter, {}};
    std::string element = words[1];
    std::string name = element;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (sameWord(words[i], "alias") || sameWord(words[i], "type")) {
            if (i + 1 >= words.size()) return {MciError::MissingParameter, {}};
            if (sameWord(words[i], "alias")) {
                name = words[i + 1];
            } else if (!sameWord(words[i + 1], "sequencer")) {
                return {MciError::UnrecognizedKeyword, {}};
            }
            ++i;
        } else if (!sameWord(words[i], "wait") && !sameWord(words[i], "shareable")) {
            return {MciError::UnrecognizedKeyword, {}};
        }
    }
    if (findDevice(name)) return {MciError::DuplicateAlias, {}};
    return {openDevice(element, name, false), {}};
}

MciReply Mci::play(const std::vector<std::string>& words) {
    if (words.size() < 2) return {MciError::MissingParameter, {}};
    bool wait = false;
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (sameWord(words[i], "wait")) {
            wait = true;
        } else if (!sameWord(words[i], "notify")) {
            return {MciError::UnrecognizedKeyword, {}};
        }
    }
    const std::string& name = words[1];
    if (!findDevice(name)) {
        MciError error = openDevice(name, name, true);
        if (error != MciError::None) return {error, {}};
    }
    closeImplicitDevicesBut(name);
    Device* device = findDevice(name);
    const MidiSequencer::Handle handle = device->handle;
    const bool implicit = device->implicit;
    sequencer_->play(handle);
    if (wait) {
        sequencer_->waitUntilFinished(handle, waitLimitUs_);
        if (implicit) closeDevice(name);
    }
    return {};
}

MciReply Mci::stop(const std::vector<std::string>& words) {
    if (words.size() < 2) return {MciError::MissingParameter, {}};
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (!sameWord(words[i], "wait") && !sameWord(words[i], "notify")) {
            return {MciError::UnrecognizedKeyword, {}};
        }
    }
    Device* device = findDevice(words[1]);
    if (!device) return {MciError::InvalidDevice, {}};
    sequencer_->stop(device->handle);
    if (device->implicit) closeDevice(words[1]);
    return {};
}

MciReply Mci::close(const std::vector<std::string>& words) {
    if (words.size() < 2) return {MciError::MissingParameter, {}};
    if (sameWord(words[1], "all")) {
        while (!devices_.empty()) closeDevice(devices_.back().name);
        return {};
    }
    if (!findDevice(words[1])) return {MciError::InvalidDevice, {}};
    closeDevice(words[1]);
    return {};
}

MciReply Mci::set(const std::vector<std::string>& words) {
    if (words.size() < 3) return {MciError::MissingParameter, {}};
    if (!findDevice(words[1])) return {MciError::InvalidDevice, {}};
    if (!sameWord(words[2], "time")) return {MciError::UnrecognizedKeyword, {}};
    if (words.size() != 5 || !sameWord(words[3], "format")) {
        return {MciError::MissingParameter, {}};
    }
    if (!sameWord(words[4], "milliseconds") && !sameWord(words[4], "ms")) {
        return {MciError::BadTimeFormat, {}};
    }
    return {};
}

MciReply Mci::status(const std::vector<std::string>& words) {
    if (words.size() < 3) return {MciError::MissingParameter, {}};
    Device* device = findDevice(words[1]);
    if (!device) return {MciError::InvalidDevice, {}};
    const std::string& item = words[2];
    if (words.size() == 3 && sameWord(item, "length")) {
        return {MciError::None, std::to_string(sequencer_->lengthMs(device->handle))};
    }
    if (words.size() == 3 && sameWord(item, "position")) {
        return {MciError::None, std::to_string(sequencer_->positionMs(device->handle))};
    }
    if (words.size() == 3 && sameWord(item, "mode")) {
        return {MciError::None, sequencer_->isPlaying(device->handle) ? "playing" : "stopped"};
    }
    if (words.size() == 4 && sameWord(item, "time") && sameWord(words[3], "format")) {
        return {MciError::None, "milliseconds"};
    }
    return {MciError::UnrecognizedKeyword, {}};
}

Mci::Device* Mci::findDevice(std::string_view name) {
    for (auto& device : devices_) {
        if (sameWord(device.name, name)) return &device;
    }
    return nullptr;
}

MciError Mci::openDevice(const std::string& element, const std::string& name, bool implicit) {
    MidiFileFault fault = MidiFileFault::None;
    auto song = readMidiFile(element, nullptr, &fault);
    if (!song) {
        return fault == MidiFileFault::TooLarge ? MciError::FileTooLarge : MciError::CannotOpenFile;
    }
    Device device;
    device.name = name;
    device.element = element;
    device.implicit = implicit;
    device.handle = sequencer_->add(std::make_shared<const MidiSong>(std::move(*song)));
    devices_.push_back(std::move(device));
    return MciError::None;
}

void Mci::closeDevice(std::string_view name) {
    auto it = std::find_if(devices_.begin(), devices_.end(),
                           [&](const Device& d) { return sameWord(d.name, name); });
    if (it == devices_.end()) return;
    sequencer_->remove(it->handle);
    devices_.erase(it);
}

void Mci::closeImplicitDevicesBut(std::string_view keep) {
    for (std::size_t i = devices_.size(); i-- > 0;) {
        if (devices_[i].implicit && !sameWord(devices_[i].name, keep)) {
            closeDevice(devices_[i].name);
        }
    }
}

}  // namespace dadaz
