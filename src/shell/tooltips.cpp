#include "shell/tooltips.h"

#include <QStringList>

#include "ui/tool_tip.h"

namespace dadaz {

namespace {

QString lines(std::initializer_list<const char*> parts) {
    QStringList list;
    for (const char* part : parts) list << QString::fromUtf8(part);
    return list.join(QLatin1Char('\n'));
}

}  // namespace

QString alwaysOnTopOffTip() {
    return QString::fromUtf8("คลิก 2 ครั้งเพื่อทำงานแบบ Always on top. [F2]");
}

QString alwaysOnTopOnTip() {
    return QString::fromUtf8("คลิก 2 ครั้งเพื่อยกเลิกการทำงานแบบ Always on top. [F2]");
}

const std::vector<std::pair<QString, QString>>& mainWindowHelpTexts() {
    static const std::vector<std::pair<QString, QString>> texts{
        {"txtAddSong", lines({"ที่เก็บแฟ้มที่จะทำการเพิ่มเพลง",
                              "*** ระบบแฟ้มต้องจะประกอบด้วยแฟ้ม *.mid, *.lyr, *.cur อยู่รวมกัน ***"})},
        {"radAutoSelect",
         lines({"ให้โปรแกรมเลือกที่เก็บเพลงให้โดยอัตโนมัติ", "(โปรแกรมจะเลือกโฟลเดอร์ที่มีจำนวนแฟ้มน้อยที่สุดก่อน)"})},
        {"radFromFileSelect",
         lines({"ให้โปรแกรมเลือกที่เก็บเพลงให้", "โดยคงไว้ซึ่งลักษณะเดิม ๆ ของแฟ้มเพลงนั้น ๆ",
                "(แฟ้มเดิมที่มีชื่อเหมือนกันจะถูกทับด้วยแฟ้มที่เพิ่มเข้าไปใหม่)"})},
        {"radManualSelect", lines({"กำหนดที่เก็บเพลง ด้วยตัวของท่านเอง",
                                   "แฟ้มเพลงใหม่ที่เพิ่มเข้าไปจะถูกเปลี่ยนชื่อโดยอัตโนมัติ "
                                   "(เมื่อระบบแฟ้มในโฟลเดอร์นั้นเรียงกันสมบูรณ์)",
                                   "ถ้าระบบแฟ้มในโฟลเดอร์ไม่เรียงกัน อาจทำให้บางแฟ้มถูกแทนที่ได้",
                                   "เนื่องจากการนับจำนวนแฟ้มในโฟลเดอร์ดังกล่าวผิดพลาด "
                                   "ให้ทำการเปลี่ยนชื่อแฟ้มก่อนหรือรหัสเพลงก่อน"})},
        {"txtFirstFileName", lines({"ชื่ออักษรตัวแรกของแฟ้ม", "อ้างอิงตามโฟลเดอร์ที่เก็บ"})},
        {"txtLastFileName", lines({"รูปแบบของแฟ้ม", "อ้างอิงตามจำนวนหลัก (0 แทนหลักของตัวเลข)"})},
        {"txtRenameDigit",
         lines({"จำนวนหลักใหม่ของแฟ้มที่ต้องการเปลี่ยน", "*** VID, Tarn ไม่ควรเกิน 8 หลัก ***"})},
        {"btnStopRename", lines({"ยกเลิกการเปลี่ยนชื่อแฟ้ม", "", "**ข้อควรระวัง**",
                                 "การยกเลิกจะทำให้ระบบแฟ้มของท่านเสียหายได้!"})},
        {"txtCustomPattern",
         lines({"รูปแบบแฟ้มกำหนดเอง", "*** '0' แทนตัวเลขใด ๆ *** เช่น ABC00000 เป็นต้น",
                "คลิก 2 ครั้งเพื่อแสดงตัวเลือกเพิ่มเติม"})},
        {"txtSongSearch",
         lines({"พิมพ์สิ่งที่ท่านต้องการค้นหา แล้วกดปุ่ม Enter", "",
                "แสดงเพลงทั้งหมด  :  กดปุ่ม Enter โดยไม่ต้องป้อนข้อความใด ๆ ในช่องค้นหา",
                "ค้นหาเฉพาะรหัสเพลง  :  พิมพ์เครื่องหมาย  +  นำหน้าสิ่งที่ต้องการค้นหา เช่น  +000001",
                "ค้นหาเฉพาะชื่อเพลง  :  พิมพ์เครื่องหมาย  ++  นำหน้าสิ่งที่ต้องการค้นหา เช่น  "
                "++รักเธอเสมอ",
                "ค้นหาเฉพาะชื่อศิลปิน  :  พิมพ์เครื่องหมาย  +++  นำหน้าสิ่งที่ต้องการค้นหา เช่น  "
                "+++พลพล",
                "ตัวกรองชื่อศิลปิน : พิมพ์ %A แล้วกด Enter"})},
        {"lstSongSearch", lines({"คลิกเลือกเพลงที่ต้องการ", "คลิก 2 เพื่อเปิดเพลงด้วยโปรแกรมที่เกี่ยวข้อง"})},
    };
    return texts;
}

void installHelpTexts(ToolTip& tips, QWidget* form, QWidget* root) {
    tips.create(form);
    tips.setMaxTipWidth(240);
    // Long enough to read the longest text.
    tips.setDelayTime(ToolTip::AutoPop, 20000);
    // The window's controls; the parts Qt makes inside them are named "qt_...".
    for (QWidget* control : root->findChildren<QWidget*>()) {
        const QString name = control->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) tips.addTool(control);
    }
    for (const auto& [name, text] : mainWindowHelpTexts())
        if (QWidget* control = root->findChild<QWidget*>(name)) tips.setToolText(control, text);
}

}  // namespace dadaz
