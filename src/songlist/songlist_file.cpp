#include "songlist/songlist_file.h"

#include "platform/codepage.h"

namespace dadaz {

namespace {
constexpr const char* kNoteLine =
    "'แฟ้มรายการเพลงนี้ ท่านสามารถนำไปเปิดด้วยโปรแกรม Excel "
    "เพื่อจัดพิมพ์เป็นหนังสือรายชื่อเพลงได้";
constexpr const char* kColumnLine = "รหัสเพลง;ชื่อเพลง;ชื่อศิลปิน;คีย์เพลง";
constexpr const char* kFieldEnd = "  ;";
}  // namespace

std::string songListHeader() {
    return utf8ToCp874(kNoteLine) + "\r\n" + utf8ToCp874(kColumnLine) + "\r\n";
}

void appendSongListLine(std::string& out, const SongEntry& entry, bool multiFolder) {
    out += entry.code;
    out += kFieldEnd;
    out += entry.title;
    out += kFieldEnd;
    out += entry.artist;
    out += kFieldEnd;
    out += entry.key;
    if (multiFolder) {
        out += kFieldEnd;
        out += entry.volume;
    }
    out += "\r\n";
}

}  // namespace dadaz
