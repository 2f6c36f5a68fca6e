#pragma once

class QApplication;

namespace dadaz {

// Sets a readable Thai font (from fonts-thai-tlwg) for the whole application.
void useThaiFont(QApplication& app);

}  // namespace dadaz
