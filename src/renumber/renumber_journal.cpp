#include "renumber/renumber_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <vector>

#include "platform/sys_io.h"
#include "renumber/sync_folders.h"

namespace dadaz {

namespace {

constexpr std::string_view kHeader = "DADAZ-RENUMBER\t1";

void appendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
}

std::string unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            parts.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

template <typename Number>
bool number(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string planText(const RenumberPlan& plan) {
    std::string text(kHeader);
    text += "\nL\t" + std::to_string(plan.validLength) + "\nT";
    for (long total : plan.totals) text += "\t" + std::to_string(total);
    text += "\nC";
    for (long long found : plan.found) text += "\t" + std::to_string(found);
    text += "\t" + std::to_string(plan.notMoved) + "\n";
    text += "I";
    for (std::uint32_t first : plan.firstFolder) text += "\t" + std::to_string(first);
    text += "\n";
    for (const std::string& folder : plan.folders) {
        text += "F\t";
        appendEscaped(text, folder);
        text += "\n";
    }
    for (const std::string& song : plan.keptSongs) {
        text += "N\t";
        appendEscaped(text, song);
        text += "\n";
    }
    for (const RenumberStep& step : plan.steps) {
        text += "S\t";
        text += static_cast<char>(step.kind);
        text += "\t" + std::to_string(step.phase) + "\t" + std::to_string(step.progress);
        for (const FileMove& move : step.moves) {
            text += "\t" + std::to_string(move.from) + "\t";
            appendEscaped(text, move.fromName);
            text += "\t" + std::to_string(move.to) + "\t";
            appendEscaped(text, move.toName);
        }
        text += "\n";
    }
    text += "E\n";
    return text;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = sys::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool parseStep(const std::vector<std::string_view>& parts, const RenumberPlan& plan,
               RenumberStep& step) {
    if (parts.size() < 8 || (parts.size() - 4) % 4 != 0 || parts[1].size() != 1) return false;
    step.kind = static_cast<RenumberStep::Kind>(parts[1][0]);
    if (std::string_view("taric").find(parts[1][0]) == std::string_view::npos) return false;
    int phase = 0;
    if (!number(parts[2], phase) || phase < 0 || phase >= kPhaseCount) return false;
    step.phase = static_cast<std::uint8_t>(phase);
    if (!number(parts[3], step.progress)) return false;
    for (std::size_t i = 4; i < parts.size(); i += 4) {
        FileMove move;
        if (!number(parts[i], move.from) || !number(parts[i + 2], move.to)) return false;
        if (move.from >= plan.folders.size() || move.to >= plan.folders.size()) return false;
        move.fromName = unescape(parts[i + 1]);
        move.toName = unescape(parts[i + 3]);
        if (move.fromName.empty() || move.toName.empty() ||
            move.fromName.find('/') != std::string::npos ||
            move.toName.find('/') != std::string::npos)
            return false;
        step.moves.push_back(std::move(move));
    }
    return true;
}

}  // namespace

std::string journalPath(const std::string& programFolder) {
    return programFolder + "/" + kJournalName;
}

std::optional<JournalWriter> JournalWriter::create(const std::string& path,
                                                   const RenumberPlan& plan) {
    const std::string temporary = folderOf(path) + "/." + kJournalName + ".new";
    // A fresh file: a left-over (or a link) under that name goes, and O_EXCL never opens one.
    ::unlink(temporary.c_str());
    const int fd = sys::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return std::nullopt;
    const bool written = writeAll(fd, planText(plan)) && sys::fsync(fd) == 0;
    if (!written || sys::rename(temporary.c_str(), path.c_str()) != 0) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return std::nullopt;
    }
    // The journal's name must be on disk before any rename it describes.
    if (!syncFolder(folderOf(path))) {
        ::close(fd);
        ::unlink(path.c_str());
        return std::nullopt;
    }
    ::close(fd);
    return reopen(path);
}

std::optional<JournalWriter> JournalWriter::reopen(const std::string& path) {
    const int fd = sys::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    return JournalWriter(path, fd);
}

JournalWriter::JournalWriter(JournalWriter&& other) noexcept
    : path_(std::move(other.path_)), fd_(other.fd_), pending_(std::move(other.pending_)) {
    other.fd_ = -1;
}

JournalWriter::~JournalWriter() {
    if (fd_ < 0) return;
    flush();
    ::close(fd_);
}

void JournalWriter::markDone(std::size_t nextStep) {
    pending_ += "D\t" + std::to_string(nextStep) + "\n";
}

void JournalWriter::markPassDone(int pass) {
    pending_ += "B\t" + std::to_string(pass) + "\n";
    flush();
    sys::fdatasync(fd_);
}

void JournalWriter::flush() {
    if (fd_ < 0 || pending_.empty()) return;
    writeAll(fd_, pending_);
    pending_.clear();
}

bool JournalWriter::remove() {
    pending_.clear();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    const bool removed = sys::unlink(path_.c_str()) == 0 || errno == ENOENT;
    syncFolder(folderOf(path_));
    return removed;
}

JournalRead readJournal(const std::string& path, JournalState& state) {
    // Without waiting: a named pipe in the journal's place must not hang the run.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? JournalRead::Missing : JournalRead::Damaged;
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return JournalRead::Damaged;
    }
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);

    RenumberPlan& plan = state.plan;
    bool header = false, ended = false;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) break;  // a last line cut off by a crash is ignored
        const std::string_view line(bytes.data() + start, end - start);
        start = end + 1;
        if (!header) {
            if (line != kHeader) return JournalRead::Damaged;
            header = true;
            continue;
        }
        const auto parts = fields(line);
        const std::string_view tag = parts[0];
        bool ok = true;
        if (ended) {
            std::size_t value = 0;
            ok = parts.size() == 2 && number(parts[1], value);
            if (ok && tag == "D" && value <= plan.steps.size())
                state.resumeAt = std::max(state.resumeAt, value);
            else if (ok && tag == "B" && value >= 1 && value <= 3)
                state.passesDone = std::max(state.passesDone, static_cast<int>(value));
            else
                ok = false;
        } else if (tag == "L") {
            ok = parts.size() == 2 && number(parts[1], plan.validLength);
        } else if (tag == "T") {
            ok = parts.size() == 1 + kPhaseCount;
            for (int i = 0; ok && i < kPhaseCount; ++i) ok = number(parts[1 + i], plan.totals[i]);
        } else if (tag == "C") {
            ok = parts.size() == 5 && number(parts[1], plan.found[0]) &&
                 number(parts[2], plan.found[1]) && number(parts[3], plan.found[2]) &&
                 number(parts[4], plan.notMoved);
        } else if (tag == "I") {
            ok = parts.size() == 4 && number(parts[1], plan.firstFolder[0]) &&
                 number(parts[2], plan.firstFolder[1]) && number(parts[3], plan.firstFolder[2]);
        } else if (tag == "F" && parts.size() == 2) {
            plan.folders.push_back(unescape(parts[1]));
        } else if (tag == "N" && parts.size() == 2) {
            plan.keptSongs.push_back(unescape(parts[1]));
        } else if (tag == "S") {
            RenumberStep step;
            ok = parseStep(parts, plan, step);
            if (ok) plan.steps.push_back(std::move(step));
        } else if (tag == "E" && parts.size() == 1) {
            ended = true;
        } else {
            ok = false;
        }
        if (!ok) return JournalRead::Damaged;
    }
    return header && ended ? JournalRead::Read : JournalRead::Damaged;
}

}  // namespace dadaz
