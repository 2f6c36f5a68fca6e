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

namespace {

// Sorts entries in Thai collation order of their whole text, by ICU sort keys; equal texts
// keep their order.
std::vector<PrefixIndex::Entry> sortByCollation(std::vector<PrefixIndex::Entry> entries,
                                                const ThaiCollator& collator) {
    std::vector<std::string> keys;
    keys.reserve(entries.size());
    for (const auto& e : entries) keys.push_back(collator.sortKey(e.text));
    std::vector<std::uint32_t> order(entries.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    std::vector<PrefixIndex::Entry> sorted;
    sorted.reserve(entries.size());
    for (auto i : order) sorted.push_back(std::move(entries[i]));
    return sorted;
}

PrefixIndex::Entry indexEntry(std::string_view key, std::uint32_t record) {
    PrefixIndex::Entry e;
    e.text.reserve(key.size() + 7);
    e.text.append(key);
    e.text += ';';
    e.text += std::to_string(record);
    e.record = record;
    return e;
}

}  // namespace

CatalogueBuilder::CatalogueBuilder(Catalogue& catalogue) : catalogue_(catalogue) {
    catalogue_.clear();
    open_.emplace_back();
}

void CatalogueBuilder::add(std::string line) {
    if (catalogue_.pages_.back().songs.size() >= kPageCapacity) {
        catalogue_.pages_.emplace_back();
        open_.emplace_back();
    }
    auto& page = catalogue_.pages_.back();
    auto& open = open_.back();
    const auto record = static_cast<std::uint32_t>(page.songs.size());
    const SongLineFields fields = splitSongLine(line);
    open.codes.push_back(indexEntry(fields.code, record));
    open.names.push_back(indexEntry(fields.title, record));
    open.artists.push_back(indexEntry(fields.artist, record));
    page.songs.push_back(std::move(line));
    ++catalogue_.totalSongs_;
}

void CatalogueBuilder::finish(const std::function<void()>& wait) {
    // One job per index list; the sorted ones are the expensive ones.
    struct Job {
        PrefixIndex* index;
        std::vector<PrefixIndex::Entry>* entries;
        bool collate;
    };
    std::vector<Job> jobs;
    for (std::size_t p = 0; p < open_.size(); ++p) {
        auto& page = catalogue_.pages_[p];
        jobs.push_back({&page.codes, &open_[p].codes, true});
        jobs.push_back({&page.artists, &open_[p].artists, true});
        jobs.push_back({&page.names, &open_[p].names, false});
    }
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        ThaiCollator collator;
        for (std::size_t j; (j = next.fetch_add(1)) < jobs.size();) {
            Job& job = jobs[j];
            auto entries = std::move(*job.entries);
            if (job.collate) entries = sortByCollation(std::move(entries), collator);
            job.index->assign(std::move(entries));
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
    open_.clear();
}

}  // namespace dadaz
