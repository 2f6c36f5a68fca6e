#include "fault_remove_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

namespace dadaz::testing {

namespace {

std::string relativeTo(const std::string& root, const std::string& path) {
    return path.size() > root.size() ? path.substr(root.size() + 1) : std::string();
}

}  // namespace

void SongLibrary::make(const std::string& programFolder, std::size_t count) {
    const GeneratedLibrary library = generateLibrary(
        programFolder, {.songs = 16, .layout = layout_, .newSongs = 0, .songsPerVolume = 6});
    ASSERT_TRUE(library.ok) << library.error;
    midi_ = relativeTo(programFolder, library.midiFolder);
    lyric_ = relativeTo(programFolder, library.lyricFolder);
    cursor_ = relativeTo(programFolder, library.cursorFolder);
    before_ = snapshot(programFolder);

    using Bytes = std::tuple<std::size_t, std::size_t, std::size_t>;
    std::vector<PickedSong> whole;
    std::map<Bytes, int> songsWithBytes;
    std::vector<Bytes> bytesOf;
    for (const GeneratedSong& song : library.songs) {
        if (song.missing != MissingPartner::None) continue;
        PickedSong picked{
            song.code,
            song.volume,
            {relativeTo(programFolder, song.midiPath), relativeTo(programFolder, song.lyricPath),
             relativeTo(programFolder, song.cursorPath)}};
        const Bytes bytes{before_.at(picked.files[0]).hash, before_.at(picked.files[1]).hash,
                          before_.at(picked.files[2]).hash};
        ++songsWithBytes[bytes];
        bytesOf.push_back(bytes);
        whole.push_back(std::move(picked));
    }
    std::vector<PickedSong> unique;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const bool codeTaken = std::any_of(unique.begin(), unique.end(), [&](const PickedSong& s) {
            return s.code == whole[i].code;
        });
        if (songsWithBytes[bytesOf[i]] == 1 && !codeTaken) unique.push_back(whole[i]);
    }
    ASSERT_GE(unique.size(), count);
    picked_.clear();
    for (std::size_t i = 0; i < count; ++i) picked_.push_back(unique[i * unique.size() / count]);
}

void SongLibrary::lowerExtensions(const std::string& programFolder) {
    for (PickedSong& song : picked_) {
        for (std::string& file : song.files) {
            std::string lower = file;
            for (std::size_t i = lower.rfind('.'); i < lower.size(); ++i)
                lower[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[i])));
            std::filesystem::rename(programFolder + "/" + file, programFolder + "/" + lower);
            file = lower;
        }
    }
    before_ = snapshot(programFolder);
}

Folders SongLibrary::folders(const std::string& programFolder, const std::string& moveTo) const {
    auto folder = [&](const std::string& relative) {
        return relative.empty() ? programFolder : programFolder + "/" + relative;
    };
    return {folder(midi_), folder(lyric_), folder(cursor_), moveTo};
}

std::vector<CurrentSong> SongLibrary::songs(const std::string& programFolder) const {
    std::vector<CurrentSong> songs;
    for (const PickedSong& song : picked_) {
        songs.emplace_back(song.code,
                           song.volume.empty() ? std::string() : programFolder + "/" + song.volume);
    }
    return songs;
}

PathFilter SongLibrary::pickedFiles() const {
    return [this](const std::string& path) {
        return std::any_of(picked_.begin(), picked_.end(), [&](const PickedSong& song) {
            return std::find(song.files.begin(), song.files.end(), path) != song.files.end();
        });
    };
}

std::vector<std::string> unnamedStayingSongs(const SongLibrary& library,
                                             const std::string& programFolder,
                                             const std::string& message) {
    std::vector<std::string> problems;
    for (const PickedSong& song : library.picked()) {
        const bool stays = std::any_of(song.files.begin(), song.files.end(), [&](auto& file) {
            return std::filesystem::exists(programFolder + "/" + file);
        });
        if (stays && message.find(song.code) == std::string::npos)
            problems.push_back("song " + song.code + " stayed, and the message does not name it");
    }
    return problems;
}

std::vector<std::string> unnamedLeftovers(const SongLibrary& library,
                                          const std::string& programFolder,
                                          const std::string& message) {
    // Names only: hashing the whole tree again for a few hidden files costs more than the run.
    std::vector<std::string> problems;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(programFolder)) {
        const std::string name = entry.path().filename().string();
        const std::string path = entry.path().string().substr(programFolder.size() + 1);
        if (name[0] == '.' && !library.before().count(path) &&
            message.find(name) == std::string::npos)
            problems.push_back(path + ", not named in the message");
    }
    return problems;
}

}  // namespace dadaz::testing
