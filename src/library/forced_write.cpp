#include "library/forced_write.h"

#include "platform/filesystem.h"

namespace dadaz {

bool writeFileForced(FileSystem& fs, std::string_view path, std::string_view bytes) {
    const bool readOnly = fs.isFile(path) && fs.isReadOnly(path);
    if (readOnly && !fs.setReadOnly(path, false)) return false;
    if (fs.writeFileAtomic(path, bytes)) return true;
    if (readOnly) fs.setReadOnly(path, true);
    return false;
}

}  // namespace dadaz
