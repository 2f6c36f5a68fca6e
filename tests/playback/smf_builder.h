#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Byte-level pieces of Standard MIDI Files, for building test songs by hand.
namespace dadaz::testing::smf {

inline std::string u32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
inline std::string u16(std::uint16_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v)};
}
inline std::string varLen(std::uint32_t v) {
    std::string out(1, static_cast<char>(v & 0x7F));
    while (v >>= 7) out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    return out;
}
inline std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}
inline std::string header(int format, int tracks, std::uint16_t division) {
    return "MThd" + u32(6) + u16(static_cast<std::uint16_t>(format)) +
           u16(static_cast<std::uint16_t>(tracks)) + u16(division);
}
inline std::string track(const std::string& body) {
    return "MTrk" + u32(static_cast<std::uint32_t>(body.size())) + body;
}
// An event after `delta` ticks, given as its raw bytes.
inline std::string event(std::uint32_t delta, std::initializer_list<int> values) {
    return varLen(delta) + bytes(values);
}
inline std::string tempo(std::uint32_t delta, std::uint32_t usPerQuarter) {
    return varLen(delta) + bytes({0xFF, 0x51, 0x03, static_cast<int>(usPerQuarter >> 16) & 0xFF,
                                  static_cast<int>(usPerQuarter >> 8) & 0xFF,
                                  static_cast<int>(usPerQuarter) & 0xFF});
}
inline std::string endOfTrack(std::uint32_t delta) {
    return varLen(delta) + bytes({0xFF, 0x2F, 0x00});
}
inline std::string noteOn(std::uint32_t delta, int key, int channel = 0) {
    return event(delta, {0x90 | channel, key, 100});
}
// SMPTE time division: frames per second as the negative high byte, ticks per frame low.
inline std::uint16_t smpteDivision(int framesPerSecond, int ticksPerFrame) {
    return static_cast<std::uint16_t>(((256 - framesPerSecond) << 8) | ticksPerFrame);
}
// A format 0 song of `lengthMs`, one tick a millisecond: a note at the start, and its end.
inline std::string songOfLength(std::uint32_t lengthMs) {
    return header(0, 1, 500) +
           track(tempo(0, 500000) + noteOn(0, 60) + event(lengthMs, {0x80, 60, 0}) + endOfTrack(0));
}

}  // namespace dadaz::testing::smf
