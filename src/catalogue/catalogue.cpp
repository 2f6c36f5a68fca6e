#include "catalogue/catalogue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "catalogue/song_line.h"

namespace dadaz {

// Builds the indexes of full pages on worker threads while the loading thread reads on: per
// page, one job splits the lines into the three lists, then one job each sorts them. It keeps
// the pages alive until its threads are joined.
class IndexWorkers {
  public:
    explicit IndexWorkers(std::shared_ptr<Catalogue::Pages> pages) : pages_(std::move(pages)) {}
    ~IndexWorkers() { stop(); }
    IndexWorkers(const IndexWorkers&) = delete;
    IndexWorkers& operator=(const IndexWorkers&) = delete;

    // The page's lines must not change from now on.
    void submit(CataloguePage& page) {
        {
            std::lock_guard lock(mutex_);
            queue_.push_back({&page, Job::Fill});
            ++pending_;
            if (threads_.empty()) {
                const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
                for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { run(); });
            }
        }
        wake_.notify_one();
    }

    // True once every submitted page is indexed; waits at most `slice` for it.
    bool waitFor(std::chrono::milliseconds slice) {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, slice, [this] { return pending_ == 0; });
    }

    // Ends the building at once (an index half built stays unusable) and joins the threads.
    void stop() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            queue_.clear();
        }
        wake_.notify_all();
        for (auto& thread : threads_) thread.join();
        threads_.clear();
    }

  private:
    struct Job {
        enum Kind { Fill, SortCodes, SortArtists, SortNames };
        CataloguePage* page;
        Kind kind;
    };

    void run() {
        IndexSorter sorter;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
                if (stop_) return;
                job = queue_.front();
                queue_.pop_front();
            }
            if (job.kind == Job::Fill) {
                fill(*job.page);
                {
                    std::lock_guard lock(mutex_);
                    for (const auto kind : {Job::SortCodes, Job::SortArtists, Job::SortNames}) {
                        queue_.push_back({job.page, kind});
                    }
                    pending_ += 2;
                }
                wake_.notify_all();
                continue;
            }
            if (job.kind == Job::SortNames) {
                job.page->names.sealInOrder(sorter, stop_);
            } else if (job.kind == Job::SortCodes) {
                job.page->codes.sealSorted(sorter, KeyRepeats::Rarely, stop_);
            } else {
                job.page->artists.sealSorted(sorter, KeyRepeats::Often, stop_);
            }
            {
                std::lock_guard lock(mutex_);
                --pending_;
            }
            done_.notify_all();
        }
    }

    void fill(CataloguePage& page) {
        const std::size_t count = page.songs.size();
        for (PrefixIndex* index : {&page.codes, &page.artists, &page.names}) {
            index->attach(page.songs);
            index->reserve(count);
        }
        for (std::size_t i = 0; i < count; ++i) {
            if ((i & 1023) == 0 && stop_.load(std::memory_order_relaxed)) return;
            const SongLineFields fields = splitSongLine(page.songs[i]);
            page.codes.add(fields.code);
            page.artists.add(fields.artist);
            page.names.add(fields.title);
        }
    }

    std::shared_ptr<Catalogue::Pages> pages_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::deque<Job> queue_;
    std::size_t pending_ = 0;
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

Catalogue::Catalogue() {
    clear();
}

Catalogue::Catalogue(std::shared_ptr<Pages> pages, long totalSongs, int currentPage)
    : pages_(std::move(pages)), totalSongs_(totalSongs), currentPage_(currentPage) {}

Catalogue::~Catalogue() {
    if (indexing_) indexing_->stop();
}

void Catalogue::clear() {
    if (indexing_) {
        indexing_->stop();
        indexing_.reset();
    }
    // New pages: whoever still holds the old ones keeps them as they were.
    pages_ = std::make_shared<Pages>();
    pages_->emplace_back();
    totalSongs_ = 0;
    currentPage_ = 0;
}

void Catalogue::setCurrentPage(int number) {
    currentPage_ = std::clamp(number, 0, lastPage());
}

void Catalogue::markEdited(std::string_view line) {
    const std::string folded = foldCase(line);
    for (auto& page : *pages_) {
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
    workers_ = std::make_shared<IndexWorkers>(catalogue_.pages_);
    catalogue_.indexing_ = workers_;
    catalogue_.pages_->back().songs.reserve(std::min(kPageCapacity, expected_));
}

CatalogueBuilder::~CatalogueBuilder() {
    workers_->stop();
    if (!abandoned()) catalogue_.indexing_.reset();
}

bool CatalogueBuilder::abandoned() const {
    return catalogue_.indexing_ != workers_;
}

void CatalogueBuilder::startPage() {
    catalogue_.pages_->emplace_back();
    const auto done = static_cast<std::size_t>(catalogue_.totalSongs_);
    catalogue_.pages_->back().songs.reserve(
        std::min(kPageCapacity, expected_ > done ? expected_ - done : 0));
}

void CatalogueBuilder::add(std::string line) {
    if (abandoned()) return;
    if (catalogue_.pages_->back().songs.size() >= kPageCapacity) startPage();
    CataloguePage& page = catalogue_.pages_->back();
    if (isSeparatorLine(line)) ++page.separatorLines;
    page.songs.push_back(std::move(line));
    ++catalogue_.totalSongs_;
    if (page.songs.size() == kPageCapacity) workers_->submit(page);
}

bool CatalogueBuilder::finish(const std::function<bool()>& keepWaiting) {
    if (abandoned()) return false;
    CataloguePage& last = catalogue_.pages_->back();
    if (!last.songs.empty() && last.songs.size() < kPageCapacity) workers_->submit(last);
    for (;;) {
        // Events run at least once here, so a Cancel or a close that comes while the indexes
        // are built is always seen.
        const bool goOn = !keepWaiting || keepWaiting();
        if (abandoned()) return false;  // cleared meanwhile: its workers are joined already
        if (!goOn) {
            catalogue_.clear();
            return false;
        }
        if (workers_->waitFor(std::chrono::milliseconds(16))) break;
    }
    workers_->stop();
    catalogue_.indexing_.reset();
    return true;
}

}  // namespace dadaz
