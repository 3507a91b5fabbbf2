#include "HyperLink_win.h"

#include "LinkColors.h"
#include "support/ComPtr.h"
#include "support/TextCompare.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

namespace {

const wchar_t linkColorsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
constexpr UINT_PTR subclassId = 1;
constexpr UINT_PTR toolId = 1;

std::wstring windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// Image, frame, rectangle and owner-drawn statics draw no text of their own, so there is no label to paint.
bool drawsNoText(LONG_PTR style) {
    LONG_PTR type = style & SS_TYPEMASK;
    return (type >= SS_ICON && type <= SS_WHITEFRAME) || (type >= SS_OWNERDRAW && type <= SS_ENHMETAFILE);
}

// A value the browser settings hold for a colour: a string of at most maxAnchorColorLength characters,
// terminated within its data. Longer values do not fit the buffer and are ignored whole.
bool readColorText(HKEY key, const wchar_t* name, std::wstring& text) {
    wchar_t buffer[maxAnchorColorLength + 1];
    DWORD type = 0;
    DWORD size = sizeof(buffer);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    const wchar_t* begin = buffer;
    const wchar_t* end = begin + size / sizeof(wchar_t);
    const wchar_t* terminator = std::find(begin, end, L'\0');
    if (terminator == end)
        return false;
    text.assign(begin, terminator);
    return true;
}

TOOLINFOW toolInfo(HWND owner, const RECT& rect) {
    TOOLINFOW tool = {};
    tool.cbSize = sizeof(tool);
    tool.hwnd = owner;
    tool.uId = toolId;
    tool.rect = rect;
    return tool;
}

void readColor(HKEY key, const wchar_t* name, COLORREF& colour) {
    std::wstring text;
    uint32_t parsed = 0;
    if (readColorText(key, name, text) && parseAnchorColor(text, parsed))
        colour = parsed;
}

} // namespace

HyperLinkControl::~HyperLinkControl() {
    if (window_)
        RemoveWindowSubclass(window_, subclassProc, subclassId);
}

bool HyperLinkControl::attach(HWND control) {
    if (!control || !SetWindowSubclass(control, subclassProc, subclassId, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = control;
    initialize();
    return true;
}

void HyperLinkControl::initialize() {
    adoptStaticStyle();
    cursor_ = LoadCursorW(nullptr, IDC_HAND);
    if (paintLabel_)
        prepareFonts();
    createTooltip();
    if (label_.empty())
        label_ = windowText(window_);
    computeLinkRect();
    if (target_.empty())
        setTarget(label_);
    else
        registerTool();
    if (paintLabel_)
        readLinkColors();
}

void HyperLinkControl::prepareFonts() {
    if (!normalFont_) {
        LOGFONTW iconTitle = {};
        if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconTitle), &iconTitle, 0)) {
            ownedNormalFont_.reset(CreateFontIndirectW(&iconTitle));
            normalFont_ = ownedNormalFont_.get();
        }
    }
    if (!linkFont_)
        createLinkFont();
}

void HyperLinkControl::createTooltip() {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    tooltip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, window_, nullptr, nullptr, nullptr));
}

void HyperLinkControl::adoptStaticStyle() {
    wchar_t className[8] = L"";
    GetClassNameW(window_, className, 8);
    if (!equalsIgnoringCase(className, L"static"))
        return;
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    // A static ignores the mouse unless it notifies its parent of clicks.
    if (!(style & SS_NOTIFY))
        SetWindowLongPtrW(window_, GWL_STYLE, style | SS_NOTIFY);
    if (drawsNoText(style))
        paintLabel_ = false;
}

void HyperLinkControl::createLinkFont() {
    LOGFONTW font = {};
    HGDIOBJ base = normalFont_ ? static_cast<HGDIOBJ>(normalFont_) : GetStockObject(SYSTEM_FONT);
    if (!GetObjectW(base, sizeof(font), &font))
        return;
    font.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectW(&font));
}

// Read access is all it takes; a profile that refuses write access to the browser settings still gets its colours.
void HyperLinkControl::readLinkColors() {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, linkColorsKey, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return;
    UniqueRegKey key(opened);
    readColor(key.get(), L"Anchor Color", linkColor_);
    readColor(key.get(), L"Anchor Color Visited", visitedColor_);
}

UINT HyperLinkControl::alignment() const {
    LONG_PTR type = GetWindowLongPtrW(window_, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_CENTER)
        return DT_CENTER;
    return type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
}

void HyperLinkControl::computeLinkRect() {
    if (!window_ || shownText().empty())
        return;
    RECT client;
    GetClientRect(window_, &client);
    RECT measured = client;
    HDC dc = GetDC(window_);
    HGDIOBJ oldFont = SelectObject(dc, shownFont());
    DrawTextW(dc, shownText().c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | alignment());
    SelectObject(dc, oldFont);
    ReleaseDC(window_, dc);
    // The measurement starts at the left edge whatever the alignment; the text itself sits where it is drawn.
    int free = client.right - measured.right;
    UINT align = alignment();
    if (align == DT_CENTER)
        OffsetRect(&measured, free / 2, 0);
    else if (align == DT_RIGHT)
        OffsetRect(&measured, free, 0);
    linkRect_ = measured;
    if (tooltip_) {
        TOOLINFOW tool = toolInfo(window_, linkRect_);
        SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void HyperLinkControl::setTarget(const std::wstring& target) {
    target_ = target;
    if (label_.empty())
        computeLinkRect();
    if (tooltip_)
        registerTool();
}

void HyperLinkControl::registerTool() {
    TOOLINFOW tool = toolInfo(window_, linkRect_);
    SendMessageW(tooltip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = const_cast<wchar_t*>(target_.c_str());
    SendMessageW(tooltip_.get(), TTM_ACTIVATE, TRUE, 0);
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool HyperLinkControl::navigate() {
    // The shell may hand the target to handlers that are COM objects, which need the calling thread in an apartment.
    ComApartment apartment;
    auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        return false;
    visited_ = true;
    InvalidateRect(window_, nullptr, TRUE);
    return true;
}

void HyperLinkControl::paint(HDC dc) {
    RECT client;
    GetClientRect(window_, &client);
    auto background = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(window_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)));
    if (background)
        FillRect(dc, &client, background);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF colour = !IsWindowEnabled(window_) ? GetSysColor(COLOR_GRAYTEXT) : visited_ ? visitedColor_ : linkColor_;
    COLORREF oldColour = SetTextColor(dc, colour);
    HGDIOBJ oldFont = SelectObject(dc, shownFont());
    RECT rect = linkRect_;
    DrawTextW(dc, shownText().c_str(), -1, &rect, DT_WORDBREAK | DT_NOPREFIX | alignment());
    if (GetFocus() == window_)
        DrawFocusRect(dc, &linkRect_);
    SelectObject(dc, oldFont);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

void HyperLinkControl::paintMessage(UINT message, HDC given) {
    if (message == WM_PRINTCLIENT) {
        paint(given);
        return;
    }
    PAINTSTRUCT ps;
    paint(BeginPaint(window_, &ps));
    EndPaint(window_, &ps);
}

bool HyperLinkControl::cursorInLink() const {
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(window_, &point);
    return inLink(point);
}

void HyperLinkControl::setFont(HFONT font, bool redraw) {
    normalFont_ = font;
    ownedNormalFont_.reset();
    if (linkFont_)
        createLinkFont();
    computeLinkRect();
    if (!redraw)
        return;
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

LRESULT CALLBACK HyperLinkControl::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, subclassProc, subclassId);
        reinterpret_cast<HyperLinkControl*>(self)->window_ = nullptr;
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return reinterpret_cast<HyperLinkControl*>(self)->handleMessage(message, wParam, lParam);
}

LRESULT HyperLinkControl::handleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tooltip_) {
        MSG relayed = {};
        relayed.hwnd = window_;
        relayed.message = message;
        relayed.wParam = wParam;
        relayed.lParam = lParam;
        SendMessageW(tooltip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_MOUSEMOVE:
        if (inLink(point))
            SetCursor(cursor_);
        break;
    case WM_LBUTTONDOWN:
        if (inLink(point)) {
            SetFocus(window_);
            SetCapture(window_);
        }
        break;
    case WM_LBUTTONUP:
        if (GetCapture() == window_) {
            ReleaseCapture();
            if (inLink(point))
                navigate();
        }
        break;
    }
    return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT HyperLinkControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
        return handleMouse(message, wParam, lParam);
    switch (message) {
    case WM_SETCURSOR:
        if (!cursorInLink())
            break;
        SetCursor(cursor_);
        return TRUE;
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_SPACE) {
            navigate();
            return 0;
        }
        break;
    case WM_GETDLGCODE: {
        // Enter would otherwise go to the dialog's default button and never reach the link as a character.
        auto* keyMessage = reinterpret_cast<const MSG*>(lParam);
        bool enter = keyMessage && keyMessage->message == WM_KEYDOWN && keyMessage->wParam == VK_RETURN;
        return DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (paintLabel_)
            InvalidateRect(window_, nullptr, TRUE);
        break;
    case WM_SIZE:
        computeLinkRect();
        InvalidateRect(window_, nullptr, TRUE);
        break;
    case WM_SETFONT:
        setFont(reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
        return 0;
    case WM_ENABLE:
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(normalFont_);
    case WM_DESTROY:
        tooltip_.reset();
        linkFont_.reset();
        ownedNormalFont_.reset();
        normalFont_ = nullptr;
        break;
    case WM_ERASEBKGND:
        if (paintLabel_)
            return TRUE;
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!paintLabel_)
            break;
        paintMessage(message, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefSubclassProc(window_, message, wParam, lParam);
}
