#pragma once
// Every modal dialog of the framework (file, print, print setup, print
// preview, CDialog) runs through AfxRunModal. By default that is exec();
// tests install a runner that looks at the dialog, fills it in and returns
// QDialog::Accepted or Rejected without blocking.

#include <functional>

class QDialog;

using ModalRunner = std::function<int(QDialog&)>;

// Installs a runner (empty: exec()) and returns the previous one.
ModalRunner SetModalRunner(ModalRunner runner);
int AfxRunModal(QDialog& dialog);
