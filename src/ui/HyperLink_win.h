#pragma once
// Turns an existing static text control into a web link: underlined in the browser's link colours, a hand
// cursor and a tooltip over the text, keyboard focus, and the shell opens the target when it is clicked.
#include <windows.h>

#include "support/UniqueResource.h"

#include <string>

class HyperLinkControl {
public:
    HyperLinkControl() = default;
    ~HyperLinkControl();
    HyperLinkControl(const HyperLinkControl&) = delete;
    HyperLinkControl& operator=(const HyperLinkControl&) = delete;

    // The font the label is drawn in (underlined); not owned. Set before attach, or the icon-title font is used.
    void setNormalFont(HFONT font) { normalFont_ = font; }
    // Takes over the control's window procedure; the object must outlive the window.
    bool attach(HWND control);
    // What is opened; without a label of its own the target is also the text drawn.
    void setTarget(const std::wstring& target);
    // Opens the target with the shell; true when the shell took it.
    bool navigate();

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void initialize();
    void prepareFonts();
    void createTooltip();
    void adoptStaticStyle();
    void createLinkFont();
    void readLinkColors();
    void computeLinkRect();
    void registerTool();
    void paint(HDC dc);
    // WM_PAINT, or WM_PRINTCLIENT with the device context it gives.
    void paintMessage(UINT message, HDC given);
    bool cursorInLink() const;
    void setFont(HFONT font, bool redraw);
    const std::wstring& shownText() const { return label_.empty() ? target_ : label_; }
    // The device context's own font when the control has none at all.
    HGDIOBJ shownFont() const {
        if (linkFont_)
            return linkFont_.get();
        return normalFont_ ? static_cast<HGDIOBJ>(normalFont_) : GetStockObject(SYSTEM_FONT);
    }
    UINT alignment() const;
    bool inLink(POINT point) const { return PtInRect(&linkRect_, point) != FALSE; }

    HWND window_ = nullptr;
    std::wstring label_;
    std::wstring target_;
    HCURSOR cursor_ = nullptr;
    HFONT normalFont_ = nullptr;
    UniqueFont ownedNormalFont_; // holds normalFont_ when the control made it
    UniqueFont linkFont_;
    RECT linkRect_ = {};
    UniqueWindow tooltip_;
    COLORREF linkColor_ = RGB(0, 0, 255);
    COLORREF visitedColor_ = RGB(128, 0, 128);
    bool paintLabel_ = true;
    bool visited_ = false;
};
