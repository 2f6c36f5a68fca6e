#include "shell/thai_font.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace dadaz {

void useThaiFont(QApplication& app) {
    // Loma is the Tlwg face drawn for screens; the others are fallbacks from the same package.
    const QStringList families = QFontDatabase::families(QFontDatabase::Thai);
    for (const char* name : {"Loma", "Garuda", "Tlwg Typo", "Waree"}) {
        if (families.contains(QString::fromLatin1(name))) {
            QFont font(QString::fromLatin1(name));
            font.setPointSize(10);
            app.setFont(font);
            return;
        }
    }
}

}  // namespace dadaz
