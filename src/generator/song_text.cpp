#include "generator/song_text.h"

#include <cctype>

#include "platform/codepage.h"

namespace dadaz::gen {

namespace {

std::vector<std::string> toCp874(std::initializer_list<const char*> words) {
    std::vector<std::string> out;
    out.reserve(words.size());
    for (const char* w : words) out.push_back(utf8ToCp874(w));
    return out;
}

// Words of Thai song titles and lyrics: many with leading vowels (เ แ โ ใ ไ) and tone marks.
const std::initializer_list<const char*> kThaiWords = {
    "รัก",    "ใจ",    "เธอ",  "ฉัน",    "คน",     "ไม่",      "ได้",    "ให้",       "ที่",    "จะ",
    "เพลง",  "ฝัน",    "คืน",   "วัน",    "ฟ้า",     "ฝน",      "ดาว",   "เดือน",     "ทะเล", "ลม",
    "หนาว",  "ร้อน",   "ห่วง",  "คิดถึง",  "ลืม",     "จำ",      "รอ",    "ไกล",      "ใกล้",  "เหงา",
    "น้ำตา",  "ยิ้ม",    "หัวใจ", "สัญญา",  "ความรัก", "แฟน",     "เพื่อน",  "บ้าน",      "ทาง",  "เดิน",
    "กลับ",   "ไป",    "มา",   "อยู่",    "เสมอ",   "ตลอดไป",  "นิรันดร์", "แสง",      "เงา",  "ดอกไม้",
    "กุหลาบ", "ลำธาร", "ภูเขา", "ทุ่ง",    "นา",     "สาว",     "หนุ่ม",   "บ่าว",      "อีสาน", "โลก",
    "โชค",   "โกหก",  "ไว้",   "ใคร",   "ใหม่",    "ไหน",     "ไหม",   "แล้ว",      "แค่",   "แต่",
    "เจ็บ",   "เสียใจ", "เก่า",  "เศร้า",  "เพราะ",  "เหมือน",   "เป็น",   "เห็น",      "เรา",  "เขา",
    "แม่",    "พ่อ",    "ขอ",   "ขอบคุณ", "ก่อน",    "ต่อ",      "ค่ำ",    "ครั้ง",      "ตั้งแต่", "ห้าม",
    "จ๊ะ",    "จ๋า",    "เป๋า",  "โอ๊ย",   "ตุ๊กตา",   "ก๋วยเตี๋ยว", "น้อง",   "พี่",        "ใบไม้", "ใต้",
    "ไฟ",    "โปรด",  "เพียง", "แสนดี",  "อ้อมกอด", "ข้างกาย",  "เจ้า",   "ฮัก",       "บ่",    "ซิ",
    "ไผ่",    "โขง",   "ลำไย", "จันทร์",  "ตะวัน",   "สายลม",   "แม่น้ำ",  "ทุ่งรวงทอง", "ฤดู",   "ฤๅษี",
};

const std::initializer_list<const char*> kThaiRemarks = {
    "(เพลงประกอบละคร)", "(แสดงสด)", "(รีมิกซ์)", "[คาราโอเกะ]", "(ต้นฉบับ)",  "(ช้า)", "(เร็ว)",
    "[ลูกทุ่ง]",           "(คู่)",      "(ชาย)",  "(หญิง)",       "(ฉบับใหม่)",
};

const std::initializer_list<const char*> kThaiGivenNames = {
    "สมชาย", "สายฝน", "ดาวใจ", "แก้ว", "น้ำผึ้ง", "ใบเตย", "เอื้อ", "โอ๋", "เต๋า", "ตั๊กแตน",
    "ไข่มุก",  "ต่าย",   "เบิร์ด",  "ปุ๊",   "แหวน", "ก้อง",   "ศรี",  "พร", "ไผ่",  "ฝน",
};

const std::initializer_list<const char*> kThaiFamilyNames = {
    "ศรีสุข",   "ใจดี",    "แสงทอง", "เพชรงาม", "บุญมา",  "ทองดี",  "สุขใจ",   "เมืองไทย",
    "ไพเราะ", "ดวงแก้ว", "ศรีเมือง", "นาคสวัสดิ์", "ชัยชนะ", "แก้วใส", "โพธิ์ทอง",
};

const std::initializer_list<const char*> kThaiBandWords = {
    "ลมหนาว", "ดอกไม้", "ฟ้าใส", "ไฟเย็น", "ตะวัน", "ทะเลใจ", "เพื่อนเก่า", "สายรุ้ง",
};

const std::vector<std::string> kLatinWords = {
    "love",   "song",    "night",  "heart",    "dream",  "baby",  "forever",  "tonight",
    "rain",   "blue",    "sky",    "summer",   "dance",  "fire",  "moon",     "star",
    "angel",  "broken",  "home",   "sweet",    "lonely", "crazy", "again",    "remember",
    "you",    "me",      "my",     "the",      "of",     "in",    "your",     "only",
    "heaven", "goodbye", "hello",  "memory",   "river",  "road",  "midnight", "city",
    "light",  "shadow",  "tears",  "smile",    "world",  "time",  "way",      "friend",
    "never",  "always",  "little", "together", "wind",   "ocean", "golden",   "wild",
};

const std::vector<std::string> kLatinRemarks = {
    "(Remix)",  "(Live)",      "(Acoustic)", "[Karaoke]", "(Cover)", "(Original)",
    "(Ver. 2)", "(Dance Mix)", "[MTV]",      "(Slow)",    "(Duet)",  "{Medley}",
};

const std::vector<std::string> kLatinFirstNames = {
    "Jimmy", "Anna", "Tony", "Lisa", "Max",  "Joey",  "Nina",  "Sam",
    "Kate",  "Leo",  "Mike", "Rose", "Dave", "Linda", "Peter", "Amy",
};

const std::vector<std::string> kLatinLastNames = {
    "Lane", "Brown", "Carter", "Stone", "Rivers", "King", "Gray", "Fox", "Wood", "Hill",
};

const std::vector<std::string> kBandWords = {
    "Stars", "Rivers", "Lights", "Tigers", "Dreamers", "Shadows", "Roses", "Kings",
};

const std::vector<std::string> kKeys = {
    "C",  "Cm", "C#",  "C#m", "Db", "D",  "Dm", "Eb", "Ebm", "E",   "Em", "F",
    "Fm", "F#", "F#m", "G",   "Gm", "Ab", "A",  "Am", "Bb",  "Bbm", "B",  "Bm",
};

const std::vector<std::string> kFourthLines = {"-", "www", "Karaoke", "*", "0", "Key"};

std::string capitalised(std::string word) {
    if (!word.empty())
        word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    return word;
}

std::string upper(std::string word) {
    for (char& ch : word) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return word;
}

std::string latinWords(Random& r, int count, int letterCase) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        if (i) out += ' ';
        const std::string& w = r.pick(kLatinWords);
        switch (letterCase) {
            case 0:
                out += capitalised(w);
                break;
            case 1:
                out += upper(w);
                break;
            case 2:
                out += w;
                break;
            default:
                out += i == 0 ? capitalised(w) : w;
                break;
        }
    }
    return out;
}

}  // namespace

SongTextMaker::SongTextMaker()
    : thaiWords_(toCp874(kThaiWords)),
      thaiRemarks_(toCp874(kThaiRemarks)),
      thaiGivenNames_(toCp874(kThaiGivenNames)),
      thaiFamilyNames_(toCp874(kThaiFamilyNames)),
      thaiBandWords_(toCp874(kThaiBandWords)),
      thaiDigits_(toCp874({"๑", "๒", "๓", "๔", "๕", "๖", "๗", "๘", "๙", "๐"})),
      thaiRepeat_(utf8ToCp874("ๆ")) {}

std::string SongTextMaker::title(Random& r, bool thai) const {
    if (!thai) {
        // Mostly title case; some upper case, lower case or sentence case as people type them.
        const unsigned roll = static_cast<unsigned>(r.below(100));
        const int letterCase = roll < 70 ? 0 : roll < 82 ? 1 : roll < 90 ? 2 : 3;
        std::string t = latinWords(r, r.between(1, 4), letterCase);
        if (r.chance(30)) t += " " + std::to_string(r.between(2, 9));
        return t;
    }
    std::string t;
    const int words = r.between(1, 4);
    for (int i = 0; i < words; ++i) {
        const std::string& w = r.pick(thaiWords_);
        t += w;
        if (r.chance(40)) t += thaiRepeat_;  // a doubled word, written with the repetition mark
        if (i + 1 < words && r.chance(250)) t += ' ';
    }
    if (r.chance(25)) t += " " + r.pick(thaiDigits_);
    return t;
}

std::string SongTextMaker::remark(Random& r, bool thai) const {
    if (thai && r.chance(700)) return r.pick(thaiRemarks_);
    return r.pick(kLatinRemarks);
}

std::string SongTextMaker::artist(Random& r, bool thai) const {
    const unsigned roll = static_cast<unsigned>(r.below(100));
    if (thai) {
        if (roll < 60) return r.pick(thaiGivenNames_) + " " + r.pick(thaiFamilyNames_);
        if (roll < 80) return r.pick(thaiGivenNames_);
        if (roll < 92) return utf8ToCp874("วง") + r.pick(thaiBandWords_);
        return r.pick(thaiGivenNames_) + " & " + r.pick(thaiGivenNames_);
    }
    if (roll < 55) return r.pick(kLatinFirstNames) + " " + r.pick(kLatinLastNames);
    if (roll < 80) return "The " + r.pick(kBandWords);
    if (roll < 90) return upper(r.pick(kLatinFirstNames));
    return r.pick(kLatinFirstNames) + " feat. " + r.pick(kLatinFirstNames);
}

std::string SongTextMaker::key(Random& r) const {
    return r.pick(kKeys);
}

std::string SongTextMaker::lyricLine(Random& r, bool thai) const {
    std::string line;
    const int words = r.between(2, 7);
    bool lastThai = false;
    for (int i = 0; i < words; ++i) {
        // Thai lyrics carry a Latin word now and then, and the other way round. Thai words run
        // together or stand apart; a change of script always has a blank.
        const bool thaiWord = thai ? !r.chance(60) : r.chance(30);
        if (i && (!thaiWord || !lastThai || r.chance(500))) line += ' ';
        if (thaiWord) {
            line += r.pick(thaiWords_);
            if (r.chance(30)) line += thaiRepeat_;
        } else {
            line += i == 0 ? capitalised(r.pick(kLatinWords)) : r.pick(kLatinWords);
        }
        lastThai = thaiWord;
    }
    if (r.chance(15)) line += " " + r.pick(thaiDigits_);
    return line;
}

std::string SongTextMaker::fourthLineText(Random& r) const {
    if (r.chance(300)) return r.pick(thaiWords_);
    return r.pick(kFourthLines);
}

std::string SongTextMaker::recase(const std::string& title, Random& r) {
    std::string out = title;
    const bool toUpper = r.chance(500);
    for (char& ch : out) {
        const auto u = static_cast<unsigned char>(ch);
        if (u < 0x80) ch = static_cast<char>(toUpper ? std::toupper(u) : std::tolower(u));
    }
    return out;
}

}  // namespace dadaz::gen
