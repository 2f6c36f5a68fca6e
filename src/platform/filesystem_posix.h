#pragma once

// POSIX building blocks of FileSystem; not for use outside it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dadaz::fsdetail {

// The path of `name` inside the real folder `folder` ("." is the working folder).
std::string childPath(const std::string& folder, std::string_view name);

// A file opened for writing under a fresh hidden name in a folder. The file is removed when
// the object goes, unless commit() handed it over.
class TempFile {
  public:
    explicit TempFile(const std::string& folder);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes the file; false when the data may not all have reached it.
    bool close();
    // The file now lives under another name (it was renamed or linked away).
    void commit() { committed_ = true; }

  private:
    int fd_ = -1;
    std::string path_;
    bool committed_ = false;
};

// Removes the temporary files that runs which were killed left in `folder` (the names
// TempFile gives); one that a running program still writes is locked and stays. Returns the
// names removed.
std::vector<std::string> removeStaleTemporaries(const std::string& folder);

// The hidden regular files in `folder`, read from disk: a look for leftovers that builds no
// index. Empty when the folder cannot be read.
std::vector<std::string> hiddenFileNames(const std::string& folder);

bool writeAll(int fd, std::string_view bytes);
// Copies the whole of `in` (from its start) into `out`.
bool copyData(int in, int out);

// Renames `from` to `to` unless `to` exists; 0 or the errno of the failure (EEXIST when the
// target exists). Falls back to link+unlink, and on file systems without hard links to a
// checked rename.
int renameNoReplace(const std::string& from, const std::string& to);

// Removes a folder and everything in it, read-only entries too; symbolic links are removed,
// never followed.
bool removeTree(const std::string& path);

// Splits a byte stream into lines fed in pieces: a line ends at CR LF, a lone CR or a lone LF.
class LineSplitter {
  public:
    // Stops taking lines once `maxLines` are there (0: no limit).
    LineSplitter(std::vector<std::string>& lines, std::size_t maxLines)
        : lines_(lines), maxLines_(maxLines) {}
    void feed(std::string_view bytes);
    // The last line when it has no line end.
    void finish();
    bool full() const { return maxLines_ != 0 && lines_.size() >= maxLines_; }

  private:
    void endLine();

    std::vector<std::string>& lines_;
    std::size_t maxLines_;
    std::string current_;
    bool afterCR_ = false;
};

}  // namespace dadaz::fsdetail
