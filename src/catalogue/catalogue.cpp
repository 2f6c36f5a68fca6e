#include "catalogue/catalogue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <numeric>
#include <thread>

#include "catalogue/song_line.h"
#include "platform/collation.h"

namespace dadaz {

Catalogue::Catalogue() {
    clear();
}

void Catalogue::clear() {
    pages_.clear();
    pages_.emplace_back();
    totalSongs_ = 0;
    currentPage_ = 0;
}

void Catalogue::setCurrentPage(int number) {
    currentPage_ = std::clamp(number, 0, lastPage());
}

void Catalogue::markEdited(std::string_view line) {
    const std::string folded = foldCase(line);
    for (auto& page : pages_) {
        for (auto& song : page.songs) {
            if (!startsWithFolded(song, folded)) continue;
            if (!hasEditedMark(song)) song += " [+]";
            break;
        }
    }
}

CatalogueBuilder::CatalogueBuilder(Catalogue& catalogue, std::size_t expectedRecords)
    : catalogue_(catalogue), expected_(expectedRecords) {
    catalogue_.clear();
    reservePage(catalogue_.pages_.back());
}

void CatalogueBuilder::reservePage(CataloguePage& page) {
    const auto done = static_cast<std::size_t>(catalogue_.totalSongs_);
    const std::size_t records = std::min(kPageCapacity, expected_ > done ? expected_ - done : 0);
    page.songs.reserve(records);
    page.codes.reserve(records, records * 12);
    page.names.reserve(records, records * 32);
    page.artists.reserve(records, records * 24);
}

void CatalogueBuilder::add(std::string line) {
    if (catalogue_.pages_.back().songs.size() >= kPageCapacity) {
        catalogue_.pages_.emplace_back();
        reservePage(catalogue_.pages_.back());
    }
    auto& page = catalogue_.pages_.back();
    const auto record = static_cast<std::uint32_t>(page.songs.size());
    const SongLineFields fields = splitSongLine(line);
    page.codes.add(fields.code, record);
    page.names.add(fields.title, record);
    page.artists.add(fields.artist, record);
    page.songs.push_back(std::move(line));
    ++catalogue_.totalSongs_;
}

void CatalogueBuilder::finish(const std::function<void()>& wait) {
    // One job per index list; the sorted ones cost the most, so they go first.
    std::vector<std::pair<PrefixIndex*, bool>> jobs;
    for (auto& page : catalogue_.pages_) {
        jobs.emplace_back(&page.codes, true);
        jobs.emplace_back(&page.artists, true);
    }
    for (auto& page : catalogue_.pages_) jobs.emplace_back(&page.names, false);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        ThaiCollator collator;
        for (std::size_t j; (j = next.fetch_add(1)) < jobs.size();) {
            auto [index, collate] = jobs[j];
            if (collate) {
                index->sealSorted(collator);
            } else {
                index->sealInOrder();
            }
        }
    };
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::future<void>> running;
    for (unsigned i = 0; i < std::min<std::size_t>(workers, jobs.size()); ++i) {
        running.push_back(std::async(std::launch::async, work));
    }
    for (auto& f : running) {
        while (f.wait_for(std::chrono::milliseconds(16)) != std::future_status::ready) {
            if (wait) wait();
        }
        f.get();
    }
}

}  // namespace dadaz
