// The About box: its procedure, set-up, colours, links and closing. The
// product name, version text and maker lines come from res/ProductInfo.h,
// which CMake writes from CMakeLists.txt.
#include "settings/AboutBox.h"

#include "core/AppInstance.h"
#include "core/FailureReport.h"
#include "res/ProductInfo.h"
#include "res/resource.h"

#include <shellapi.h>

AboutBox* AboutBox::active = nullptr;

namespace {

const int kToolTipAutoPopMs = 5000;
const int kTitlePoints = 17;
const int kVersionPoints = 13;
const wchar_t kFontFace[] = L"ＭＳ Ｐゴシック";

const COLORREF kSummaryGreen = RGB(0, 128, 0);
const COLORREF kMakerBlue = RGB(0, 0, 255);

// The background of every static of the box, whatever it draws.
HBRUSH OnCtlColorStatic(HDC dc, HWND control)
{
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, AboutTextColor(GetDlgCtrlID(control)));
    return GetSysColorBrush(COLOR_BTNFACE);
}

// A handle the box made at initialisation; one that was never made (null)
// is left alone.
void DeleteFont(HFONT font)
{
    if (!font)
        return;
    BOOL deleted = DeleteObject(font);
    ReportApiFailure(deleted, "DeleteObject");
}

void DestroyLoadedIcon(HICON icon)
{
    if (!icon)
        return;
    BOOL destroyed = DestroyIcon(icon);
    ReportApiFailure(destroyed, "DestroyIcon");
}

} // namespace

const wchar_t* AboutLinkTarget(int controlId, int notification)
{
    if (notification != STN_DBLCLK)
        return nullptr;
    switch (controlId) {
    case IDC_ABOUT_MAIL:
        return L"Mailto:" TWK_MAKER_MAIL;
    case IDC_ABOUT_HOME_PAGE:
        return L"" TWK_HOME_PAGE;
    }
    return nullptr;
}

COLORREF AboutTextColor(int controlId)
{
    switch (controlId) {
    case IDC_ABOUT_SUMMARY:
        return kSummaryGreen;
    case IDC_ABOUT_MAKER:
    case IDC_ABOUT_MAIL:
    case IDC_ABOUT_HOME_PAGE:
        return kMakerBlue;
    }
    return GetSysColor(COLOR_WINDOWTEXT);
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    AboutBox* self = AboutBox::active;
    if (!self)
        return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        self->OnInitDialog(dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_COMMAND:
        return self->OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE:
        self->Close();
        return 0;
    case WM_DESTROY:
        self->OnDestroy();
        return 0;
    }
    return FALSE;
}

AboutBox::AboutBox(HWND owner, int iconId, const WideString& version, const WideString& summary)
    : owner(owner), iconId(iconId), version(version), summary(summary), smallIcon(nullptr),
      largeIcon(nullptr), titleFont(nullptr), versionFont(nullptr)
{
}

void AboutBox::Show(HWND owner, int iconId, const WideString& version, const WideString& summary)
{
    AboutBox box(owner, iconId, version, summary);
    AboutBox* outer = active;
    active = &box;
    DialogBoxParamW(AppInstance(), MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutBoxProc, 0);
    active = outer;
}

void AboutBox::OnInitDialog(HWND dialog)
{
    window = dialog;
    smallIcon = SetSmallIcon(iconId);
    largeIcon = static_cast<HICON>(LoadImageW(AppInstance(), MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                              LR_DEFAULTCOLOR));
    SendDlgItemMessageW(window, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(largeIcon), 0);

    titleFont = CreateDialogFont(IDC_ABOUT_TITLE, kTitlePoints, WideString(kFontFace), false);
    versionFont = CreateDialogFont(IDC_ABOUT_VERSION, kVersionPoints, WideString(kFontFace), false);

    SetWindowTextW(window, L"" TWK_PRODUCT_NAME L" のバージョン情報");
    SetDlgItemTextW(window, IDC_ABOUT_TITLE, L"" TWK_PRODUCT_NAME);
    SetDlgItemTextW(window, IDC_ABOUT_VERSION, version.CStr());
    SetDlgItemTextW(window, IDC_ABOUT_SUMMARY, summary.CStr());

    AddToolTip(IDC_ABOUT_MAKER, WideString(L"私の詳細は秘密です"), kToolTipAutoPopMs);
    AddToolTip(IDC_ABOUT_MAIL, WideString(L"ダブルクリックすると作者にメールが送れます"), kToolTipAutoPopMs);
    AddToolTip(IDC_ABOUT_HOME_PAGE, WideString(L"ダブルクリックするとホームページに飛びます"),
               kToolTipAutoPopMs);
}

INT_PTR AboutBox::OnCommand(int id, int notification)
{
    switch (id) {
    case IDC_ABOUT_MAIL:
    case IDC_ABOUT_HOME_PAGE: {
        const wchar_t* target = AboutLinkTarget(id, notification);
        if (!target)
            return TRUE;
        // No mail program or browser: the shell fails and the box says nothing.
        ShellExecuteW(window, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
        return 0;
    }
    case IDC_ABOUT_OK:
        Close();
        return 0;
    }
    // Escape's IDCANCEL among them: the box stays open.
    return TRUE;
}

void AboutBox::OnDestroy()
{
    DeleteFont(titleFont);
    DeleteFont(versionFont);
    DestroyLoadedIcon(smallIcon);
    DestroyLoadedIcon(largeIcon);
    titleFont = versionFont = nullptr;
    smallIcon = largeIcon = nullptr;
}

void AboutBox::Close()
{
    BOOL ended = EndDialog(window, 1);
    ReportApiFailure(ended, "EndDialog");
}
