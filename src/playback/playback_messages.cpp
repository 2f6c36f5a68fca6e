#include "playback/playback_messages.h"

#include "playback/smf_reader.h"

namespace dadaz::playback_text {
namespace {

constexpr const char* kSilentUntilRetry =
    "\n\nเพลงจะเล่นโดยไม่มีเสียง\nโปรแกรมจะลองใหม่อีกครั้งเมื่อกดเล่นเพลงครั้งถัดไป";

}  // namespace

std::string soundProblem(const SoundProblem& problem) {
    switch (problem.kind) {
        case SoundProblem::Kind::NoSoundFont:
            return "ไม่พบซาวด์ฟอนต์ (SoundFont) สำหรับเล่นเพลง MIDI ในตำแหน่งต่อไปนี้:\n" + problem.detail +
                   "\n\nกรุณาติดตั้งซาวด์ฟอนต์ General MIDI เช่น แพ็กเกจ timgm6mb-soundfont "
                   "หรือ fluid-soundfont-gm" +
                   kSilentUntilRetry;
        case SoundProblem::Kind::SoundFontUnusable:
            return "ไม่สามารถใช้ซาวด์ฟอนต์ (SoundFont) นี้ได้:\n" + problem.detail + kSilentUntilRetry;
        case SoundProblem::Kind::NoSoundDevice:
            return "ไม่สามารถเปิดอุปกรณ์เสียงได้ (ลองแล้ว: " + problem.detail +
                   ")\nกรุณาตรวจสอบอุปกรณ์เสียงของเครื่อง" + kSilentUntilRetry;
        case SoundProblem::Kind::None:
            break;
    }
    return {};
}

std::string fileTooLarge(const std::string& path) {
    return "แฟ้ม " + path + "\nมีขนาดใหญ่เกินกว่าจะเป็นแฟ้มเพลง MIDI (เกิน " +
           std::to_string(kMaxMidiFileBytes >> 20) + " MB) จึงไม่เล่นแฟ้มนี้";
}

}  // namespace dadaz::playback_text
