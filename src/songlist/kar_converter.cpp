#include "songlist/kar_converter.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/process_runner.h"

namespace dadaz {

const char* const kKarConverterName = "MakeKar.exe";

namespace {

constexpr auto kWaitStep = std::chrono::milliseconds(16);

bool startsWithMz(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[2] = {};
    return in.read(head, 2) && head[0] == 'M' && head[1] == 'Z';
}

bool nonEmptyFile(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return !error && size > 0;
}

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::symlink_status(path, error));
}

std::string timeStamp(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d%m%Y%H%M", &local);
    return text;
}

}  // namespace

KarConverter findKarConverter(const FileSystem& fs, const std::string& programFolder) {
    KarConverter converter;
    const auto real = fs.resolve(joinPath(programFolder, kKarConverterName));
    if (!real || !fs.isFile(*real)) return converter;
    converter.program = *real;
    converter.windowsProgram = startsWithMz(*real);
    if (converter.windowsProgram) {
        const auto wine = findOnPath("wine");
        const auto winepath = findOnPath("winepath");
        if (!wine || !winepath) {
            converter.state = KarConverter::State::NeedsWine;
            return converter;
        }
        converter.wine = *wine;
        converter.winepath = *winepath;
    } else if (::access(real->c_str(), X_OK) != 0) {
        converter.state = KarConverter::State::NotRunnable;
        return converter;
    }
    converter.state = KarConverter::State::Ready;
    return converter;
}

KarConversions::KarConversions(KarConverter converter, unsigned maxRunning)
    : converter_(std::move(converter)),
      maxRunning_(maxRunning > 0 ? maxRunning : std::max(1u, std::thread::hardware_concurrency())) {
}

KarConversions::~KarConversions() {
    {
        std::lock_guard lock(mutex_);
        dropped_ += queue_.size();
        queue_.clear();
        closed_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
}

void KarConversions::add(KarJob job) {
    // Known before the converter runs: only a file it made itself is removed on failure.
    const bool existed = fileExists(job.output);
    std::lock_guard lock(mutex_);
    queue_.push_back({asked_++, std::move(job), existed});
    if (idle_ > 0) {
        changed_.notify_one();
    } else if (workers_.size() < maxRunning_) {
        workers_.emplace_back([this] { work(); });
    }
}

void KarConversions::addFailed(KarJob job) {
    std::lock_guard lock(mutex_);
    failed_.emplace(asked_++, std::move(job));
    ++finished_;
}

void KarConversions::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (queue_.empty()) {
            if (closed_) return;
            ++idle_;
            changed_.wait(lock, [&] { return closed_ || !queue_.empty(); });
            --idle_;
            continue;
        }
        Queued queued = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        const bool written = convert(queued);
        lock.lock();
        ++finished_;
        if (written) {
            ++written_;
        } else {
            failed_.emplace(queued.index, std::move(queued.job));
        }
        changed_.notify_all();
    }
}

std::string KarConversions::windowsPath(const std::string& path) {
    // One winepath per folder, not per file: the songs of a folder share its form.
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    {
        std::lock_guard lock(mutex_);
        if (auto known = windowsFolders_.find(folder); known != windowsFolders_.end())
            return known->second.empty() ? std::string() : known->second + "\\" + name;
    }
    ProcessResult result = runProcess({converter_.winepath, "-w", folder}, true);
    std::string form = result.succeeded() ? result.output : std::string();
    while (!form.empty() && (form.back() == '\n' || form.back() == '\r')) form.pop_back();
    if (form.find('\n') != std::string::npos) form.clear();
    while (form.size() > 1 && form.back() == '\\') form.pop_back();
    std::lock_guard lock(mutex_);
    windowsFolders_[folder] = form;
    return form.empty() ? std::string() : form + "\\" + name;
}

std::vector<std::string> KarConversions::command(
    const KarConverter& converter, const KarJob& job,
    const std::function<std::string(const std::string&)>& windowsPath) {
    std::vector<std::string> argv;
    if (converter.windowsProgram) argv.push_back(converter.wine);
    argv.push_back(converter.program);
    for (const std::string* path : {&job.midi, &job.lyric, &job.cursor, &job.output}) {
        std::string form = converter.windowsProgram ? windowsPath(*path) : *path;
        if (form.empty()) return {};
        argv.push_back(std::move(form));
    }
    return argv;
}

bool KarConversions::convert(const Queued& queued) {
    const std::vector<std::string> argv = command(
        converter_, queued.job, [this](const std::string& path) { return windowsPath(path); });
    const bool ended = !argv.empty() && runProcess(argv).succeeded();
    if (ended && nonEmptyFile(queued.job.output)) return true;
    // What a failed converter left is no KAR file to trust.
    if (!queued.outputExisted) {
        std::error_code error;
        std::filesystem::remove(queued.job.output, error);
    }
    return false;
}

KarOutcome KarConversions::finish(const std::function<bool(std::size_t, std::size_t)>& onWait) {
    std::unique_lock lock(mutex_);
    closed_ = true;
    changed_.notify_all();
    bool dropping = false;
    while (finished_ + dropped_ < asked_) {
        changed_.wait_for(lock, kWaitStep);
        const std::size_t done = finished_, total = asked_;
        lock.unlock();
        const bool goOn = dropping || !onWait || onWait(done, total);
        lock.lock();
        if (!goOn) {
            dropping = true;
            dropped_ += queue_.size();
            queue_.clear();
        }
    }
    std::vector<std::thread> workers = std::move(workers_);
    lock.unlock();
    for (std::thread& worker : workers) worker.join();

    lock.lock();
    KarOutcome outcome;
    outcome.written = written_;
    outcome.dropped = dropped_;
    for (auto& [index, job] : failed_) outcome.notWritten.push_back(std::move(job));
    failed_.clear();
    return outcome;
}

std::string writeKarLog(FileSystem& fs, const std::string& programFolder,
                        const std::vector<KarJob>& notWritten,
                        std::chrono::system_clock::time_point when) {
    const std::string folder = joinPath(programFolder, "Log");
    if (!fs.isFolder(folder) && !fs.createFolder(folder)) return {};
    std::string text;
    for (const KarJob& job : notWritten) {
        text += utf8ToCp874(job.code + "     " + job.output) + "\r\n";
    }
    const std::string path = joinPath(folder, "KAR" + timeStamp(when) + ".txt");
    return fs.writeFileAtomic(path, text) ? path : std::string();
}

}  // namespace dadaz
