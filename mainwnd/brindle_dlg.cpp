#include "mainwnd/brindle_dlg.h"

#include "res/brindle_resources.h"
#include "res/resource.h"

CBrindleDlg::CBrindleDlg() : CDialogEx(IDD_BRINDLE_DIALOG)
{
    LoadBrindleResources();
}
