#include "catalogue/catalogue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "catalogue/song_line.h"

namespace dadaz {

// Builds full pages on worker threads while the loading thread reads on: per page, one job
// makes the song lines from the text read and splits them into the three lists, then one job
// each sorts a list. It keeps the pages alive until its threads are joined.
class IndexWorkers {
  public:
    explicit IndexWorkers(std::shared_ptr<Catalogue::Pages> pages) : pages_(std::move(pages)) {}
    ~IndexWorkers() { stop(); }
    IndexWorkers(const IndexWorkers&) = delete;
    IndexWorkers& operator=(const IndexWorkers&) = delete;

    // `lines`: the page's `count` song lines, each ended by "\n".
    void submit(CataloguePage& page, std::string lines, std::size_t count) {
        page.songs.reserve(count);
        {
            std::lock_guard lock(mutex_);
            queue_.push_back({&page, Job::Fill, std::move(lines)});
            ++pending_;
            if (threads_.empty()) {
                const unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
                for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { run(); });
            }
        }
        wake_.notify_one();
    }

    // The text of a page already made, for the next one to be read into (fresh memory would
    // cost a page fault every 4 KB); empty when there is none.
    std::string spareText() {
        std::lock_guard lock(mutex_);
        if (spareTexts_.empty()) return {};
        std::string text = std::move(spareTexts_.back());
        spareTexts_.pop_back();
        return text;
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
        std::string lines;  // Fill only
    };

    void run() {
        IndexSorter sorter;
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
                if (stop_) return;
                job = std::move(queue_.front());
                queue_.pop_front();
            }
            if (job.kind == Job::Fill) {
                fill(*job.page, job.lines);
                job.lines.clear();
                {
                    std::lock_guard lock(mutex_);
                    spareTexts_.push_back(std::move(job.lines));
                    for (const auto kind : {Job::SortCodes, Job::SortArtists, Job::SortNames}) {
                        queue_.push_back({job.page, kind, {}});
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

    void fill(CataloguePage& page, std::string_view lines) {
        auto& songs = page.songs;
        for (std::size_t at = 0; at < lines.size();) {
            const std::size_t end = lines.find('\n', at);
            songs.emplace_back(lines.substr(at, end - at));
            if (isSeparatorLine(songs.back())) ++page.separatorLines;
            at = end + 1;
        }
        for (PrefixIndex* index : {&page.codes, &page.artists, &page.names}) {
            index->attach(songs);
            index->reserve(songs.size());
        }
        for (std::size_t i = 0; i < songs.size(); ++i) {
            if ((i & 1023) == 0 && stop_.load(std::memory_order_relaxed)) return;
            const SongLineFields fields = splitSongLine(songs[i]);
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
    std::vector<std::string> spareTexts_;
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

CatalogueBuilder::CatalogueBuilder(Catalogue& catalogue, std::size_t expectedBytes)
    : catalogue_(catalogue), expectedBytes_(expectedBytes) {
    catalogue_.clear();
    workers_ = std::make_shared<IndexWorkers>(catalogue_.pages_);
    catalogue_.indexing_ = workers_;
}

CatalogueBuilder::~CatalogueBuilder() {
    workers_->stop();
    if (!abandoned()) catalogue_.indexing_.reset();
}

bool CatalogueBuilder::abandoned() const {
    return catalogue_.indexing_ != workers_;
}

void CatalogueBuilder::add(std::string_view line) {
    if (abandoned()) return;
    if (pageLines_ == 0) {
        // A new page: page 0 is there from the start.
        if (pagesHandedOver_ == catalogue_.pages_->size()) catalogue_.pages_->emplace_back();
        // Room for the rest of the file, at most a page's worth; unused room costs no memory.
        pageText_.reserve(std::min<std::size_t>(
            expectedBytes_ - std::min(expectedBytes_, bytesRead_), kPageCapacity * 256));
    }
    pageText_.append(line);
    pageText_ += '\n';
    bytesRead_ += line.size() + 1;
    ++catalogue_.totalSongs_;
    if (++pageLines_ == kPageCapacity) handOverPage();
}

void CatalogueBuilder::handOverPage() {
    workers_->submit(catalogue_.pages_->back(), std::move(pageText_), pageLines_);
    pageText_ = workers_->spareText();
    pageLines_ = 0;
    ++pagesHandedOver_;
}

bool CatalogueBuilder::finish(const std::function<bool()>& keepWaiting) {
    if (abandoned()) return false;
    if (pageLines_ > 0) handOverPage();
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
