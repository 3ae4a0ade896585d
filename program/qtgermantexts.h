#pragma once

class QCoreApplication;

// Qt's own texts (message-box buttons, the line edits' context menu) in
// German, from Qt's translations. Our own texts are German already and
// stay as they are. False when Qt's German translations are not installed.
bool LoadQtGermanTexts(QCoreApplication &app);
