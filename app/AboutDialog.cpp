#include "app/AboutDialog.h"

#include "app/res/Resource.h"

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX)
{
}
