#include "update/download.h"

#include <curl/curl.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>

namespace dadaz {

namespace {

struct Transfer {
    std::FILE* file = nullptr;
    std::uint64_t received = 0;
    std::uint64_t maxBytes = 0;
    bool tooLarge = false;
};

std::size_t writeBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    std::size_t bytes = size * count;
    transfer->received += bytes;
    // A server that sends no length is cut off here instead.
    if (transfer->received > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    return std::fwrite(data, 1, bytes, transfer->file);
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// Runs the transfer; empty when it completed.
std::string runTransfer(const std::string& url, Transfer& transfer, const DownloadLimits& limits,
                        const std::atomic<bool>* cancel) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) return "cannot start a transfer";
    char detail[CURL_ERROR_SIZE] = "";
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.timeLimit.count()));
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, detail);
    if (curl_multi_add_handle(multi.get(), e) != CURLM_OK) return "cannot start a transfer";

    int running = 1;
    while (running) {
        if (cancel && *cancel) {
            curl_multi_remove_handle(multi.get(), e);
            return "cancelled";
        }
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) break;
        // Short waits, so a cancel is seen at once.
        if (running) curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr);
    }
    CURLcode code = CURLE_FAILED_INIT;
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &left))
        if (message->msg == CURLMSG_DONE) code = message->data.result;
    curl_multi_remove_handle(multi.get(), e);
    if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED)
        return "larger than " + std::to_string(limits.maxBytes) + " bytes";
    if (code == CURLE_OK) return {};
    return detail[0] ? detail : curl_easy_strerror(code);
}

}  // namespace

DownloadResult downloadFile(const std::string& url, const std::string& target,
                            const DownloadLimits& limits, const std::atomic<bool>* cancel) {
    const std::string temporary = target + ".tmp";
    Transfer transfer;
    transfer.maxBytes = limits.maxBytes;
    // A fresh file of our own: whatever stands under that name (a left-over, a link) goes
    // first, and "x" never opens an existing name, so nothing is written through a link.
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    transfer.file = std::fopen(temporary.c_str(), "wbx");
    if (!transfer.file) return {false, "cannot write " + temporary};
    std::string error = runTransfer(url, transfer, limits, cancel);
    if (std::fclose(transfer.file) != 0 && error.empty()) error = "cannot write " + temporary;
    if (error.empty()) {
        std::filesystem::rename(temporary, target, ignored);
        if (!ignored) return {true, {}};
        error = "cannot write " + target;
    }
    std::filesystem::remove(temporary, ignored);
    return {false, error};
}

BackgroundDownload::BackgroundDownload(std::string url, std::string target, DownloadLimits limits,
                                       std::function<void(const DownloadResult&)> onDone) {
    thread_ = std::thread([this, url = std::move(url), target = std::move(target), limits,
                           onDone = std::move(onDone)] {
        DownloadResult result = downloadFile(url, target, limits, &cancelled_);
        running_ = false;
        if (!cancelled_ && onDone) onDone(result);
    });
}

BackgroundDownload::~BackgroundDownload() {
    cancelled_ = true;
    thread_.join();
}

}  // namespace dadaz
