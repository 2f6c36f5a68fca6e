#include "catalogue/catalogue_texts.h"

#include "platform/progress.h"

namespace dadaz::catalogue_text {

std::string resultLine(long found, long total) {
    return "ค้นหาพบ " + formatCount(found) + " จาก " + formatCount(total) + " เพลง";
}

std::string loadingLine(long recordsRead) {
    return "กำลังอ่านข้อมูล " + formatCount(recordsRead) + " Records.";
}

}  // namespace dadaz::catalogue_text
