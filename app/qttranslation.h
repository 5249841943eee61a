#pragma once
// Qt ships no Romanian for its own texts (the buttons of message boxes, the file, folder and
// print dialogs); the program carries its own and installs it before any window is made.

class QCoreApplication;

namespace QtTranslation {

// Installs the Romanian texts of Qt's dialogs into the application; false when they could
// not be loaded (the dialogs then speak English).
bool install(QCoreApplication &app);

} // namespace QtTranslation
