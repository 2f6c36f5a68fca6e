#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

namespace dadaz {

struct DownloadLimits {
    std::uint64_t maxBytes = 0;
    std::chrono::milliseconds timeLimit{0};
};

struct DownloadResult {
    bool ok = false;
    std::string error;  // why it failed (English, from the transfer library or ours)
};

// Downloads an http or https address (redirects only to http or https) into `target`. The
// bytes go to a temporary file beside the target, which is renamed over it only when the
// whole file arrived within the limits; on any failure the target is left as it was and no
// temporary file stays. Blocks until done, failed or `cancel` turns true.
DownloadResult downloadFile(const std::string& url, const std::string& target,
                            const DownloadLimits& limits,
                            const std::atomic<bool>* cancel = nullptr);

// One download on a thread of its own, so a window keeps working while it runs. `onDone`
// runs on that thread when the download ends, unless it was cancelled. Destroying the object
// cancels the download and waits for its thread.
class BackgroundDownload {
  public:
    BackgroundDownload(std::string url, std::string target, DownloadLimits limits,
                       std::function<void(const DownloadResult&)> onDone);
    ~BackgroundDownload();
    BackgroundDownload(const BackgroundDownload&) = delete;
    BackgroundDownload& operator=(const BackgroundDownload&) = delete;

    void cancel() { cancelled_ = true; }
    bool running() const { return running_; }

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> running_{true};
    std::thread thread_;
};

}  // namespace dadaz
