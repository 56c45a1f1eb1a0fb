#pragma once
// The About box (dialog template IDD_ABOUTBOX): icon, version text, OK.

#include "platform/Dialog.h"

class CAboutDialog : public CDialog {
public:
    CAboutDialog();
};
