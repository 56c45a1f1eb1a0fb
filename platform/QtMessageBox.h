#pragma once

// Makes AfxMessageBox show modal Qt message boxes (needs a QApplication).
void InstallQtMessageBoxes();
