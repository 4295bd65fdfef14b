#pragma once
#include <windows.h>

#include "app/owned_handle.h"
#include "app/window_object.h"

// The maker's web page: shown as the about box's link and opened from it.
extern const char kMakerPageAddress[];

// The about box (template 114): name, version, icon and the maker's page as
// a link that turns red and underlined under the mouse and opens the page
// when a click on it ends on it. Runs modally inside its construction.
class Dlg_Ver : public WindowObject {
public:
    Dlg_Ver(HINSTANCE instance, int templateId, HWND owner);
    Dlg_Ver(const Dlg_Ver&) = delete;
    Dlg_Ver& operator=(const Dlg_Ver&) = delete;

    BOOL HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                       LRESULT* result) override;
    // 1 (OK, close box) or 2 (Esc).
    INT_PTR Result() const { return result_; }

private:
    void OnInitDialog(HWND dialog);
    bool OnSetCursor(HWND under);
    LRESULT LinkColours(HDC dc) const;
    void SetHover(bool hover);
    // Whether a dialog point lies on the link: edges count unless strict.
    bool OnLink(LPARAM dialogPoint, bool strict) const;
    void OnButtonUp(LPARAM dialogPoint);

    HINSTANCE instance_;
    HWND dialog_ = nullptr;
    INT_PTR result_ = 0;
    HWND link_ = nullptr;
    // Both made once at the start; a repaint only picks one.
    OwnedFont plainFont_;
    OwnedFont underlinedFont_;
    bool hover_ = false;
    bool pressed_ = false;
};
