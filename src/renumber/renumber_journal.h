#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "renumber/renumber_plan.h"

namespace dadaz {

// The journal of a renumbering run in the program folder: the whole plan, written and flushed
// to disk before the first rename, then marks of progress appended as the run goes. A run or
// a start that finds it completes the interrupted run from it. Every step can be checked
// against the disk, so a step done twice is harmless; the marks only save work, except the
// pass marks: pass 1's temporary names are renamed again in pass 2, so pass 1 is never
// repeated once its mark is on disk.
constexpr const char* kJournalName = "Renumber.journal";

std::string journalPath(const std::string& programFolder);

class JournalWriter {
  public:
    // Writes the plan beside the journal's name, flushes it and renames it into place.
    // Nothing when any of that fails (then nothing may be renamed).
    static std::optional<JournalWriter> create(const std::string& path, const RenumberPlan& plan);
    // Appends to an existing journal (when completing an interrupted run).
    static std::optional<JournalWriter> reopen(const std::string& path);
    JournalWriter(JournalWriter&& other) noexcept;
    JournalWriter& operator=(JournalWriter&&) = delete;
    ~JournalWriter();

    // Steps before `nextStep` are done. Kept in memory until flush().
    void markDone(std::size_t nextStep);
    // A pass is done and on disk: its renames and this mark are flushed before the next pass.
    void markPassDone(int pass);
    // Hands what is kept in memory to the system (enough against a killed program).
    void flush();
    // Removes the journal; the run is complete.
    bool remove();

  private:
    JournalWriter(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    std::string path_;
    int fd_ = -1;
    std::string pending_;
};

// An interrupted run as its journal tells it.
struct JournalState {
    RenumberPlan plan;
    std::size_t resumeAt = 0;  // the first step not known to be done
    int passesDone = 0;
};

enum class JournalRead { Missing, Damaged, Read };
JournalRead readJournal(const std::string& path, JournalState& state);

}  // namespace dadaz
